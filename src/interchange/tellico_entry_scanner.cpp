#include "interchange/tellico_entry_scanner.h"

#include <array>
#include <cstring>

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

bool xmlChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The length of the UTF-8 sequence at `p` (a byte of 0x80 or more) when it is valid and a
// character XML allows; 0 when not, -1 when it runs past `end`.
int utf8Length(const char* p, const char* end) {
    const auto b = static_cast<unsigned char>(p[0]);
    int n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) lo = 0xA0;
        if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (end - p < n) return -1;
    const auto b1 = static_cast<unsigned char>(p[1]);
    if (b1 < lo || b1 > hi) return 0;
    for (int k = 2; k < n; ++k)
        if ((static_cast<unsigned char>(p[k]) & 0xC0) != 0x80) return 0;
    // U+FFFE and U+FFFF are no characters.
    if (b == 0xEF && b1 == 0xBF && static_cast<unsigned char>(p[2]) >= 0xBE) return 0;
    return n;
}

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

int digitOf(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct Named {
    std::string_view text;  // after '&'
    char value;
};
constexpr Named kEntities[] = {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'},
                               {"apos;", '\''}};

// The reference at `p` ('&', already checked by the scanner): the character it stands for and
// the length of the reference.
std::uint32_t resolve(const char* p, std::size_t& length) {
    if (p[1] != '#') {
        for (const Named& n : kEntities)
            if (std::memcmp(p + 1, n.text.data(), n.text.size()) == 0) {
                length = n.text.size() + 1;
                return std::uint32_t(static_cast<unsigned char>(n.value));
            }
    }
    const int base = p[2] == 'x' ? 16 : 10;
    const char* q = p + (base == 16 ? 3 : 2);
    std::uint32_t v = 0;
    for (; *q != ';'; ++q) v = v * std::uint32_t(base) + std::uint32_t(digitOf(*q, base));
    length = std::size_t(q + 1 - p);
    return v;
}

}  // namespace

bool EntryScanner::fail(bool needMore) {
    needMore_ = needMore;
    return false;
}

// A CR LF or a lone CR at p_: one line end.
#define TELLICO_LINE_END_AT_CR()                      \
    do {                                              \
        if (p_ + 1 >= end_) return fail(true);        \
        p_ += p_[1] == '\n' ? 2 : 1;                  \
        ++newlines_;                                  \
        lineStart_ = p_;                              \
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
        for (const Named& n : kEntities)
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
    for (; q < end_ && digitOf(*q, base) >= 0; ++q) {
        if (++digits > 7) return fail(false);
        v = v * std::uint32_t(base) + std::uint32_t(digitOf(*q, base));
    }
    if (q >= end_) return fail(true);
    if (*q != ';' || digits == 0 || !xmlChar(v)) return fail(false);
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
            if (text && p_ - text->begin >= 2 && p_[-1] == ']' && p_[-2] == ']')
                return fail(false);
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
            const int n = utf8Length(p_, end_);
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
            appendUtf8(buffer, resolve(p, length));
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
        Text t;
        if (!text(t)) return false;
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
        dateParts = dateParts &&
                    (child.name == "year" || child.name == "month" || child.name == "day");
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

std::size_t startTagEnd(std::string_view text, std::size_t from) {
    char quote = 0;
    for (std::size_t q = from; q < text.size(); ++q) {
        const char c = text[q];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return q;
        } else if (c == '<') {
            return kNoTagEnd;
        }
    }
    return std::string_view::npos;
}

SkimmedElement skimElement(std::string_view text) {
    SkimmedElement out;
    const std::size_t n = text.size();
    std::size_t p = 0;
    int depth = 0;
    const auto past = [&](std::string_view marker, std::size_t from) {
        const std::size_t at = text.find(marker, from);
        return at == std::string_view::npos ? at : at + marker.size();
    };
    for (;;) {
        p = text.find('<', p);
        if (p == std::string_view::npos || n - p < 9) {
            out.result = ScanResult::kNeedMore;
            return out;
        }
        std::size_t next = std::string_view::npos;
        if (text.compare(p, 4, "<!--") == 0) {
            next = past("-->", p + 4);
        } else if (text.compare(p, 9, "<![CDATA[") == 0) {
            next = past("]]>", p + 9);
        } else if (text[p + 1] == '!') {
            return out;  // a declaration: not in an element
        } else if (text[p + 1] == '?') {
            next = past("?>", p + 2);
        } else if (text[p + 1] == '/') {
            next = past(">", p + 2);
            if (next != std::string_view::npos && --depth <= 0) {
                if (depth < 0) return out;
                out.result = ScanResult::kAccepted;
                out.length = next;
                return out;
            }
        } else {
            const std::size_t q = startTagEnd(text, p + 1);
            if (q == kNoTagEnd) return out;
            if (q != std::string_view::npos) {
                next = q + 1;
                if (text[q - 1] != '/') {
                    ++depth;
                } else if (depth == 0) {
                    out.result = ScanResult::kAccepted;
                    out.length = next;
                    return out;
                }
            }
        }
        if (next == std::string_view::npos) {
            out.result = ScanResult::kNeedMore;
            return out;
        }
        p = next;
    }
}

}  // namespace interchange::tellico
