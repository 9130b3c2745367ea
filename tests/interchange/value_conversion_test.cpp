// The four value conversions of import and the edit text of export.
#include "interchange/value_conversion.h"

#include <gtest/gtest.h>

#include <QDate>

#include "collection/stamp_table_defs.h"
#include "engine/table.h"
#include "interchange_test_support.h"

namespace interchange::testing {
namespace {

TEST(ValueConversion, IntegersReadTheLeadingNumber) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"12", 12},
        {"12 pieces", 12},
        {"", 0},
        {"  -40", -40},
        {"+7", 7},
        {"-12 pieces", -12},  // the sign is kept
        {"pieces", 0},
        {"$1F", 31},
        {"$", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"99999999999", 999999999},  // stops at the digit that would not fit
        {"1.5e3", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(importInteger(c.text), c.value) << c.text;
}

TEST(ValueConversion, FloatsReadTheLeadingDecimal) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"12.5", 12.5}, {"", 0.0},       {" -0.25", -0.25},   {"+3", 3.0},
                          {".5", 0.5},    {"1e3", 1000.0}, {"12.50 USD", 12.5}, {"USD 12", 0.0},
                          {"inf", 0.0},   {"nan", 0.0},    {"1e999", 0.0}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(importFloat(c.text), c.value) << c.text;
}

TEST(ValueConversion, DatesNeedTheSeparatorAndNoLetters) {
    collection::DateFormat mdy{7, false};  // m/d/yyyy
    EXPECT_EQ(importDate("3/7/1997", mdy, 2024), (engine::Date{1997, 3, 7}));
    EXPECT_EQ(importDate("03/07/97", mdy, 2024), (engine::Date{1997, 3, 7}));
    EXPECT_EQ(importDate("03071997", mdy, 2024), std::nullopt);    // no separator
    EXPECT_EQ(importDate("Mar/7/1997", mdy, 2024), std::nullopt);  // month spelled out
    EXPECT_EQ(importDate("7 March 1997", mdy, 2024), std::nullopt);
    EXPECT_EQ(importDate("2/30/1997", mdy, 2024), std::nullopt);  // right shape, no date
    EXPECT_EQ(importDate("1997-03-07", mdy, 2024), std::nullopt);
    collection::DateFormat dmy{12, true};  // dd.mm.yyyy
    EXPECT_EQ(importDate("07.03.1997", dmy, 2024), (engine::Date{1997, 3, 7}));
    EXPECT_EQ(importDate("3/7/1997", dmy, 2024), std::nullopt);
    const collection::DateFormat iso{collection::kIsoDateType, true};  // yyyy-mm-dd
    EXPECT_EQ(importDate("1897-03-07", iso, 2024), (engine::Date{1897, 3, 7}));
    EXPECT_EQ(importDate("97-3-7", iso, 2024), (engine::Date{1997, 3, 7}));
    EXPECT_EQ(importDate("07-03-1997", iso, 2024), std::nullopt);
}

// Dates of digits and separators are read without the general parser: both readings agree.
TEST(ValueConversion, DatesReadAsTheDateFormatReadsThem) {
    const char* const texts[] = {"3/7/1997",   "03/07/97",  "29/2/2024", "2/29/2023",  "31/4/10",
                                 "0/1/2000",   "1/1/0",     "1/1/0000",  "1/1/123",    "12/31/9999",
                                 "1//2000",    "1/2/",      "1/2/3/4",   "001/2/2000", "1/2/20000",
                                 " 1/2/2000",  "1-2-2000",  "7.3.97",    "07.03.1997", "13/13/13",
                                 "1997-03-07", "2024-2-29", "2023-2-29", "97-1-1",     "1997-13-1"};
    for (int type = 1; type <= collection::kDateFormatTypeCount; ++type) {
        const collection::DateFormat format{type, false};
        for (const char* text : texts) {
            const std::optional<QDate> q = format.parse(QString::fromLatin1(text), 2024);
            const std::optional<engine::Date> expected =
                q ? std::optional<engine::Date>({q->year(), q->month(), q->day()}) : std::nullopt;
            EXPECT_EQ(importDate(text, format, 2024), expected) << text << " type " << type;
        }
    }
}

TEST(ValueConversion, DateTextMatchesTheDisplayFormat) {
    for (int type = 1; type <= collection::kDateFormatTypeCount; ++type) {
        for (bool zeros : {false, true}) {
            const collection::DateFormat format{type, zeros};
            for (const engine::Date d : {engine::Date{1997, 3, 7}, engine::Date{2024, 12, 25},
                                         engine::Date{1840, 5, 1}, engine::Date{905, 10, 9}}) {
                std::string text;
                appendDateText(text, d, format);
                EXPECT_EQ(text, format.format(QDate(d.year, d.month, d.day)).toStdString())
                    << type << zeros;
            }
        }
    }
}

TEST(ValueConversion, EditTextOfEachFieldKind) {
    Scratch scratch;
    const std::string path = scratch.file("EDIT.DBF");
    engine::Table::create(path, collection::stampTableFieldDefs());
    engine::Table t;
    t.open(path, engine::OpenMode::Exclusive);
    t.append();
    t.setText(t.requireField("Catalog"), "  A-1");
    t.setNumber(t.requireField("MarketValu"), 12.5);
    t.setNumber(t.requireField("Cost"), -0.25);
    t.setInteger(t.requireField("Year"), 1997);
    t.setDate(t.requireField("Date"), engine::Date{1997, 3, 7});
    t.post();
    t.append();
    t.setNumber(t.requireField("MarketValu"), 3);
    t.post();
    const collection::DateFormat format{4, true};
    auto text = [&](const char* field) {
        std::string out;
        const int f = t.requireField(field);
        editTextInto(t.current(), f, t.fields()[std::size_t(f)], format, out);
        return out;
    };
    t.first();
    EXPECT_EQ(text("Catalog"), "  A-1");
    EXPECT_EQ(text("MarketValu"), "12.5");
    EXPECT_EQ(text("Cost"), "-0.25");
    EXPECT_EQ(text("Year"), "1997");
    EXPECT_EQ(text("Date"), "07/03/97");
    t.next();
    EXPECT_EQ(text("MarketValu"), "3");
    EXPECT_EQ(text("Cost"), "");  // blank number
    EXPECT_EQ(text("Date"), "");
    EXPECT_EQ(text("Quantity"), "");
}

}  // namespace
}  // namespace interchange::testing
