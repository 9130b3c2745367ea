// Numbers as dBase stores them: right-justified decimal text in N/F fields.
//
// dBase arithmetic is decimal, so rounding for STR() is done on the decimal
// digits of the stored text, never through a binary double.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// Parses the text of an N/F field (blanks allowed around it). All blank reads
// as 0. Returns nullopt when the text is not a number (e.g. "****" or letters).
std::optional<double> parseNumberField(std::string_view text);
std::optional<std::int64_t> parseIntegerField(std::string_view text);  // rounds half away from zero

// Formats a value for an N/F field of `width` with `decimals` digits after the
// point, right-justified. Returns nullopt when the value does not fit.
std::optional<std::string> formatNumberField(double value, int width, int decimals);
std::optional<std::string> formatIntegerField(std::int64_t value, int width, int decimals);
// The same written straight into `out` (`width` bytes), which is left as it was when false.
bool formatIntegerFieldInto(std::int64_t value, int width, int decimals, char* out);
// Formats typed number text for an N/F field straight from its decimal digits
// (rounded half away from zero to `decimals`), so no digit is lost through a
// double. nullopt when the text is no number or does not fit.
std::optional<std::string> formatNumberText(std::string_view text, int width, int decimals);
// The same written straight into `out` (`width` bytes), which is left as it was when false.
bool formatNumberTextInto(std::string_view text, int width, int decimals, char* out);

// dBase STR(x, len, dec) of the number held as decimal text `fieldText` (the
// raw field bytes). Writes exactly `len` bytes to `out`: rounded half away from
// zero in decimal, fewer decimals when only the decimals do not fit, `len`
// asterisks when the integer part does not fit, blank text evaluating as 0.
void strOfFieldText(std::string_view fieldText, int len, int dec, char* out);

}  // namespace engine
