// Parsing and formatting of numeric field text.
//
// All of it goes through one small decimal type: the digits of the number as
// text plus the position of the decimal point. Rounding happens on those
// digits (half away from zero), which is how dBase's BCD arithmetic rounds and
// why STR(2.675, 12, 2) gives "2.68" although the nearest double is below
// 2.675. The type lives on the stack, so strOfFieldText() never allocates.
//
// Conventions for field text:
//  - blanks (spaces, and NUL bytes some writers pad with) around the number
//    are ignored; an all-blank field is 0, as in dBase arithmetic;
//  - the number is [sign] digits [. digits] [E [sign] digits], with at least
//    one digit in the mantissa; anything else ("****", letters) is no number;
//  - STR() of text that is no number gives `len` asterisks, the same as a
//    number too large for `len`.
#include "engine/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace engine {
namespace {

// A decimal number: value = 0.d[0]d[1]...d[count-1] x 10^point, i.e. `point`
// digits stand before the decimal point (digits past `count` are zeros and a
// point <= 0 means leading zeros after it). No leading zeros are kept, so
// count == 0 is zero.
struct Decimal {
    static constexpr int kMaxDigits = 40;  // beyond double and field precision
    bool negative = false;
    int count = 0;
    int point = 0;
    char d[kMaxDigits] = {};

    bool isZero() const {
        for (int i = 0; i < count; ++i) {
            if (d[i] != '0') return false;
        }
        return true;
    }
    // Digit at position `i` counted from the first significant digit (may be
    // negative or past the end: those are zeros).
    char digitAt(int i) const { return i >= 0 && i < count ? d[i] : '0'; }
    int integerDigits() const { return isZero() || point <= 0 ? 1 : point; }

    // Rounds half away from zero to `decimals` digits after the point.
    void roundTo(int decimals) {
        int cut = point + decimals;  // digits kept
        if (cut >= count) return;
        if (cut < 0) {
            count = 0;
            return;
        }
        bool up = d[cut] >= '5';
        count = cut;
        if (!up) return;
        int i = count - 1;
        for (; i >= 0 && d[i] == '9'; --i) d[i] = '0';
        if (i >= 0) {
            ++d[i];
            return;
        }
        // Carry out of the first digit: 99.96 -> 100.0, or 0.005 -> 0.01.
        if (count == kMaxDigits) --count;
        std::memmove(d + 1, d, static_cast<std::size_t>(count));
        d[0] = '1';
        ++count;
        ++point;
    }

    // Text length with exactly `decimals` digits after the point.
    int textLength(int decimals) const {
        bool minus = negative && !isZero();
        return (minus ? 1 : 0) + integerDigits() + (decimals > 0 ? decimals + 1 : 0);
    }

    // Writes the number right-justified into `out` of `width` bytes with
    // exactly `decimals` digits after the point. False when it does not fit.
    bool write(int decimals, char* out, int width) const {
        int length = textLength(decimals);
        if (length > width) return false;
        std::memset(out, ' ', static_cast<std::size_t>(width - length));
        char* p = out + (width - length);
        if (negative && !isZero()) *p++ = '-';
        if (isZero() || point <= 0) {
            *p++ = '0';
        } else {
            for (int i = 0; i < point; ++i) *p++ = digitAt(i);
        }
        if (decimals > 0) {
            *p++ = '.';
            for (int i = 0; i < decimals; ++i) *p++ = digitAt(point + i);
        }
        return true;
    }
};

bool isBlank(char c) {
    return c == ' ' || c == '\0';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Parses number text as described at the top of the file. Blank text is zero.
bool parseDecimal(std::string_view text, Decimal& out) {
    out = Decimal{};
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && isBlank(text[i])) ++i;
    while (end > i && isBlank(text[end - 1])) --end;
    if (i == end) return true;
    if (text[i] == '-' || text[i] == '+') out.negative = text[i++] == '-';
    bool anyDigit = false;
    bool afterPoint = false;
    for (; i < end; ++i) {
        char c = text[i];
        if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (isDigit(c)) {
            anyDigit = true;
            if (c == '0' && out.count == 0) {  // leading zero
                if (afterPoint) --out.point;
                continue;
            }
            if (out.count < Decimal::kMaxDigits) out.d[out.count++] = c;
            if (!afterPoint) ++out.point;
        } else {
            break;
        }
    }
    if (!anyDigit) return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == '-' || text[i] == '+')) negativeExponent = text[i++] == '-';
        if (i == end) return false;
        int exponent = 0;
        for (; i < end && isDigit(text[i]); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 10000);
        }
        out.point += negativeExponent ? -exponent : exponent;
    }
    return i == end;
}

