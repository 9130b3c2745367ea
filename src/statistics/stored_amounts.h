// Exact reading of the stored quantities and amounts, and money written from whole cents.
//
// A stamp's total is quantity x amount, as the record editor shows it: the product rounded half
// away from zero to the cent. Here the product is taken from the stored digits as integers, so
// no binary fraction ever enters a sum: a million totals add up to the cent.
//
// Reading is lenient as the editor's is: blanks count 0; text counts as far as its leading
// number goes ("12.5x" is 12.5); anything else (a dBase overflow "*****") counts 0. A number
// written with an exponent (F fields of other programs) goes through a double, rounded to 1/10000.
#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

#include "collection/regional_settings.h"

namespace statistics {

// A stored decimal as an integer count of 1/10000 (the 4 decimals the collection keeps).
struct StoredAmount {
    std::int64_t tenThousandths = 0;
    bool blank = true;  // nothing but blanks in the field
};

StoredAmount readAmount(std::string_view stored);
// The leading whole number of a stored quantity; 0 when blank or not a number.
std::int64_t readQuantity(std::string_view stored);

// quantity x amount in cents, rounded half away from zero.
std::int64_t totalCents(std::int64_t quantity, std::int64_t tenThousandths);

// Money in the collection's money format (`Currency Format`: 2 is the regional symbols and
// currency decimals, any other value U.S. "1,234.56"), written from cents without a double.
QString moneyText(std::int64_t cents, int currencyFormat,
                  const collection::RegionalSettings& regional);
// A whole number grouped in the collection's number format (`Numeric Format`).
QString countText(std::int64_t count, int numericFormat,
                  const collection::RegionalSettings& regional);
// The same numbers as plain machine text for files ("-1234.56", "1234"): CSV cells.
std::string plainCents(std::int64_t cents);

}  // namespace statistics
