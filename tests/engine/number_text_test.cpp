#include "engine/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace engine {
namespace {

using namespace std::string_literals;

TEST(NumberText, ParsesFieldText) {
    struct Case {
        std::string text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"       1998", 1998},
        {"         -5", -5},
        {"              2.6750", 2.675},
        {"-0.5000", -0.5},
        {"           ", 0},
        {"", 0},
        {"+7", 7},
        {".25", 0.25},
        {"12.", 12},
        {"1.5E+03", 1500},
        {"  2e-2 ", 0.02},
        {"4\0\0"s, 4},
        {"***********", {}},
        {"12a", {}},
        {"abc", {}},
        {"1 2", {}},
        {"-", {}},
        {".", {}},
        {"1e", {}},
        {"1e999", {}},
        {"1e-999", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseNumberField(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberText, ParsesIntegersRoundingHalfAwayFromZero) {
    struct Case {
        std::string text;
        std::optional<std::int64_t> value;
    };
    const Case cases[] = {
        {"       1998", 1998},
        {"12.5", 13},
        {"-12.5", -13},
        {"12.49", 12},
        {"-0.4", 0},
        {"   ", 0},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775808", {}},
        {"9223372036854775807.5", {}},
        {"****", {}},
        {"1.0e2", 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseIntegerField(c.text), c.value) << '"' << c.text << '"';
    }
}

struct FormatCase {
    double value;
    int width;
    int decimals;
    std::optional<std::string> text;
};

TEST(NumberText, FormatsAsDBaseWritesFields) {
    const FormatCase cases[] = {
        {1998, 11, 0, "       1998"},
        {-5, 11, 0, "         -5"},
        {2.675, 20, 4, "              2.6750"},
        {-0.5, 20, 4, "             -0.5000"},
        {2.675, 6, 2, "  2.68"},
        {0.1 + 0.2, 20, 4, "              0.3000"},
        {0.285 * 10, 5, 1, "  2.9"},  // 2.8499999999999996 in binary
        {-0.001, 6, 2, "  0.00"},
        {99.996, 6, 2, "100.00"},
        {99999999999.0, 11, 0, "99999999999"},
        {-9999999999.0, 11, 0, "-9999999999"},
        {12345678901234567.0, 20, 0, "   12345678901234568"},
        {123456789012345.0, 20, 4, "123456789012345.0000"},
        // Does not fit: never asterisks, never fewer decimals.
        {100000000000.0, 11, 0, std::nullopt},
        {-10000000000.0, 11, 0, std::nullopt},
        {1234567890123456.0, 20, 4, std::nullopt},
        {10.5, 4, 2, std::nullopt},
        {std::numeric_limits<double>::infinity(), 20, 4, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), 20, 4, std::nullopt},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(formatNumberField(c.value, c.width, c.decimals), c.text)
            << c.value << " in N(" << c.width << "," << c.decimals << ")";
    }
}

TEST(NumberText, FormatsIntegers) {
    EXPECT_EQ(formatIntegerField(1998, 11, 0), "       1998");
    EXPECT_EQ(formatIntegerField(-5, 20, 4), "             -5.0000");
    EXPECT_EQ(formatIntegerField(0, 3, 0), "  0");
    EXPECT_EQ(formatIntegerField(std::numeric_limits<std::int64_t>::min(), 20, 0),
              "-9223372036854775808");
    EXPECT_EQ(formatIntegerField(123456789012, 11, 0), std::nullopt);
    EXPECT_EQ(formatIntegerField(-1234567890, 11, 0), "-1234567890");
    EXPECT_EQ(formatIntegerField(-12345678901, 11, 0), std::nullopt);
}

struct StrCase {
    std::string field;
    int len;
    int dec;
    std::string result;
};

TEST(NumberText, StrFollowsDBaseRules) {
    const StrCase cases[] = {
        {"       1998", 12, 0, "        1998"},
        {"         -5", 12, 0, "          -5"},
        {"              2.6750", 12, 2, "        2.68"},
        {"             -2.6750", 12, 2, "       -2.68"},
        {"             -0.5000", 12, 0, "          -1"},
        {"              0.4999", 12, 0, "           0"},
        {"             -0.0040", 12, 2, "        0.00"},
        {"10.765", 5, 2, "10.77"},
        {"10.765", 5, 1, " 10.8"},
        {"10.765", 4, 2, "10.8"},  // decimals reduced to fit
        {"99.96", 4, 2, " 100"},   // rounding at fewer decimals adds a digit
        {"10.765", 2, 2, "11"},
        {"1234567890123", 12, 0, "************"},
        {"  -12345678901", 12, 0, "-12345678901"},
        {"  -123456789012", 12, 2, "************"},
        {"             123.4567", 3, 2, "123"},
        {"           ", 12, 0, "           0"},
        {"           ", 12, 2, "        0.00"},
        {"***********", 12, 0, "************"},
        {"  1998", 10, 0, "      1998"},
    };
    for (const StrCase& c : cases) {
        std::string out(static_cast<std::size_t>(c.len), '#');
        strOfFieldText(c.field, c.len, c.dec, out.data());
        EXPECT_EQ(out, c.result) << "STR(\"" << c.field << "\"," << c.len << "," << c.dec << ")";
    }
}

}  // namespace
}  // namespace engine

TEST(FormatNumberText, KeepsEveryTypedDigit) {
    EXPECT_EQ(engine::formatNumberText("1234567890123.4567", 20, 4).value(),
              "  1234567890123.4567");
    EXPECT_EQ(engine::formatNumberText(" 2.675 ", 20, 2).value(), "                2.68");
    EXPECT_EQ(engine::formatNumberText("-0.5", 11, 0).value(), "         -1");
    EXPECT_FALSE(engine::formatNumberText("12a", 11, 0).has_value());
    EXPECT_FALSE(engine::formatNumberText("123456789012", 11, 0).has_value());
}
