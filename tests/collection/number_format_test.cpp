#include "collection/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace collection {
namespace {

const NumberSymbols kUs{};
const NumberSymbols kEuropean{u',', u'.'};

RegionalSettings europeanRegion(int currencyDigits) {
    RegionalSettings r;
    r.decimal = u',';
    r.thousands = u'.';
    r.currencyDigits = currencyDigits;
    return r;
}

TEST(NumberFormatTest, GroupedNumbers) {
    struct Row {
        double value;
        int width, decimals;
        NumberSymbols symbols;
        const char* expected;
    };
    const Row rows[] = {
        {1234567.5, 1, 2, kUs, "1,234,567.50"},
        {-123, 1, 0, kUs, "-123"},
        {-123456, 1, 0, kUs, "-123,456"},
        {123456, 1, 0, kUs, "123,456"},
        {1234, 1, 0, kUs, "1,234"},
        {999.995, 1, 2, kUs, "1,000.00"},
        {2.675, 1, 2, kUs, "2.68"},
        {0.5, 1, 0, kUs, "1"},
        {-0.5, 1, 0, kUs, "-1"},
        {-0.001, 1, 2, kUs, "0.00"},
        {0, 1, 2, kUs, "0.00"},
        {0.05, 1, 1, kUs, "0.1"},
        {0.000123, 1, 2, kUs, "0.00"},
        {1e20, 1, 0, kUs, "100,000,000,000,000,000,000"},
        {1234.5, 1, 2, kEuropean, "1.234,50"},
        {-123.5, 1, 2, kEuropean, "-123,50"},
        {-1234.5, 1, 2, kEuropean, "-1.234,50"},
        {1234.5, 12, 2, kUs, "    1,234.50"},
        {1234567.5, 5, 2, kUs, "1,234,567.50"},  // never cut
        {std::numeric_limits<double>::infinity(), 5, 2, kUs, "  INF"},
        {std::nan(""), 1, 2, kUs, "NAN"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(formatGroupedNumber(r.value, r.width, r.decimals, r.symbols),
                  QLatin1String(r.expected))
            << r.expected;
}

TEST(NumberFormatTest, PlainNumbers) {
    EXPECT_EQ(formatPlainNumber(1997, 1, 0, kUs), QStringLiteral("1997"));
    EXPECT_EQ(formatPlainNumber(1234.5, 10, 2, kUs), QStringLiteral("   1234.50"));
    EXPECT_EQ(formatPlainNumber(-1234.5, 1, 2, kEuropean), QStringLiteral("-1234,50"));
    EXPECT_EQ(fixedNotation(12.3456, 3), QStringLiteral("12.346"));
}

TEST(NumberFormatTest, MoneyFollowsTheCurrencySetting) {
    const RegionalSettings noCents = europeanRegion(0);
    EXPECT_EQ(formatMoney(1234.5, 1, 1, noCents), QStringLiteral("1,234.50"));
    EXPECT_EQ(formatMoney(1234.5, 1, kRegionalFormat, noCents), QStringLiteral("1.235"));
    EXPECT_EQ(formatMoney(1234.5, 1, kRegionalFormat, europeanRegion(2)),
              QStringLiteral("1.234,50"));

    const NumberFormats formats(/*numeric*/ 1, /*currency*/ kRegionalFormat, europeanRegion(2));
    EXPECT_EQ(formats.grouped(1234.5, 1, 1), QStringLiteral("1,234.5"));
    EXPECT_EQ(formats.plain(2.5, 4, 1), QStringLiteral(" 2.5"));
    EXPECT_EQ(formats.money(-1234.5, 10), QStringLiteral(" -1.234,50"));
}

TEST(NumberFormatTest, TypedAmountsInMachineForm) {
    const RegionalSettings europe = europeanRegion(2);
    EXPECT_EQ(machineNumberText(QStringLiteral(" 1,234.50 "), 1, europe),
              QStringLiteral("1234.50"));
    EXPECT_EQ(machineNumberText(QStringLiteral("1.234.567,5"), kRegionalFormat, europe),
              QStringLiteral("1234567.5"));
    EXPECT_EQ(machineNumberText(QStringLiteral("1,5,0"), kRegionalFormat, europe),
              QStringLiteral("1.5,0"));
}

TEST(NumberFormatTest, StoredWholeNumbersReadAsTheirFormattedValues) {
    const NumberFormats us(1, 1);
    const NumberFormats european(kRegionalFormat, 1, europeanRegion(2));
    std::string out;
    for (const char* stored : {"1850", "  1850", "-12 ", "0", "-0", "-000", "0012", "1234567",
                               "-1000", "999999999999999", "100"}) {
        for (const NumberFormats* f : {&us, &european}) {
            const double value = std::strtod(stored, nullptr);
            ASSERT_TRUE(f->wholeNumberText(stored, false, out)) << stored;
            EXPECT_EQ(QString::fromStdString(out), f->plain(value, 0, 0)) << stored;
            ASSERT_TRUE(f->wholeNumberText(stored, true, out)) << stored;
            EXPECT_EQ(QString::fromStdString(out), f->grouped(value, 0, 0)) << stored;
        }
    }
    // Anything else is left to the formatters.
    for (const char* other : {"", "   ", "12.5", "+3", "1 2", "1e3", "-", "1234567890123456"})
        EXPECT_FALSE(us.wholeNumberText(other, false, out)) << other;
    RegionalSettings wide = europeanRegion(2);
    wide.thousands = QChar(0x202f);
    EXPECT_FALSE(NumberFormats(kRegionalFormat, 1, wide).wholeNumberText("1000", true, out));
    EXPECT_TRUE(NumberFormats(kRegionalFormat, 1, wide).wholeNumberText("1000", false, out));
}

TEST(RegionalSettingsTest, ValuesFromTheLocale) {
    EXPECT_EQ(regionalSettingsOf(QLocale::c()), RegionalSettings{});

    const RegionalSettings de = regionalSettingsOf(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.decimal, QChar(u','));
    EXPECT_EQ(de.thousands, QChar(u'.'));
    EXPECT_EQ(de.currencySymbol, QString::fromUtf8("€"));
    EXPECT_EQ(de.country, QStringLiteral("Germany"));
    EXPECT_EQ(de.currencyPlacement, 3);
    EXPECT_EQ(de.currencyDigits, 2);

    const RegionalSettings us =
        regionalSettingsOf(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us, RegionalSettings{});

    EXPECT_EQ(regionalSettingsOf(QLocale(QLocale::Japanese, QLocale::Japan)).currencyDigits, 0);
}

TEST(RegionalSettingsTest, CurrentValuesCanBeInjected) {
    const RegionalSettings before = currentRegionalSettings();
    setCurrentRegionalSettings(europeanRegion(0));
    EXPECT_EQ(NumberFormats(kRegionalFormat, kRegionalFormat).money(1234.5, 1),
              QStringLiteral("1.235"));
    setCurrentRegionalSettings(before);
}

}  // namespace
}  // namespace collection
