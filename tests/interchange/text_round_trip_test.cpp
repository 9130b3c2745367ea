// A round trip through our own text export and import keeps every value: dates keep their
// century whatever the display format, unknown numbers stay blank, large values stay whole.
#include <gtest/gtest.h>

#include "engine/table.h"
#include "interchange/export_run.h"
#include "interchange/import_run.h"
#include "interchange/value_conversion.h"
#include "interchange_test_support.h"

namespace interchange::testing {
namespace {

// Catalog, Market Value, Quantity, Year, Date, Cost, Numeric Catalog
const std::vector<int> kFields = {1, 5, 6, 7, 14, 15, 21};

class TextRoundTripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(from_);
        makeCollection(to_);
    }
    void add(engine::Table& t, const std::vector<std::string>& values) {
        t.append();
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int f = kFields[i] - 1;
            if (values[i].empty()) continue;
            if (kFields[i] == 14)
                t.setDate(f, *importDate(values[i], {7, false}, 2026));
            else
                t.setText(f, values[i]);
        }
        t.post();
    }
    Scratch scratch_;
    std::string from_ = scratch_.file("FROM.DBF");
    std::string to_ = scratch_.file("TO.DBF");
};

TEST_F(TextRoundTripTest, DatesKeepTheirCenturyAndBlankNumbersStayBlank) {
    engine::Table source;
    source.open(from_, engine::OpenMode::Shared);
    add(source, {"A1", "12500.75", "25000", "1898", "6/1/1898", "99999.99", "10000"});
    add(source, {"A2", "", "", "", "5/17/1930", "", ""});
    add(source, {"A3", "0", "0", "2001", "12/31/2001", "0.5", "0"});
    add(source, {"A4", "1234567.89", "1", "1949", "2/29/1948", "", "123456789"});
    const std::vector<std::string> before = rows(source);

    for (int type = 1; type <= 12; ++type) {
        const collection::DateFormat format{type, type % 2 == 0};
        ExportRequest request;
        request.fields = kFields;
        request.dateFormat = format;
        const std::string text = scratch_.file("out" + std::to_string(type) + ".txt");
        ASSERT_EQ(exportText(source, text, request).error, "");
        // The year is written whole even where the display shows two digits.
        EXPECT_NE(readBytes(text).find("1898"), std::string::npos) << type;

        const std::string into = scratch_.file("TO" + std::to_string(type) + ".DBF");
        makeCollection(into);
        engine::Table target;
        target.open(into, engine::OpenMode::Shared);
        ImportOptions options;
        options.dateFormat = format;
        options.currentYear = 2026;
        const ImportResult r = importText(target, text, int(kFields.size()), false, kFields,
                                          options);
        EXPECT_EQ(r.error, "");
        EXPECT_EQ(r.added, 4u);
        EXPECT_EQ(rows(target), before) << "date format " << type;
    }
}

TEST_F(TextRoundTripTest, ImportStillReadsTwoDigitYearsOfOlderFiles) {
    engine::Table target;
    target.open(to_, engine::OpenMode::Shared);
    ImportOptions options;
    options.dateFormat = {1, false};
    options.currentYear = 2026;
    const std::string src = scratch_.write("old.txt", "\"B1\",\"6/1/98\"\r\n\"B2\",\"6/1/1898\"\r\n");
    ASSERT_EQ(importText(target, src, 2, false, {1, 14}, options).added, 2u);
    target.first();
    EXPECT_EQ(target.text(target.requireField("Date")), "19980601");
    target.next();
    EXPECT_EQ(target.text(target.requireField("Date")), "18980601");
}

TEST_F(TextRoundTripTest, NumbersWithThousandsSeparatorsReadWhole) {
    EXPECT_EQ(importFloat("1,234.50"), 1234.5);
    EXPECT_EQ(importFloat("14,049,868.99"), 14049868.99);
    EXPECT_EQ(importInteger("25,000"), 25000);
    EXPECT_EQ(importInteger("-1,000 pcs"), -1000);
    // Commas that are no thousands separators still end the number.
    EXPECT_EQ(importFloat("1,5"), 1.0);
    EXPECT_EQ(importInteger("12,34"), 12);
    EXPECT_EQ(importInteger("1234,567"), 1234);
    EXPECT_TRUE(isBlankNumber("   "));
    EXPECT_FALSE(isBlankNumber(" 0"));
}

}  // namespace
}  // namespace interchange::testing
