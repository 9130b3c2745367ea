#include "interchange/tellico_entry_scanner.h"

#include <array>
#include <cstring>

#include "interchange/tellico_xml_chars.h"

namespace interchange::tellico {

namespace {

// What a byte of text asks of the scanner; kPlain ones are passed over.
enum : unsigned char { kPlain, kLt, kAmp, kGt, kNl, kCr, kHigh, kBad };

constexpr std::array<unsigned char, 256> byteClasses() {
    std::array<unsigned char, 256> c{};
    for (int b = 0; b < 0x20; ++b) c[std::size_t(b)] = kBad;
    c['\t'] = kPlain;
    c['\n'] = kNl;
    c['\r'] = kCr;
    c['<'] = kLt;
    c['&'] = kAmp;
    c['>'] = kGt;
    for (int b = 0x80; b < 0x100; ++b) c[std::size_t(b)] = kHigh;
    return c;
}
constexpr std::array<unsigned char, 256> kClass = byteClasses();

unsigned char cls(const char* p) {
    return kClass[static_cast<unsigned char>(*p)];
}

// 1: may start a name, 2: may go on in one (ASCII only).
constexpr std::array<unsigned char, 256> nameClasses() {
    std::array<unsigned char, 256> c{};
    for (int b = 'A'; b <= 'Z'; ++b) c[std::size_t(b)] = 3;
    for (int b = 'a'; b <= 'z'; ++b) c[std::size_t(b)] = 3;
    c['_'] = 3;
    for (int b = '0'; b <= '9'; ++b) c[std::size_t(b)] = 2;
    c['-'] = c['.'] = 2;
    return c;
}
constexpr std::array<unsigned char, 256> kName = nameClasses();

bool nameStart(char c) {
    return kName[static_cast<unsigned char>(c)] & 1;
}
bool nameChar(char c) {
    return kName[static_cast<unsigned char>(c)] & 2;
}

}  // namespace

bool EntryScanner::fail(bool needMore) {
    needMore_ = needMore;
    return false;
}

// A CR LF or a lone CR at p_: one line end.
#define TELLICO_LINE_END_AT_CR()               \
    do {                                       \
        if (p_ + 1 >= end_) return fail(true); \
        p_ += p_[1] == '\n' ? 2 : 1;           \
        ++newlines_;                           \
        lineStart_ = p_;                       \
    } while (false)

bool EntryScanner::blanks() {
    for (;;) {
        if (p_ >= end_) return fail(true);
        const char c = *p_;
        if (c == ' ' || c == '\t') {
            ++p_;
        } else if (c == '\n') {
            ++p_;
            ++newlines_;
            lineStart_ = p_;
        } else if (c == '\r') {
            TELLICO_LINE_END_AT_CR();
        } else {
            return true;
        }
    }
}

bool EntryScanner::name(std::string_view& out) {
    const char* from = p_;
    if (p_ >= end_) return fail(true);
    if (!nameStart(*p_)) return fail(false);
    while (p_ < end_ && nameChar(*p_)) ++p_;
    if (p_ >= end_) return fail(true);
    // A namespace prefix, or a name going on in letters outside ASCII.
    if (*p_ == ':' || static_cast<unsigned char>(*p_) >= 0x80) return fail(false);
    out = std::string_view(from, std::size_t(p_ - from));
    return true;
}

bool EntryScanner::reference() {
    const char* q = p_ + 1;
    if (end_ - q < 6) return fail(true);  // the longest named one and room to tell
    if (*q != '#') {
        for (const NamedEntity& n : kNamedEntities)
            if (std::memcmp(q, n.text.data(), n.text.size()) == 0) {
                p_ = q + n.text.size();
                return true;
            }
        return fail(false);
    }
    ++q;
    int base = 10;
    if (*q == 'x') {
        base = 16;
        ++q;
    }
    std::uint32_t v = 0;
    int digits = 0;
    for (; q < end_ && digitValue(*q, base) >= 0; ++q) {
        if (++digits > 7) return fail(false);
        v = v * std::uint32_t(base) + std::uint32_t(digitValue(*q, base));
    }
    if (q >= end_) return fail(true);
    if (*q != ';' || digits == 0 || !isXmlChar(v)) return fail(false);
    p_ = q + 1;
    return true;
}

bool EntryScanner::startTag(Tag& tag) {
    ++p_;  // '<'
    if (!name(tag.name)) return false;
    if (*p_ == '>') {  // most tags
        ++p_;
        tag.empty = false;
        return true;
    }
    std::string_view seen[8];
    std::size_t attributes = 0;
    for (;;) {
        const char* before = p_;
        if (!blanks()) return false;
        if (*p_ == '>') {
            ++p_;
            tag.empty = false;
            return true;
        }
        if (*p_ == '/') {
            if (p_ + 1 >= end_) return fail(true);
            if (p_[1] != '>') return fail(false);
            p_ += 2;
            tag.empty = true;
            return true;
        }
        std::string_view attribute;
        if (p_ == before) return fail(false);  // attributes stand apart
        if (!name(attribute)) return false;
        if (attribute.substr(0, 5) == "xmlns" || attributes == std::size(seen)) return fail(false);
        for (std::size_t k = 0; k < attributes; ++k)
            if (seen[k] == attribute) return fail(false);
        seen[attributes++] = attribute;
        if (!blanks()) return false;
        if (*p_ != '=') return fail(false);
        ++p_;
        if (!blanks()) return false;
        const char quote = *p_;
        if (quote != '"' && quote != '\'') return fail(false);
        ++p_;
        for (;;) {
            while (p_ < end_ && cls(p_) == kPlain && *p_ != quote) ++p_;
            if (p_ >= end_) return fail(true);
            if (*p_ == quote) {
                ++p_;
                break;
            }
            if (cls(p_) == kLt || !special(nullptr)) return fail(needMore_);
        }
    }
}

bool EntryScanner::endTag(std::string_view expected) {
    p_ += 2;  // "</"
    const std::size_t n = expected.size();
    if (std::size_t(end_ - p_) <= n) return fail(true);
    for (std::size_t i = 0; i < n; ++i)
        if (p_[i] != expected[i]) return fail(false);
    p_ += n;
    if (nameChar(*p_) || *p_ == ':' || static_cast<unsigned char>(*p_) >= 0x80) return fail(false);
    if (*p_ == '>') {
        ++p_;
        return true;
    }
    if (!blanks()) return false;
    if (*p_ != '>') return fail(false);
    ++p_;
    return true;
}

bool EntryScanner::text(Text& out) {
    out.begin = p_;
    out.plain = true;
    for (;;) {
        while (p_ < end_ && cls(p_) == kPlain) ++p_;
        if (p_ >= end_) return fail(true);
        if (cls(p_) == kLt) {
            out.end = p_;
            return true;
        }
        if (!special(&out)) return false;
    }
}

bool EntryScanner::special(Text* text) {
    switch (cls(p_)) {
        case kAmp:
            if (text) text->plain = false;
            return reference();
        case kGt:  // "]]>" may not stand in text
            if (text && p_ - text->begin >= 2 && p_[-1] == ']' && p_[-2] == ']') return fail(false);
            ++p_;
            return true;
        case kNl:
            ++p_;
            ++newlines_;
            lineStart_ = p_;
            return true;
        case kCr:
            if (text) text->plain = false;
            TELLICO_LINE_END_AT_CR();
            return true;
        case kHigh: {
            const int n = utf8CharLength(p_, end_);
            if (n <= 0) return fail(n < 0);
            p_ += n;
            return true;
        }
        default:  // a control character
            return fail(false);
    }
}

#undef TELLICO_LINE_END_AT_CR

std::string_view EntryScanner::decoded(const Text& t, std::string& buffer) const {
    if (t.plain) return std::string_view(t.begin, std::size_t(t.end - t.begin));
    buffer.clear();
    for (const char* p = t.begin; p < t.end;) {
        if (*p == '&') {
            std::size_t length = 0;
            appendUtf8(buffer, resolveReference(p, length));
            p += length;
        } else if (*p == '\r') {
            buffer += '\n';
            p += p + 1 < t.end && p[1] == '\n' ? 2 : 1;
        } else {
            buffer += *p++;
        }
    }
    return buffer;
}

bool EntryScanner::plainField(Entry& entry) {
    // <F>TEXT</F> with TEXT on one line without references: most fields, taken in one go; anything
    // else is left to startTag() and value().
    const char* q = p_ + 1;
    if (q >= end_ || !nameStart(*q)) return false;
    const char* name = q;
    while (q < end_ && nameChar(*q)) ++q;
    if (q >= end_ || *q != '>') return false;
    const auto n = std::size_t(q - name);
    const char* text = ++q;
    for (;;) {
        while (q < end_ && cls(q) == kPlain) ++q;
        if (q >= end_ || cls(q) != kHigh) break;
        const int length = utf8CharLength(q, end_);
        if (length <= 0) return false;
        q += length;
    }
    if (std::size_t(end_ - q) < n + 3 || q[0] != '<' || q[1] != '/' || q[2 + n] != '>')
        return false;
    for (std::size_t i = 0; i < n; ++i)  // names are short: no call to memcmp
        if (q[2 + i] != name[i]) return false;
    entry.add(std::string_view(name, n), std::string_view(text, std::size_t(q - text)));
    p_ = q + 3 + n;
    return true;
}

bool EntryScanner::partText(std::string_view element, Text& out) {
    if (!text(out)) return false;
    if (p_ + 1 >= end_) return fail(true);
    if (p_[1] != '/') return fail(false);  // an element or markup inside a part
    return endTag(element);
}

bool EntryScanner::value(std::string_view element, int depth, Entry& entry) {
    if (depth >= int(parts_.size())) return fail(false);
    std::string& parts = parts_[std::size_t(depth)];
    std::vector<std::size_t>& ends = partEnds_[std::size_t(depth)];
    parts.clear();
    ends.clear();
    bool hadChildren = false;
    bool dateParts = true;
    Text whole;
    for (;;) {
        // Most values are plain text: passed over here, the rest by text().
        Text t;
        const char* q = p_;
        while (q < end_ && cls(q) == kPlain) ++q;
        if (q < end_ && *q == '<') {
            t.begin = p_;
            t.end = p_ = q;
        } else if (!text(t)) {
            return false;
        }
        if (!hadChildren) whole = t;
        if (p_ + 1 >= end_) return fail(true);
        if (p_[1] == '/') {
            if (!endTag(element)) return false;
            break;
        }
        if (p_[1] == '!' || p_[1] == '?') return fail(false);
        Tag child;
        if (!startTag(child)) return false;
        hadChildren = true;
        const bool plural = element.size() == child.name.size() + 1 && element.back() == 's' &&
                            element.substr(0, child.name.size()) == child.name;
        if (plural) {
            if (child.empty)
                entry.add(child.name, {});
            else if (!value(child.name, depth + 1, entry))
                return false;
            continue;
        }
        dateParts =
            dateParts && (child.name == "year" || child.name == "month" || child.name == "day");
        if (!child.empty) {
            Text part;
            if (!partText(child.name, part)) return false;
            parts += decoded(part, scratch_);
        }
        ends.push_back(parts.size());
    }
    if (!hadChildren) {
        entry.add(element, decoded(whole, scratch_));
    } else if (!ends.empty()) {
        joined_.clear();
        std::size_t from = 0;
        for (std::size_t k = 0; k < ends.size(); ++k) {
            if (k > 0) joined_ += dateParts ? "-" : "::";
            joined_.append(parts, from, ends[k] - from);
            from = ends[k];
        }
        entry.add(element, joined_);
    }
    return true;
}

ScannedEntry EntryScanner::scan(std::string_view text, Entry& entry) {
    entry.clear();
    const char* begin = text.data();
    p_ = begin;
    end_ = begin + text.size();
    needMore_ = false;
    newlines_ = 0;
    lineStart_ = begin;
    ScannedEntry out;
    const auto body = [&]() {
        Tag e;
        if (!startTag(e)) return false;
        if (e.name != "entry") return fail(false);
        if (e.empty) return true;
        for (;;) {
            if (!blanks()) return false;
            if (*p_ != '<') return fail(false);  // text beside the fields
            if (p_ + 1 >= end_) return fail(true);
            if (p_[1] == '/') return endTag("entry");
            if (p_[1] == '!' || p_[1] == '?') return fail(false);
            if (plainField(entry)) continue;
            Tag field;
            if (!startTag(field)) return false;
            if (field.empty)
                entry.add(field.name, {});
            else if (!value(field.name, 1, entry))
                return false;
        }
    };
    if (!body()) {
        out.result = needMore_ ? ScanResult::kNeedMore : ScanResult::kRefused;
        return out;
    }
    out.result = ScanResult::kAccepted;
    out.length = std::size_t(p_ - begin);
    out.newlines = newlines_;
    for (const char* p = lineStart_; p < p_; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        out.lastLineUnits += (b & 0xC0) != 0x80;
        out.lastLineUnits += b >= 0xF0;  // a character outside the basic plane: two units
    }
    return out;
}

}  // namespace interchange::tellico
