// The plain number, grouped number and money formats used for display.
//
// Each formatter writes a value in fixed notation, right-aligned in `width`
// characters (blanks on the left; text longer than the width is never cut).
// Fixed notation rounds the value's 15 significant decimal digits half away
// from zero, so 2.675 with two decimals shows 2.68 as the user typed it; a
// value that rounds to zero shows no minus sign; infinities and NaN show
// "INF", "-INF" and "NAN". Decimals are kept to 0..18.
//
// Symbols: format setting 2 uses the regional decimal and thousands
// characters, any other value the U.S. "." and ",". The money format follows
// `Currency Format` and the other two `Numeric Format`. Money is the grouped
// format with 2 decimals (U.S.) or the regional currency decimals; no
// currency symbol is added.
#pragma once

#include <QChar>
#include <QString>
#include <string>
#include <string_view>

#include "collection/regional_settings.h"

namespace collection {

inline constexpr int kRegionalFormat = 2;  // `Currency Format` / `Numeric Format` value

struct NumberSymbols {
    QChar decimal = u'.';
    QChar thousands = u',';
};

NumberSymbols symbolsFor(int formatSetting, const RegionalSettings& regional);

// Fixed notation with the decimal point ".", no grouping, no padding.
QString fixedNotation(double value, int decimals);

QString formatPlainNumber(double value, int width, int decimals, const NumberSymbols& symbols);
QString formatGroupedNumber(double value, int width, int decimals, const NumberSymbols& symbols);
QString formatMoney(double value, int width, int currencyFormat, const RegionalSettings& regional);

// Typed amount text in machine form, ready for conversion: blanks at both
// ends removed; with format setting 2 every regional thousands character
// removed and the first regional decimal character made "."; otherwise every
// "," removed.
QString machineNumberText(const QString& typed, int formatSetting,
                          const RegionalSettings& regional);

// The three formats under the user's two format settings, for callers that
// format many values (the record editor, report rendering).
class NumberFormats {
  public:
    NumberFormats(int numericFormat, int currencyFormat,
                  RegionalSettings regional = currentRegionalSettings());

    QString plain(double value, int width, int decimals) const;
    QString grouped(double value, int width, int decimals) const;
    QString money(double value, int width) const;
    // The plain (or grouped) text of a whole number stored as decimal digits ("  1850",
    // "-0012"; at most 15 digits, blanks around), written into `out` without a double in
    // between: what plain(value, 0, 0) or grouped(value, 0, 0) gives. False, and `out`
    // unspecified, for any other text or when the thousands character is not ASCII.
    bool wholeNumberText(std::string_view stored, bool grouped, std::string& out) const;

  private:
    int currencyFormat_;
    NumberSymbols numberSymbols_;
    RegionalSettings regional_;
};

}  // namespace collection
