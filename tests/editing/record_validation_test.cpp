// The update's six checks: order, messages, failing field, converted values.
#include "editing/record_validation.h"

#include <gtest/gtest.h>

namespace editing {
namespace {

EditorNumbers usNumbers() {
    return EditorNumbers{};
}

EditorNumbers commaDecimalNumbers() {
    EditorNumbers n;
    n.numericFormat = 2;
    n.currencyFormat = 2;
    n.regional.decimal = u',';
    n.regional.thousands = u'.';
    return n;
}

RecordTexts validTexts() {
    RecordTexts t = clearedRecordTexts();
    t[kPurchDate] = QStringLiteral("  /  /    ");
    return t;
}

ValidationResult check(const RecordTexts& t, const EditorNumbers& n = usNumbers(),
                       collection::DateFormat format = {7, true}) {
    return validateRecord(t, n, format, 2024);
}

struct FailureCase {
    const char* name;
    int field;
    const char* text;
    const char* message;
};

class ValidationFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ValidationFailures, NamesTheFieldAndMessage) {
    const FailureCase& c = GetParam();
    RecordTexts t = validTexts();
    t[c.field] = QString::fromUtf8(c.text);
    const ValidationResult r = check(t);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.failure->field, c.field);
    EXPECT_EQ(r.failure->message, QString::fromUtf8(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Each, ValidationFailures,
    ::testing::Values(FailureCase{"ImpossibleDate", kPurchDate, "13/45/1999",
                                  "Invalid acquired date specified.  Please correct."},
                      FailureCase{"HalfDate", kPurchDate, "12/  /    ",
                                  "Invalid acquired date specified.  Please correct."},
                      FailureCase{"PriceWithLetters", kPurchPrice, "12x",
                                  "Invalid purchase price specified.  Please correct."},
                      FailureCase{"PriceTooLargeForTheField", kPurchPrice, "1e20",
                                  "Invalid purchase price specified.  Please correct."},
                      FailureCase{"PriceInfinite", kPurchPrice, "inf",
                                  "Invalid purchase price specified.  Please correct."},
                      FailureCase{"MarketValue", kMarketValue, "1.2.3",
                                  "Invalid market value specified.  Please correct."},
                      FailureCase{"QuantityFraction", kQuantity, "2.5",
                                  "Invalid quantity specified.  Please correct."},
                      FailureCase{"YearWithLetter", kYear, "19a5",
                                  "Invalid year specified.  Please correct."},
                      FailureCase{"CatalogBeyond32Bits", kNumericCatalog, "99999999999",
                                  "Invalid numeric catalog specified.  Please correct."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Validation, StopsAtTheFirstFailureInTheFixedOrder) {
    RecordTexts t = validTexts();
    t[kNumericCatalog] = QStringLiteral("x");
    t[kYear] = QStringLiteral("x");
    t[kQuantity] = QStringLiteral("x");
    t[kMarketValue] = QStringLiteral("x");
    t[kPurchPrice] = QStringLiteral("x");
    t[kPurchDate] = QStringLiteral("99/99/9999");
    const int expected[] = {kPurchDate, kPurchPrice, kMarketValue,
                            kQuantity,  kYear,       kNumericCatalog};
    for (int field : expected) {
        const ValidationResult r = check(t);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.failure->field, field);
        t[field] = QString();
    }
    EXPECT_TRUE(check(t).ok());
}

TEST(Validation, EmptyAndBlankTextsCountZeroAndBlankDate) {
    RecordTexts t;
    t[kYear] = QStringLiteral("    ");
    for (const char* blank : {"  /  /    ", "  -  -    ", "  .  .    ", ""}) {
        t[kPurchDate] = QString::fromLatin1(blank);
        const ValidationResult r = check(t);
        ASSERT_TRUE(r.ok()) << blank;
        EXPECT_FALSE(r.record.date.has_value());
        EXPECT_EQ(r.record.year, 0);
        EXPECT_EQ(r.record.quantity, 0);
        EXPECT_EQ(r.record.purchasePrice, 0.0);
    }
}

TEST(Validation, ConvertsTheValuesInMachineForm) {
    RecordTexts t = validTexts();
    t[kPurchDate] = QStringLiteral(" 7/ 3/97  ");
    t[kPurchPrice] = QStringLiteral(" 1,234.50 ");
    t[kMarketValue] = QStringLiteral("-0.25");
    t[kQuantity] = QStringLiteral("1,200");
    t[kYear] = QStringLiteral("+1995");
    t[kNumericCatalog] = QStringLiteral("-42");
    const ValidationResult r = check(t, usNumbers(), {1, false});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(*r.record.date, QDate(1997, 7, 3));
    EXPECT_DOUBLE_EQ(r.record.purchasePrice, 1234.5);
    EXPECT_DOUBLE_EQ(r.record.marketValue, -0.25);
    EXPECT_EQ(r.record.quantity, 1200);
    EXPECT_EQ(r.record.year, 1995);
    EXPECT_EQ(r.record.numericCatalog, -42);
}

TEST(Validation, RegionalSymbolsFollowTheirFormatSettings) {
    RecordTexts t = validTexts();
    t[kPurchPrice] = QStringLiteral("1.234,5");
    t[kQuantity] = QStringLiteral("1.234");
    const ValidationResult r = check(t, commaDecimalNumbers());
    ASSERT_TRUE(r.ok());
    EXPECT_DOUBLE_EQ(r.record.purchasePrice, 1234.5);
    EXPECT_EQ(r.record.quantity, 1234);
    // Under the U.S. settings the same price is not a number.
    EXPECT_FALSE(check(t).ok());
}

}  // namespace
}  // namespace editing
