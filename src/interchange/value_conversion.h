// The conversions between the text of a delimited file and the values of a stamp table.
//
// Import reads a value by the value kind of the field it goes to:
//  - an empty value (or one of blanks only) leaves an integer or float field blank, as the table
//    keeps an unknown number; it never becomes 0.
//  - integer: leading blanks skipped, an optional sign, then decimal digits ("$" before the
//    digits reads them as hexadecimal), a 32-bit signed value. Reading stops at the first
//    character that is not a digit, or at the digit that would leave 32 bits; what was read
//    before makes the value, with its sign. A value without digits gives 0. Thousands separators
//    standing where they belong ("12,345") are passed over, as spreadsheets write them.
//  - float: leading blanks skipped, then the longest decimal number with "." as the decimal point
//    (sign, digits, fraction, exponent); nothing readable gives 0. Thousands separators
//    ("1,234.50") are read as for integers.
//  - date: only a value holding the date format's separator and no letter A to Z is read, in the
//    date format (collection::DateFormat::parse); anything else, and a value of that shape that
//    is no date, gives no date (the field stays empty).
//  - text: the value as read.
//
// Export writes the edit text of a field (dates with four-digit years in text files): text as stored without trailing blanks; numbers as
// plain decimals without trailing zeros in the fraction ("12.5", "3", "-0.25"); dates in the date
// format; logical fields "True" / "False"; blank numbers and dates as empty text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "collection/date_format.h"
#include "engine/field.h"

namespace engine {
class RecordView;
}

namespace interchange {

// True when `text` holds nothing but blanks: the number field it goes to stays blank.
bool isBlankNumber(std::string_view text);
std::int32_t importInteger(std::string_view text);
double importFloat(std::string_view text);
// The date of `utf8` in `format`, two-digit years placed around `currentYear`.
std::optional<engine::Date> importDate(std::string_view utf8, const collection::DateFormat& format,
                                       int currentYear);

// `format` with four-digit years (types 1..6 become 7..12): what text export writes, so no date
// loses its century on the way out and back in.
collection::DateFormat withFourDigitYears(collection::DateFormat format);

// Appends the date as `format` shows it (the same text as DateFormat::format).
void appendDateText(std::string& out, const engine::Date& date,
                    const collection::DateFormat& format);

// The edit text of 0-based field `field` of `record` as UTF-8, written into `out`.
void editTextInto(const engine::RecordView& record, int field, const engine::FieldInfo& info,
                  const collection::DateFormat& format, std::string& out);

}  // namespace interchange
