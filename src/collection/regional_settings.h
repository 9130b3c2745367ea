// The regional values that the "Windows setting" number and money formats use.
//
// They come from the process locale (QLocale::system(), which follows LC_ALL,
// LC_NUMERIC and LANG); tests and the command-line tool can build a
// RegionalSettings by hand and install it with setCurrentRegionalSettings().
// The C/POSIX locale, and any value the locale does not supply, gives the U.S.
// defaults below. The program reads them once at start.
#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

namespace collection {

struct RegionalSettings {
    QString currencySymbol = QStringLiteral("$");       // sCurrency, at most 3 characters
    QString country = QStringLiteral("United States");  // sCountry, at most 40 characters
    QChar decimal = u'.';                               // sDecimal; blank when the locale has none
    QChar thousands = u',';                             // sThousand; blank when the locale has none
    int currencyPlacement = 0;  // iCurrency: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int countryCode = 1;        // iCountry: telephone country code
    int digits = 2;             // iDigits: decimals of plain numbers
    int currencyDigits = 2;     // iCurrDigits: decimals of money

    bool operator==(const RegionalSettings&) const = default;
};

// The values of `locale`. The locale carries no telephone country code and no
// preferred number of decimals, so countryCode and digits keep their defaults.
RegionalSettings regionalSettingsOf(const QLocale& locale);
// regionalSettingsOf(QLocale::system()).
RegionalSettings readRegionalSettings();

// The process-wide values; the U.S. defaults until set.
const RegionalSettings& currentRegionalSettings();
void setCurrentRegionalSettings(const RegionalSettings& settings);

}  // namespace collection
