#include "interchange/value_conversion.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <limits>

#include "engine/field_codec.h"
#include "engine/table.h"

namespace interchange {

namespace {

std::string_view skipBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

void appendTwoDigits(std::string& out, int n, bool leadingZero) {
    if (n >= 10 || leadingZero) out.push_back(char('0' + n / 10 % 10));
    out.push_back(char('0' + n % 10));
}

// A stored number `raw` (already trimmed) as plain decimal text without trailing fraction zeros;
// false when it is not plain decimal text.
bool trimmedNumber(std::string_view raw, std::string& out) {
    std::size_t i = 0;
    if (i < raw.size() && (raw[i] == '-' || raw[i] == '+')) ++i;
    const std::size_t intStart = i;
    while (i < raw.size() && isDigit(raw[i])) ++i;
    const std::size_t intEnd = i;
    std::size_t fracEnd = i;
    if (i < raw.size() && raw[i] == '.') {
        ++i;
        while (i < raw.size() && isDigit(raw[i])) ++i;
        fracEnd = i;
        while (fracEnd > intEnd + 1 && raw[fracEnd - 1] == '0') --fracEnd;
        if (fracEnd == intEnd + 1) fracEnd = intEnd;  // nothing left after the point
    }
    if (i != raw.size() || (intEnd == intStart && fracEnd == intEnd)) return false;
    out.clear();
    if (raw[0] == '-') out.push_back('-');
    if (intEnd == intStart) out.push_back('0');  // ".5" -> "0.5"
    out.append(raw.substr(intStart, fracEnd - intStart));
    if (out == "-0") out = "0";
    return true;
}

// The date of text made only of digits and three parts split by `separator`, read as
// DateFormat::parse reads it (most dates of a file); nullopt for any other text, which goes to
// DateFormat::parse itself.
std::optional<std::optional<engine::Date>> plainDate(std::string_view text, char separator,
                                                     const collection::DateFormat& format,
                                                     int currentYear) {
    int value[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (char c : text) {
        if (c == separator) {
            if (++part == 3) return std::nullopt;
        } else if (isDigit(c)) {
            if (++digits[part] > 4) return std::nullopt;
            value[part] = value[part] * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    if (part != 2) return std::nullopt;
    if (format.yearFirst()) {  // year, month, day: turned to the order below
        std::rotate(value, value + 1, value + 3);
        std::rotate(digits, digits + 1, digits + 3);
    }
    const std::optional<engine::Date> none;
    const int first = format.dayFirst() ? 1 : 0;  // the part holding the month
    for (int p : {0, 1})
        if (digits[p] < 1 || digits[p] > 2) return none;
    if (digits[2] < 1 || digits[2] == 3) return none;
    int year = value[2];
    if (digits[2] <= 2) year = collection::expandTwoDigitYear(year, currentYear);
    const engine::Date date{year, value[first], value[1 - first]};
    if (!engine::validDate(date)) return none;
    return date;
}

// `text` (blanks skipped) with the thousands separators of its leading number removed when they
// stand where they belong: one to three digits, then groups of a comma and three digits, then
// the end, a point or any other character that is not a digit or a comma. Other text comes back
// as it is, so "1,2" still reads as 1.
std::string_view withoutGroupSeparators(std::string_view text, std::string& buffer) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    if (i == start || i - start > 3 || i >= text.size() || text[i] != ',') return text;
    buffer.assign(text.substr(0, i));
    while (i < text.size() && text[i] == ',') {
        if (i + 4 > text.size() || !isDigit(text[i + 1]) || !isDigit(text[i + 2]) ||
            !isDigit(text[i + 3]) || (i + 4 < text.size() && isDigit(text[i + 4])))
            return text;
        buffer.append(text.substr(i + 1, 3));
        i += 4;
    }
    buffer.append(text.substr(i));
    return buffer;
}

}  // namespace

bool isBlankNumber(std::string_view text) {
    return skipBlanks(text).empty();
}

collection::DateFormat withFourDigitYears(collection::DateFormat format) {
    if (!format.fourDigitYear() && collection::DateFormat::isValidType(format.type + 6))
        format.type += 6;
    return format;
}

std::int32_t importInteger(std::string_view text) {
    text = skipBlanks(text);
    std::string ungrouped;
    text = withoutGroupSeparators(text, ungrouped);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    const std::int64_t limit =
        std::int64_t(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0);
    std::int64_t value = 0;
    for (char c : text) {
        const int d = digitValue(c, base);
        if (d < 0 || value * base + d > limit) break;
        value = value * base + d;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

double importFloat(std::string_view text) {
    text = skipBlanks(text);
    std::string ungrouped;
    text = withoutGroupSeparators(text, ungrouped);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    // Only decimal digits and the point start a number (no "inf", "nan" or hexadecimal).
    const std::size_t lead = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() <= lead || !(isDigit(text[lead]) || text[lead] == '.')) return 0.0;
    double value = 0.0;
    const auto r =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) return 0.0;
    return r.ec == std::errc() ? value : 0.0;
}

std::optional<engine::Date> importDate(std::string_view utf8, const collection::DateFormat& format,
                                       int currentYear) {
    const char separator = char(format.separator().unicode());
    if (utf8.find(separator) == std::string_view::npos) return std::nullopt;
    for (char c : utf8)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return std::nullopt;
    if (const std::optional<std::optional<engine::Date>> plain =
            plainDate(utf8, separator, format, currentYear))
        return *plain;
    const std::optional<QDate> date =
        format.parse(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())), currentYear);
    if (!date) return std::nullopt;
    return engine::Date{date->year(), date->month(), date->day()};
}

void appendDateText(std::string& out, const engine::Date& date,
                    const collection::DateFormat& format) {
    if (date.blank()) return;
    const char separator = char(format.separator().unicode());
    const bool zeros = format.leadingZeros;
    if (format.yearFirst()) {
        appendTwoDigits(out, date.year / 100, true);
        appendTwoDigits(out, date.year % 100, true);
        out.push_back(separator);
        appendTwoDigits(out, date.month, true);
        out.push_back(separator);
        appendTwoDigits(out, date.day, true);
        return;
    }
    if (format.dayFirst()) {
        appendTwoDigits(out, date.day, zeros);
        out.push_back(separator);
        appendTwoDigits(out, date.month, zeros);
    } else {
        appendTwoDigits(out, date.month, zeros);
        out.push_back(separator);
        appendTwoDigits(out, date.day, zeros);
    }
    out.push_back(separator);
    if (format.fourDigitYear()) {
        appendTwoDigits(out, date.year / 100, true);
        appendTwoDigits(out, date.year % 100, true);
    } else {
        appendTwoDigits(out, date.year % 100, true);
    }
}

void editTextInto(const engine::RecordView& record, int field, const engine::FieldInfo& info,
                  const collection::DateFormat& format, std::string& out) {
    switch (info.type) {
        case engine::FieldType::Numeric:
        case engine::FieldType::Float: {
            record.textInto(field, out);  // trimmed stored digits, empty when blank
            if (out.empty()) return;
            std::string plain;
            if (trimmedNumber(out, plain)) {
                out.swap(plain);
                return;
            }
            const std::optional<double> value = record.number(field);
            out.clear();
            if (!value) return;
            char buffer[32];
            const auto r = std::to_chars(buffer, buffer + sizeof buffer, *value);
            out.assign(buffer, r.ptr);
            return;
        }
        case engine::FieldType::Date:
            out.clear();
            appendDateText(out, record.date(field), format);
            return;
        case engine::FieldType::Logical:
            record.textInto(field, out);
            if (out == "T") out = "True";
            if (out == "F") out = "False";
            return;
        default:
            record.textInto(field, out);
    }
}

}  // namespace interchange
