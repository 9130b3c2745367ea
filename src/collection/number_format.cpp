#include "collection/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace collection {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kMaxDecimals = 18;
// Digits of the largest finite double (309 before the point), a carry and the decimals.
constexpr int kMaxDigits = 309 + 1 + kMaxDecimals + 2;

// |value| rounded to `decimals` places as plain digits: `integer` digits before the point
// (at least one) and exactly `decimals` after it, rounding the value's 15 significant digits
// half away from zero. Works on characters only: reports format millions of values.
struct FixedDigits {
    bool negative = false;
    int integer = 0;
    char digits[kMaxDigits];
};

void fixedDigits(double value, int decimals, FixedDigits& out) {
    char buf[40];
    // "d.dddddddddddddde+XX", as printf's "%.14e" writes it.
    const auto written = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                       std::chars_format::scientific, kSignificantDigits - 1);
    *written.ptr = '\0';
    char significant[kSignificantDigits];
    significant[0] = buf[0];
    std::memcpy(significant + 1, buf + 2, kSignificantDigits - 1);
    int pointPos = std::atoi(buf + kSignificantDigits + 2) + 1;  // digits before the point
    const int keep = pointPos + decimals;
    out.negative = false;
    if (keep < 0) {
        out.integer = 1;
        std::memset(out.digits, '0', std::size_t(1 + decimals));
        return;
    }
    // kept: the first `keep` significant digits, padded with zeros, then rounded. One spare
    // place in front takes a carry out of the first digit.
    char* kept = out.digits + 1;
    for (int i = 0; i < keep; ++i) kept[i] = i < kSignificantDigits ? significant[i] : '0';
    int keptSize = keep;
    if (keep < kSignificantDigits && significant[keep] >= '5') {
        int i = keep - 1;
        for (; i >= 0 && kept[i] == '9'; --i) kept[i] = '0';
        if (i >= 0) {
            ++kept[i];
        } else {
            *--kept = '1';
            ++keptSize;
            ++pointPos;
        }
    }
    out.negative = value < 0 && std::any_of(kept, kept + keptSize, [](char c) { return c != '0'; });
    if (pointPos <= 0) {
        // "0" and the fraction: zeros up to the first kept digit, then the kept digits.
        std::memmove(out.digits + 1 - pointPos, kept, std::size_t(keptSize));
        std::memset(out.digits, '0', std::size_t(1 - pointPos));
        out.integer = 1;
    } else {
        if (kept != out.digits) std::memmove(out.digits, kept, std::size_t(keptSize));
        out.integer = pointPos;
    }
}

QString nonFinite(double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString formatFixed(double value, int width, int decimals, const NumberSymbols& symbols,
                    bool group) {
    if (!std::isfinite(value)) return nonFinite(value).rightJustified(width, u' ');
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    FixedDigits parts;
    fixedDigits(value, decimals, parts);
    const int separators = group ? (parts.integer - 1) / 3 : 0;
    const qsizetype length =
        (parts.negative ? 1 : 0) + parts.integer + separators + (decimals > 0 ? 1 + decimals : 0);
    const qsizetype pad = std::max<qsizetype>(0, width - length);
    QString text(pad + length, Qt::Uninitialized);
    QChar* at = text.data();
    for (qsizetype i = 0; i < pad; ++i) *at++ = u' ';
    if (parts.negative) *at++ = u'-';
    for (int i = 0; i < parts.integer; ++i) {
        if (group && i > 0 && (parts.integer - i) % 3 == 0) *at++ = symbols.thousands;
        *at++ = QLatin1Char(parts.digits[i]);
    }
    if (decimals > 0) {
        *at++ = symbols.decimal;
        for (int i = 0; i < decimals; ++i) *at++ = QLatin1Char(parts.digits[parts.integer + i]);
    }
    return text;
}

}  // namespace

NumberSymbols symbolsFor(int formatSetting, const RegionalSettings& regional) {
    if (formatSetting != kRegionalFormat) return {};
    return {regional.decimal, regional.thousands};
}

QString fixedNotation(double value, int decimals) {
    return formatFixed(value, 0, decimals, NumberSymbols{}, false);
}

QString formatPlainNumber(double value, int width, int decimals, const NumberSymbols& symbols) {
    return formatFixed(value, width, decimals, symbols, false);
}

QString formatGroupedNumber(double value, int width, int decimals, const NumberSymbols& symbols) {
    return formatFixed(value, width, decimals, symbols, true);
}

QString formatMoney(double value, int width, int currencyFormat, const RegionalSettings& regional) {
    const int decimals = currencyFormat == kRegionalFormat ? regional.currencyDigits : 2;
    return formatGroupedNumber(value, width, decimals, symbolsFor(currencyFormat, regional));
}

QString machineNumberText(const QString& typed, int formatSetting,
                          const RegionalSettings& regional) {
    QString text = typed.trimmed();
    if (formatSetting != kRegionalFormat) return text.remove(u',');
    text.remove(regional.thousands);
    const qsizetype point = text.indexOf(regional.decimal);
    if (point >= 0) text[point] = u'.';
    return text;
}

NumberFormats::NumberFormats(int numericFormat, int currencyFormat, RegionalSettings regional)
    : currencyFormat_(currencyFormat),
      numberSymbols_(symbolsFor(numericFormat, regional)),
      regional_(std::move(regional)) {}

QString NumberFormats::plain(double value, int width, int decimals) const {
    return formatPlainNumber(value, width, decimals, numberSymbols_);
}

QString NumberFormats::grouped(double value, int width, int decimals) const {
    return formatGroupedNumber(value, width, decimals, numberSymbols_);
}

QString NumberFormats::money(double value, int width) const {
    return formatMoney(value, width, currencyFormat_, regional_);
}

bool NumberFormats::wholeNumberText(std::string_view stored, bool grouped, std::string& out) const {
    while (!stored.empty() && stored.front() == ' ') stored.remove_prefix(1);
    while (!stored.empty() && stored.back() == ' ') stored.remove_suffix(1);
    const bool negative = !stored.empty() && stored.front() == '-';
    if (negative) stored.remove_prefix(1);
    if (stored.empty() || stored.size() > std::size_t(kSignificantDigits) ||
        !std::all_of(stored.begin(), stored.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (grouped && numberSymbols_.thousands.unicode() >= 0x80) return false;
    while (stored.size() > 1 && stored.front() == '0') stored.remove_prefix(1);
    out.clear();
    if (negative && stored != "0") out += '-';
    const std::size_t n = stored.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (grouped && i > 0 && (n - i) % 3 == 0)
            out += static_cast<char>(numberSymbols_.thousands.unicode());
        out += stored[i];
    }
    return true;
}

}  // namespace collection
