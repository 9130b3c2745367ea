#include "interchange/tellico_xml_chars.h"

#include <cstring>

namespace interchange::tellico {

bool isXmlChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The length of the UTF-8 sequence at `p` (a byte of 0x80 or more) when it is valid and a
// character XML allows; 0 when not, -1 when it runs past `end`.
int utf8CharLength(const char* p, const char* end) {
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

int digitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const NamedEntity kNamedEntities[5] = {
    {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};

// The reference at `p` ('&', already checked by the scanner): the character it stands for and
// the length of the reference.
std::uint32_t resolveReference(const char* p, std::size_t& length) {
    if (p[1] != '#') {
        for (const NamedEntity& n : kNamedEntities)
            if (std::memcmp(p + 1, n.text.data(), n.text.size()) == 0) {
                length = n.text.size() + 1;
                return std::uint32_t(static_cast<unsigned char>(n.value));
            }
    }
    const int base = p[2] == 'x' ? 16 : 10;
    const char* q = p + (base == 16 ? 3 : 2);
    std::uint32_t v = 0;
    for (; *q != ';'; ++q) v = v * std::uint32_t(base) + std::uint32_t(digitValue(*q, base));
    length = std::size_t(q + 1 - p);
    return v;
}

}  // namespace interchange::tellico