// The decimal digits of a double. Below 1e15, 15 significant digits are used,
// so that binary noise (0.1 + 0.2 = 0.30000000000000004, 2.85 computed as
// 2.8499999999999996) does not show or tip a rounding; larger values, whose
// integer digits matter, use the shortest text that reads back exactly.
Decimal decimalOf(double value) {
    char buffer[64];
    std::to_chars_result r =
        std::fabs(value) < 1e15
            ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                            14)
            : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    Decimal d;
    parseDecimal(std::string_view(buffer, static_cast<std::size_t>(r.ptr - buffer)), d);
    return d;
}

}  // namespace

std::optional<double> parseNumberField(std::string_view text) {
    Decimal d;
    if (!parseDecimal(text, d)) return std::nullopt;
    if (d.count == 0) return 0.0;
    // Rebuild as "<digits>e<exponent>" and let from_chars do the correctly
    // rounded conversion.
    char buffer[Decimal::kMaxDigits + 16];
    char* p = buffer;
    if (d.negative) *p++ = '-';
    p = std::copy(d.d, d.d + d.count, p);
    *p++ = 'e';
    p = std::to_chars(p, buffer + sizeof buffer, d.point - d.count).ptr;
    double value = 0;
    if (std::from_chars(buffer, p, value).ec == std::errc::result_out_of_range) {
        if (d.point > 0) return std::nullopt;  // beyond the range of a double
        return 0.0;                            // too small to tell from zero
    }
    return value;
}

std::optional<std::int64_t> parseIntegerField(std::string_view text) {
    Decimal d;
    if (!parseDecimal(text, d)) return std::nullopt;
    d.roundTo(0);
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = d.negative
                                    ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                    : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    for (int i = 0; i < d.point; ++i) {
        unsigned digit = static_cast<unsigned>(d.digitAt(i) - '0');
        if (magnitude > (limit - digit) / 10) return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (!d.negative) return static_cast<std::int64_t>(magnitude);
    return magnitude == 0 ? 0 : -static_cast<std::int64_t>(magnitude - 1) - 1;
}

std::optional<std::string> formatNumberField(double value, int width, int decimals) {
    if (!std::isfinite(value) || width < 1 || decimals < 0) return std::nullopt;
    Decimal d = decimalOf(value);
    d.roundTo(decimals);
    std::string out(static_cast<std::size_t>(width), ' ');
    if (!d.write(decimals, out.data(), width)) return std::nullopt;
    return out;
}

bool formatIntegerFieldInto(std::int64_t value, int width, int decimals, char* out) {
    if (width < 1 || decimals < 0) return false;
    char buffer[24];
    std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (decimals == 0) {
        // The digits as they are, right-justified.
        const auto length = static_cast<int>(r.ptr - buffer);
        if (length > width) return false;
        std::memset(out, ' ', static_cast<std::size_t>(width - length));
        std::memcpy(out + (width - length), buffer, static_cast<std::size_t>(length));
        return true;
    }
    Decimal d;
    parseDecimal(std::string_view(buffer, static_cast<std::size_t>(r.ptr - buffer)), d);
    return d.write(decimals, out, width);
}

std::optional<std::string> formatIntegerField(std::int64_t value, int width, int decimals) {
    if (width < 1) return std::nullopt;
    std::string out(static_cast<std::size_t>(width), ' ');
    if (!formatIntegerFieldInto(value, width, decimals, out.data())) return std::nullopt;
    return out;
}

bool formatNumberTextInto(std::string_view text, int width, int decimals, char* out) {
    if (width < 1 || decimals < 0) return false;
    Decimal d;
    if (!parseDecimal(text, d)) return false;
    d.roundTo(decimals);
    return d.write(decimals, out, width);
}

std::optional<std::string> formatNumberText(std::string_view text, int width, int decimals) {
    if (width < 1) return std::nullopt;
    std::string out(static_cast<std::size_t>(width), ' ');
    if (!formatNumberTextInto(text, width, decimals, out.data())) return std::nullopt;
    return out;
}

void strOfFieldText(std::string_view fieldText, int len, int dec, char* out) {
    if (len < 1) return;
    Decimal d;
    if (parseDecimal(fieldText, d)) {
        // Fewer decimals when only the decimals do not fit; each attempt rounds
        // from the field's own digits, never from an earlier rounding.
        for (int decimals = std::max(dec, 0); decimals >= 0; --decimals) {
            Decimal rounded = d;
            rounded.roundTo(decimals);
            if (rounded.write(decimals, out, len)) return;
        }
    }
    std::memset(out, '*', static_cast<std::size_t>(len));
}

}  // namespace engine
