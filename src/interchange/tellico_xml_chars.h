// Characters of XML text as the entry scanner checks and decodes them: the characters XML allows,
// UTF-8 sequences, and references to the predefined entities and to characters by number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace interchange::tellico {

// A character XML 1.0 allows.
bool isXmlChar(std::uint32_t c);

// The length of the UTF-8 sequence at `p` (a byte of 0x80 or more) when it is valid and a
// character XML allows; 0 when not, -1 when it runs past `end`.
int utf8CharLength(const char* p, const char* end);

void appendUtf8(std::string& out, std::uint32_t c);

// The value of digit `c` in `base` (10 or 16), or -1.
int digitValue(char c, int base);

struct NamedEntity {
    std::string_view text;  // after '&'
    char value;
};
extern const NamedEntity kNamedEntities[5];

// The reference at `p` ('&', already checked): the character it stands for, and its length.
std::uint32_t resolveReference(const char* p, std::size_t& length);

}  // namespace interchange::tellico
