#include "engine/field_codec.h"

#include <cmath>
#include <cstring>

#include "engine/error.h"
#include "engine/number_text.h"

namespace engine {

namespace {

std::string_view trimRight(std::string_view s) {
    s = withoutTrailingBlanks(s);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    return s;
}
std::string_view trim(std::string_view s) {
    s = trimRight(s);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

bool isNumeric(const FieldInfo& f) {
    return f.type == FieldType::Numeric || f.type == FieldType::Float;
}

std::string quoted(std::string_view text) {
    std::string q(1, '"');
    q.append(text);
    q.push_back('"');
    return q;
}

[[noreturn]] void refuse(const FieldInfo& f, const std::string& what) {
    throw EngineError("The value " + what + " cannot be stored in field " + f.name + ".");
}

void putPadded(std::string_view bytes, int width, char* out) {
    std::size_t n = std::min<std::size_t>(bytes.size(), std::size_t(width));
    std::memcpy(out, bytes.data(), n);
    std::memset(out + n, ' ', std::size_t(width) - n);
}

}  // namespace

std::string_view withoutTrailingBlanks(std::string_view s) {
    // Fields are mostly padding: skip blanks eight at a time from the end.
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    while (s.size() >= 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + s.size() - 8, 8);
        if (word != kBlanks) break;
        s.remove_suffix(8);
    }
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool isBlankField(std::string_view raw) { return trim(raw).empty(); }

bool validDate(const Date& d) {
    if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int limit = days[d.month - 1];
    bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    if (d.month == 2 && leap) limit = 29;
    return d.day <= limit;
}

Date parseDateField(std::string_view raw) {
    if (raw.size() < 8) return {};
    int v[8];
    for (int i = 0; i < 8; ++i) {
        char c = raw[std::size_t(i)];
        if (c < '0' || c > '9') return {};
        v[i] = c - '0';
    }
    Date d{v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5], v[6] * 10 + v[7]};
    return validDate(d) ? d : Date{};
}

void fieldTextInto(const FieldInfo& f, std::string_view raw, CodePage cp, std::string& out) {
    switch (f.type) {
        case FieldType::Numeric:
        case FieldType::Float: {
            std::string_view t = trim(raw);
            out.assign(t.data(), t.size());
            return;
        }
        case FieldType::Date: {
            Date d = parseDateField(raw);
            if (d.blank())
                out.clear();
            else
                out.assign(raw.data(), 8);
            return;
        }
        case FieldType::Logical: {
            char c = raw.empty() ? ' ' : raw[0];
            if (c == 'T' || c == 't' || c == 'Y' || c == 'y')
                out.assign(1, 'T');
            else if (c == 'F' || c == 'f' || c == 'N' || c == 'n')
                out.assign(1, 'F');
            else
                out.clear();
            return;
        }
        case FieldType::Memo:
            out.clear();
            return;
        default:
            toUtf8Into(trimRight(raw), cp, out);
    }
}

std::string fieldText(const FieldInfo& f, std::string_view raw, CodePage cp) {
    std::string out;
    fieldTextInto(f, raw, cp, out);
    return out;
}

std::optional<std::int64_t> fieldInteger(const FieldInfo& f, std::string_view raw) {
    if (isBlankField(raw)) return std::nullopt;
    if (isNumeric(f) || f.type == FieldType::Character || f.type == FieldType::Other)
        return parseIntegerField(raw);
    return std::nullopt;
}

std::optional<double> fieldNumber(const FieldInfo& f, std::string_view raw) {
    if (isBlankField(raw)) return std::nullopt;
    if (isNumeric(f) || f.type == FieldType::Character || f.type == FieldType::Other)
        return parseNumberField(raw);
    return std::nullopt;
}

void encodeBlank(const FieldInfo& f, char* out) { std::memset(out, ' ', std::size_t(f.length)); }

void encodeText(const FieldInfo& f, std::string_view utf8, CodePage cp, char* out,
                bool standIns, bool* standInsUsed) {
    if (standInsUsed) *standInsUsed = false;
    switch (f.type) {
        case FieldType::Numeric:
        case FieldType::Float: {
            std::string_view t = trim(utf8);
            if (t.empty()) return encodeBlank(f, out);
            if (!formatNumberTextInto(t, f.length, f.decimals, out)) refuse(f, quoted(utf8));
            return;
        }
        case FieldType::Date: {
            std::string_view t = trim(utf8);
            if (t.empty()) return encodeBlank(f, out);
            Date d = parseDateField(t);
            if (t.size() != 8 || d.blank()) refuse(f, quoted(utf8));
            return encodeDate(f, d, out);
        }
        case FieldType::Logical: {
            std::string_view t = trim(utf8);
            char c = t.empty() ? ' ' : t[0];
            if (c == 't' || c == 'y') c = char(c - 32);
            if (c == 'f' || c == 'n') c = char(c - 32);
            if (c != 'T' && c != 'F' && c != 'Y' && c != 'N' && c != ' ' && c != '?')
                refuse(f, quoted(utf8));
            out[0] = c;
            return;
        }
        case FieldType::Memo:
            refuse(f, "text (memo fields are read-only here)");
        default: {
            const std::size_t length = std::size_t(f.length);
            if (standIns) {
                const std::size_t n = fromUtf8Into(utf8, cp, out, length, standInsUsed);
                std::memset(out + n, ' ', length - n);
                return;
            }
            // Converted in one pass that also tells whether a character is
            // missing from the code page; the field is written only when none is.
            char local[256];
            std::string large;
            char* converted = length <= sizeof local ? local : (large.resize(length), large.data());
            bool lacking = false;
            const std::size_t n = fromUtf8Into(utf8, cp, converted, length, &lacking);
            if (lacking)
                throw EngineError("The characters " + quoted(unencodableCharacters(utf8, cp)) +
                                  " cannot be stored in field " + f.name +
                                  ": the table's code page does not hold them.");
            std::memcpy(out, converted, n);
            std::memset(out + n, ' ', length - n);
        }
    }
}

void encodeInteger(const FieldInfo& f, std::int64_t value, CodePage cp, char* out) {
    if (isNumeric(f)) {
        if (!formatIntegerFieldInto(value, f.length, f.decimals, out))
            refuse(f, std::to_string(value));
        return;
    }
    // Text fields take the digits whole or not at all, as numeric fields do.
    const std::string digits = std::to_string(value);
    if (digits.size() > std::size_t(f.length)) refuse(f, digits);
    encodeText(f, digits, cp, out);
}

void encodeNumber(const FieldInfo& f, double value, CodePage cp, char* out) {
    if (!std::isfinite(value)) refuse(f, "(not a finite number)");
    if (isNumeric(f)) {
        auto s = formatNumberField(value, f.length, f.decimals);
        if (!s) refuse(f, std::to_string(value));
        std::memcpy(out, s->data(), std::size_t(f.length));
        return;
    }
    auto s = formatNumberField(value, 20, 4);
    const std::string digits = s ? std::string(trim(*s)) : std::to_string(value);
    if (digits.size() > std::size_t(f.length)) refuse(f, digits);
    encodeText(f, digits, cp, out);
}

void encodeDate(const FieldInfo& f, const Date& d, char* out) {
    if (d.blank()) return encodeBlank(f, out);
    if (!validDate(d))
        refuse(f, std::to_string(d.year) + "-" + std::to_string(d.month) + "-" +
                      std::to_string(d.day));
    char buf[8];
    const int parts[3][2] = {{d.year, 4}, {d.month, 2}, {d.day, 2}};
    char* p = buf;
    for (const auto& [value, width] : parts) {
        int v = value;
        for (int i = width - 1; i >= 0; --i, v /= 10) p[i] = char('0' + v % 10);
        p += width;
    }
    if (f.type == FieldType::Date) {
        std::memcpy(out, buf, 8);
        return;
    }
    if (f.length < 8) refuse(f, std::string(buf, 8));
    putPadded(std::string_view(buf, 8), f.length, out);
}

}  // namespace engine
