#include "collection/regional_settings.h"

#include "collection/text_decoding.h"

namespace collection {

namespace {

constexpr int kCurrencySymbolLimit = 3;
constexpr int kCountryLimit = 40;

QChar firstOrBlank(const QString& text) {
    return text.isEmpty() ? QChar(u' ') : text.at(0);
}

// Placement of the symbol in the locale's rendering of one unit of money.
int placementOf(const QString& one, const QString& symbol) {
    const qsizetype at = one.indexOf(symbol);
    if (symbol.isEmpty() || at < 0) return 0;
    const bool before = at == 0 || one.left(at).trimmed() == u"-";
    const qsizetype nextAt = before ? at + symbol.size() : at - 1;
    const QChar next = nextAt >= 0 && nextAt < one.size() ? one.at(nextAt) : QChar();
    const bool spaced = next.isSpace();
    if (before) return spaced ? 2 : 0;
    return spaced ? 3 : 1;
}

// Decimals in the locale's rendering of one unit of money.
int currencyDigitsOf(const QLocale& locale, const QString& one) {
    const qsizetype point = one.lastIndexOf(locale.decimalPoint());
    if (point < 0) return 0;
    int digits = 0;
    for (qsizetype i = point + 1; i < one.size() && one.at(i).isDigit(); ++i) ++digits;
    return digits;
}

RegionalSettings g_current;

}  // namespace

RegionalSettings regionalSettingsOf(const QLocale& locale) {
    RegionalSettings r;
    if (locale.language() == QLocale::C) return r;
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    if (!symbol.isEmpty()) r.currencySymbol = cutToChars(symbol, kCurrencySymbolLimit);
    if (locale.territory() != QLocale::AnyTerritory)
        r.country = cutToChars(QLocale::territoryToString(locale.territory()), kCountryLimit);
    r.decimal = firstOrBlank(locale.decimalPoint());
    r.thousands = firstOrBlank(locale.groupSeparator());
    const QString one = locale.toCurrencyString(1.0);
    r.currencyPlacement = placementOf(one, symbol);
    r.currencyDigits = currencyDigitsOf(locale, one);
    return r;
}

RegionalSettings readRegionalSettings() {
    return regionalSettingsOf(QLocale::system());
}

const RegionalSettings& currentRegionalSettings() {
    return g_current;
}

void setCurrentRegionalSettings(const RegionalSettings& settings) {
    g_current = settings;
}

}  // namespace collection
