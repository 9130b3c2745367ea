#include "statistics/stored_amounts.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cmath>
#include <string>

#include "collection/number_format.h"

namespace statistics {

namespace {

constexpr int kKeptDecimals = 4;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    return s;
}

// Exponent forms and other texts strtod reads: rounded to 1/10000.
std::int64_t viaDouble(std::string_view s) {
    double value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || !std::isfinite(value) || std::fabs(value) > 9e14) return 0;
    return std::llround(value * 10000.0);
}

// A plain decimal of up to 19 digits in 1/10000, in 128 bits (the 5th decimal rounds).
std::int64_t wideAmount(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (s[i] == '-' || s[i] == '+') negative = s[i++] == '-';
    __int128 value = 0;
    for (int digits = 0; i < s.size() && isDigit(s[i]); ++i, ++digits)
        if (digits < 19) value = value * 10 + (s[i] - '0');
    int decimals = 0;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDigit(s[i]) && decimals <= kKeptDecimals; ++i, ++decimals) {
            if (decimals < kKeptDecimals)
                value = value * 10 + (s[i] - '0');
            else if (s[i] >= '5')
                value += 1;
        }
    for (int d = std::min(decimals, kKeptDecimals); d < kKeptDecimals; ++d) value *= 10;
    const __int128 limit = INT64_MAX;
    if (value > limit) value = limit;
    return std::int64_t(negative ? -value : value);
}

// Digits written with thousands characters between them: 1,234,567 -> 1234567.
QString grouped(std::string digits, QChar thousands) {
    QString out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0 && !thousands.isNull()) out += thousands;
        out += QLatin1Char(digits[i]);
    }
    return out;
}

std::uint64_t magnitude(std::int64_t v) {
    return v < 0 ? std::uint64_t(0) - std::uint64_t(v) : std::uint64_t(v);
}

}  // namespace

StoredAmount readAmount(std::string_view stored) {
    std::string_view s = trimmed(stored);
    StoredAmount amount;
    if (s.empty()) return amount;
    amount.blank = false;
    std::size_t i = 0;
    bool negative = false;
    if (s[i] == '-' || s[i] == '+') negative = s[i++] == '-';
    // 14 whole digits and 4 decimals stay within 64 bits; longer numbers (a stored field can
    // hold 15 whole digits) are read again in 128 bits.
    std::int64_t value = 0;
    int digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i, ++digits)
        value = digits < 14 ? value * 10 + (s[i] - '0') : value;
    int decimals = 0;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i) {
            if (decimals < kKeptDecimals) {
                value = value * 10 + (s[i] - '0');
                ++decimals;
            } else if (decimals == kKeptDecimals) {
                if (s[i] >= '5') value += 1;  // half away from zero at the 5th decimal
                ++decimals;
            }
        }
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        amount.tenThousandths = viaDouble(s);
        return amount;
    }
    if (digits > 14) {
        amount.tenThousandths = wideAmount(s);
        return amount;
    }
    for (int d = std::min(decimals, kKeptDecimals); d < kKeptDecimals; ++d) value *= 10;
    amount.tenThousandths = negative ? -value : value;
    return amount;
}

std::int64_t readQuantity(std::string_view stored) {
    std::string_view s = trimmed(stored);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    std::int64_t value = 0;
    for (int digits = 0; i < s.size() && isDigit(s[i]) && digits < 18; ++i, ++digits)
        value = value * 10 + (s[i] - '0');
    return negative ? -value : value;
}

std::int64_t totalCents(std::int64_t quantity, std::int64_t tenThousandths) {
    std::int64_t small = 0;
    if (!__builtin_mul_overflow(quantity, tenThousandths, &small) && small > INT64_MIN + 50) {
        const std::int64_t cents = ((small < 0 ? -small : small) + 50) / 100;
        return small < 0 ? -cents : cents;
    }
    const __int128 product = __int128(quantity) * tenThousandths;
    const __int128 magnitude = product < 0 ? -product : product;
    const __int128 cents = (magnitude + 50) / 100;
    return std::int64_t(product < 0 ? -cents : cents);
}

QString moneyText(std::int64_t cents, int currencyFormat,
                  const collection::RegionalSettings& regional) {
    const collection::NumberSymbols symbols = collection::symbolsFor(currencyFormat, regional);
    const int decimals =
        currencyFormat == collection::kRegionalFormat ? std::clamp(regional.currencyDigits, 0, 6)
                                                      : 2;
    // Cents to the shown number of decimals: fewer rounds half away from zero, more adds zeros.
    std::uint64_t units = magnitude(cents);
    int unitDecimals = 2;
    for (; unitDecimals > decimals; --unitDecimals) units = (units + 5) / 10;
    std::string digits = std::to_string(units);
    if (int(digits.size()) <= unitDecimals)
        digits.insert(0, std::size_t(unitDecimals + 1 - int(digits.size())), '0');
    const std::string whole = digits.substr(0, digits.size() - std::size_t(unitDecimals));
    std::string fraction = digits.substr(digits.size() - std::size_t(unitDecimals));
    fraction.append(std::size_t(decimals - unitDecimals), '0');
    QString text = cents < 0 && units != 0 ? QStringLiteral("-") : QString();
    text += grouped(whole, symbols.thousands);
    if (decimals > 0) text += symbols.decimal + QString::fromLatin1(fraction);
    return text;
}

QString countText(std::int64_t count, int numericFormat,
                  const collection::RegionalSettings& regional) {
    const collection::NumberSymbols symbols = collection::symbolsFor(numericFormat, regional);
    return (count < 0 ? QStringLiteral("-") : QString()) +
           grouped(std::to_string(magnitude(count)), symbols.thousands);
}

std::string plainCents(std::int64_t cents) {
    const std::uint64_t m = magnitude(cents);
    std::string text = cents < 0 ? "-" : "";
    text += std::to_string(m / 100) + '.';
    const unsigned rest = unsigned(m % 100);
    text += char('0' + rest / 10);
    text += char('0' + rest % 10);
    return text;
}

}  // namespace statistics
