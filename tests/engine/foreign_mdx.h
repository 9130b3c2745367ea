// A production index as other dBase programs write it, built byte by byte from
// the published layout, independent of the engine's own writer: character,
// numeric (12-byte BCD) and date (8-byte double Julian day) keys, and the tag
// options the engine does not build (descending, unique, FOR filter).
//
// Each tag is one tag header block and one leaf, so a tag holds at most as
// many keys as one node takes (42 keys of 20 bytes, 63 numeric, 84 dates).
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace engine::testing {

struct ForeignTag {
    ForeignTag(std::string tagName, std::string keyExpression, char type, int length,
               bool isDescending = false, bool isUnique = false, std::string filter = {})
        : name(std::move(tagName)),
          expression(std::move(keyExpression)),
          keyType(type),
          keyLength(length),
          descending(isDescending),
          unique(isUnique),
          forExpression(std::move(filter)) {}

    std::string name;
    std::string expression;
    char keyType = 'C';
    int keyLength = 0;
    bool descending = false;
    bool unique = false;
    std::string forExpression;
    // Encoded keys with their record numbers, in the order the leaf holds them.
    std::vector<std::pair<std::string, std::uint32_t>> entries;
};

namespace foreign {

inline constexpr std::size_t kPage = 512;
inline constexpr std::size_t kBlock = 1024;

inline void put16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8 & 0xFF);
}
inline void put32(std::string& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}
inline void putText(std::string& b, std::size_t at, const std::string& s) {
    b.replace(at, s.size(), s);
}

}  // namespace foreign

// A numeric key: the value as 12-byte BCD (exponent byte, sign and digit
// count, then the significant digits two to a byte). Whole numbers only.
inline std::string bcdKey(long long value) {
    std::string key(12, '\0');
    if (value == 0) {
        key[0] = 0x34;
        key[1] = 0x01;
        return key;
    }
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -value : value);
    const int exponent = int(digits.size());
    while (digits.back() == '0') digits.pop_back();
    key[0] = char(0x34 + exponent);
    key[1] = char((negative ? 0x80 : 0) | int(digits.size()) << 2 | 1);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const int d = digits[i] - '0';
        key[2 + i / 2] = char(key[2 + i / 2] | (i % 2 == 0 ? d << 4 : d));
    }
    return key;
}

// A date key: the Julian day number as a little-endian IEEE double.
inline std::string dateKey(int year, int month, int day) {
    // Days from the civil date, then the Julian day of 1970-01-01 added.
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yoe = year - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const double jdn = double(era * 146097 + doe - 719468 + 2440588);
    std::string key(8, '\0');
    std::memcpy(key.data(), &jdn, 8);  // the machines this runs on are little-endian
    return key;
}

// The bytes of an index for table `tableName` holding `tags`.
inline std::string foreignMdx(const std::string& tableName, const std::vector<ForeignTag>& tags) {
    const std::size_t pages = 4 + 4 * tags.size();
    std::string b(pages * foreign::kPage, '\0');
    b[0] = 2;
    b[1] = char(124);
    b[2] = 12;
    b[3] = 7;
    foreign::putText(b, 4, tableName);
    foreign::put16(b, 20, 2);
    foreign::put16(b, 22, 1024);
    b[24] = 1;
    b[25] = 0x30;
    b[26] = 0x20;
    foreign::put16(b, 28, std::uint32_t(tags.size()));
    b[31] = 0x57;
    foreign::put32(b, 32, std::uint32_t(pages));
    b[44] = char(124);
    b[45] = 12;
    b[46] = 7;
    b[529] = 1;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const ForeignTag& t = tags[i];
        const std::size_t itemLength = (std::size_t(t.keyLength) + 4 + 3) / 4 * 4;
        const std::size_t maxKeys = (foreign::kBlock - 12) / itemLength;
        if (t.entries.size() > maxKeys) throw std::runtime_error("too many keys for one leaf");
        const std::uint32_t headerPage = std::uint32_t(4 + 4 * i), leafPage = headerPage + 2;
        const std::size_t slot = 544 + 32 * i;
        foreign::put32(b, slot, headerPage);
        foreign::putText(b, slot + 4, t.name);
        b[slot + 15] = 0x10;
        if (i > 0) {  // every later tag hangs to the right of the one before it
            b[slot - 32 + 17] = char(i + 1);
            b[slot + 18] = char(i);
        }
        b[slot + 19] = 2;
        b[slot + 20] = t.keyType;
        const std::size_t h = headerPage * foreign::kPage;
        foreign::put32(b, h, leafPage);
        b[h + 8] = char(0x10 | (t.descending ? 0x08 : 0) | (t.unique ? 0x40 : 0));
        b[h + 9] = t.keyType;
        foreign::put16(b, h + 12, std::uint32_t(t.keyLength));
        foreign::put16(b, h + 14, std::uint32_t(maxKeys));
        foreign::put16(b, h + 16, t.keyType == 'D' ? 1 : 0);
        foreign::put16(b, h + 18, std::uint32_t(itemLength));
        b[h + 20] = 1;
        b[h + 23] = t.unique ? 0x40 : 0;
        foreign::putText(b, h + 24, t.expression);
        if (!t.forExpression.empty()) {
            b[h + 245] = 1;
            foreign::putText(b, h + 762, t.forExpression);
        }
        b[h + 246] = t.entries.empty() ? 0 : 1;
        foreign::put32(b, h + 248, leafPage);
        foreign::put32(b, h + 252, leafPage);
        const std::size_t leaf = leafPage * foreign::kPage;
        foreign::put32(b, leaf, std::uint32_t(t.entries.size()));
        for (std::size_t k = 0; k < t.entries.size(); ++k) {
            const std::size_t item = leaf + 8 + k * itemLength;
            foreign::put32(b, item, t.entries[k].second);
            std::string key = t.entries[k].first;
            key.resize(std::size_t(t.keyLength), t.keyType == 'C' ? ' ' : '\0');
            foreign::putText(b, item + 4, key);
        }
    }
    return b;
}

}  // namespace engine::testing
