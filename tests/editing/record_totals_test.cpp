// Running totals, reformatting a left amount or quantity, lenient conversions and the printed
// lines of a record.
#include "editing/record_totals.h"

#include <gtest/gtest.h>

#include "editing/record_print_lines.h"

namespace editing {
namespace {

TEST(Totals, QuantityTimesAmountsInMoneyFormatWithATrailingSpace) {
    const EditorNumbers us;
    const Totals t =
        CalcTotals(QStringLiteral("3"), QStringLiteral("1234.5"), QStringLiteral("0"), us);
    EXPECT_EQ(t.purchasePrice, QStringLiteral("3,703.50 "));
    EXPECT_EQ(t.marketValue, QStringLiteral("0.00 "));
}

TEST(Totals, TextThatDoesNotConvertCountsItsLeadingNumber) {
    const EditorNumbers us;
    struct Case {
        const char* quantity;
        const char* price;
        const char* total;
    } cases[] = {
        {"", "5", "0.00 "},
        {"2", "", "0.00 "},
        {"2a", "1.5x", "3.00 "},
        {"abc", "7", "0.00 "},
        {"1,000", "1,000", "1,000,000.00 "},
        {"2.9", "1", "2.00 "},  // the quantity counts as a whole number
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            CalcTotals(QString::fromLatin1(c.quantity), QString::fromLatin1(c.price), QString(), us)
                .purchasePrice,
            QString::fromLatin1(c.total))
            << c.quantity << " x " << c.price;
}

TEST(Totals, LeavingReformatsNonEmptyTextOnly) {
    const EditorNumbers us;
    EXPECT_EQ(reformatAmount(QStringLiteral("1234.5"), us), QStringLiteral("1,234.50"));
    EXPECT_EQ(reformatAmount(QStringLiteral("12abc"), us), QStringLiteral("12.00"));
    EXPECT_EQ(reformatAmount(QStringLiteral("   "), us), std::nullopt);
    EXPECT_EQ(reformatAmount(QString(), us), std::nullopt);
    EXPECT_EQ(reformatQuantity(QStringLiteral("1234"), us), QStringLiteral("1,234"));
    EXPECT_EQ(reformatQuantity(QStringLiteral("2.6"), us), QStringLiteral("3"));
}

TEST(Totals, RegionalQuantityReadsBackAsShown) {
    EditorNumbers n;
    n.numericFormat = 2;  // the quantity is shown with the regional thousands character
    n.regional.decimal = u',';
    n.regional.thousands = u'.';
    EXPECT_EQ(reformatQuantity(QStringLiteral("1.234"), n), QStringLiteral("1.234"));
    EXPECT_EQ(CalcTotals(QStringLiteral("1.234"), QStringLiteral("1"), QString(), n).purchasePrice,
              QStringLiteral("1,234.00 "));
}

TEST(Numbers, StrictAndLenientConversions) {
    EXPECT_EQ(convertInteger(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(convertInteger(QStringLiteral("2147483648")), std::nullopt);
    EXPECT_EQ(convertInteger(QStringLiteral("1 2")), std::nullopt);
    EXPECT_EQ(convertAmount(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(convertAmount(QStringLiteral("nan")), std::nullopt);
    EXPECT_EQ(leadingAmount(QStringLiteral("-3.5kg")), -3.5);
    EXPECT_EQ(leadingAmount(QStringLiteral("inf")), 0.0);
    EXPECT_EQ(leadingInteger(QStringLiteral("42.9")), 42);
    EXPECT_EQ(leadingInteger(QStringLiteral("é")), 0);
}

TEST(PrintLines, LabelCutWithItsColonThenTheTextAndWantedLast) {
    std::array<QString, collection::kFieldCount> labels;
    for (int f = 1; f <= collection::kFieldCount; ++f)
        labels[f - 1] = QStringLiteral("Field %1").arg(f);
    labels[kDescription - 1] = QStringLiteral("A very long label of 20");
    RecordTexts shown;
    shown[kAlphaCatalog] = QStringLiteral("A-1");
    shown[kPurchDate] = QStringLiteral("  /  /    ");
    shown.wanted = true;
    const QStringList lines = recordPrintLines(labels, shown);
    ASSERT_EQ(lines.size(), 25);
    EXPECT_EQ(lines[0], QStringLiteral("Field 1: A-1"));
    EXPECT_EQ(lines[1], QStringLiteral("A very long label of 2"));
    EXPECT_EQ(lines[13], QStringLiteral("Field 14:   /  /    "));
    EXPECT_EQ(lines[24], QStringLiteral("Field 25: Yes"));
}

}  // namespace
}  // namespace editing
