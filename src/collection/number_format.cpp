#include "collection/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace collection {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kMaxDecimals = 18;

struct FixedParts {
    bool negative = false;
    QString integer;   // digits, at least one
    QString fraction;  // exactly `decimals` digits
};

// Splits |value| rounded to `decimals` places into integer and fraction digits,
// rounding its 15 significant digits half away from zero.
FixedParts fixedParts(double value, int decimals) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, std::fabs(value));
    // buf is "d.dddddddddddddde+XX".
    QString digits =
        QString::fromLatin1(buf, 1) + QString::fromLatin1(buf + 2, kSignificantDigits - 1);
    int pointPos = std::atoi(buf + kSignificantDigits + 2) + 1;  // digits before the point
    FixedParts parts;
    const int keep = pointPos + decimals;
    if (keep < 0) {
        parts.integer = QStringLiteral("0");
        parts.fraction = QString(decimals, u'0');
        return parts;
    }
    const bool roundUp = keep < kSignificantDigits && digits.at(keep) >= u'5';
    QString kept = digits.left(keep).leftJustified(keep, u'0');
    if (roundUp) {
        int i = keep - 1;
        for (; i >= 0 && kept.at(i) == u'9'; --i) kept[i] = u'0';
        if (i >= 0) {
            kept[i] = QChar(kept.at(i).unicode() + 1);
        } else {
            kept.prepend(u'1');
            ++pointPos;
        }
    }
    if (pointPos <= 0) {
        parts.integer = QStringLiteral("0");
        parts.fraction = QString(-pointPos, u'0') + kept;
    } else {
        parts.integer = kept.left(pointPos);
        parts.fraction = kept.mid(pointPos);
    }
    const bool nonZero = std::any_of(kept.begin(), kept.end(), [](QChar c) { return c != u'0'; });
    parts.negative = value < 0 && nonZero;
    return parts;
}

QString nonFinite(double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString grouped(const QString& integerDigits, QChar thousands) {
    QString out;
    const qsizetype n = integerDigits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += thousands;
        out += integerDigits.at(i);
    }
    return out;
}

QString formatFixed(double value, int width, int decimals, const NumberSymbols& symbols,
                    bool group) {
    QString text;
    if (!std::isfinite(value)) {
        text = nonFinite(value);
    } else {
        decimals = std::clamp(decimals, 0, kMaxDecimals);
        const FixedParts parts = fixedParts(value, decimals);
        if (parts.negative) text += u'-';
        text += group ? grouped(parts.integer, symbols.thousands) : parts.integer;
        if (decimals > 0) text += symbols.decimal + parts.fraction;
    }
    return text.rightJustified(width, u' ');
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

}  // namespace collection
