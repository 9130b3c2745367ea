// Pieces of PDF syntax shared by the PDF file writer's parts.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace reports::pdf {

// A number given in thousandths, as PDF writes it: no trailing zeros, a blank after it.
inline void thousandths(std::string& out, long long value) {
    if (value < 0) {
        out += '-';
        value = -value;
    }
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value / 1000);
    out.append(buf, r.ptr);
    if (int fraction = static_cast<int>(value % 1000); fraction != 0) {
        char digits[4] = {'.', char('0' + fraction / 100), char('0' + fraction / 10 % 10),
                          char('0' + fraction % 10)};
        int length = 4;
        while (digits[length - 1] == '0') --length;
        out.append(digits, static_cast<std::size_t>(length));
    }
    out += ' ';
}

// A value that is not a number counts as 0, and values beyond what any page holds are held at
// the bound, so the conversion to an integer is always defined.
inline long long toThousandths(double value) {
    constexpr double kBound = 1e15;  // thousandths
    const double scaled = value * 1000;
    if (std::isnan(scaled)) return 0;
    return std::llround(std::clamp(scaled, -kBound, kBound));
}

// A number as PDF writes it: at most three decimals.
inline void number(std::string& out, double value) {
    thousandths(out, toThousandths(value));
}

inline void hex4(std::string& out, unsigned value) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 15];
}

inline std::string objectRef(int number) {
    return std::to_string(number) + " 0 R";
}

}  // namespace reports::pdf
