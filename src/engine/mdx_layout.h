// On-disk layout of the production index: offsets of the file header, the tag
// table, the tag header block and B-tree nodes, with little-endian accessors.
//
// Contract: pure constants and byte helpers; callers check that every offset
// they pass lies inside the mapping. Nothing here allocates or throws.
#pragma once

#include <cstdint>
#include <cstring>

namespace engine::mdx {

constexpr std::uint32_t kPageSize = 512;
constexpr std::uint32_t kBlockSize = 1024;
constexpr std::uint32_t kPagesPerBlock = kBlockSize / kPageSize;
constexpr std::uint32_t kFirstDataPage = 4;  // pages 0-3: header and tag table
constexpr int kMaxTags = 47;
constexpr int kMaxTagName = 10;
constexpr int kMaxKeyLength = 100;
constexpr int kMaxExpression = 220;  // characters before the terminating NUL
constexpr int kMaxDepth = 16;        // deeper trees are treated as damaged

// File header (page 0).
namespace hdr {
constexpr int kVersion = 0;    // u8, 2
constexpr int kCreated = 1;    // YY MM DD
constexpr int kTableName = 4;  // 16 bytes, NUL padded
constexpr int kTableNameSize = 16;
constexpr int kBlockPages = 20;    // u16, 2
constexpr int kBlockBytes = 22;    // u16, 1024
constexpr int kProduction = 24;    // u8, 1
constexpr int kSlotCount = 25;     // u8, 48
constexpr int kSlotLength = 26;    // u8, 32
constexpr int kTagsInUse = 28;     // u16
constexpr int kLanguage = 31;      // u8
constexpr int kPageCount = 32;     // u32
constexpr int kFreeList = 36;      // u32
constexpr int kUpdated = 44;       // YY MM DD
constexpr int kSlot0Marker = 529;  // u8, 1
// Our consistency stamp in the header's unused bytes.
constexpr int kStampMagic = 48;     // "TSL2"
constexpr int kStampCount = 52;     // u32 table record count
constexpr int kStampChanging = 56;  // u8, 1 while a change is in progress
constexpr int kStampDeleted = 60;   // u32 records marked deleted, 0xFFFFFFFF unknown
constexpr char kMagic[4] = {'T', 'S', 'L', '2'};
}  // namespace hdr

// Tag table slot i at kTagTable + 32 * i.
namespace slot {
constexpr int kTagTable = 544;
constexpr int kLength = 32;
constexpr int kHeaderPage = 0;  // u32
constexpr int kName = 4;        // 11 bytes, NUL padded
constexpr int kKeyFormat = 15;  // u8, 0x10
constexpr int kLess = 16;       // u8, 1-based slot of the "less than" child
constexpr int kGreater = 17;    // u8
constexpr int kParent = 18;     // u8
constexpr int kReserved2 = 19;  // u8, 2
constexpr int kKeyType = 20;    // 'C', 'N' or 'D'
}  // namespace slot

// Tag header block.
namespace tag {
constexpr int kRoot = 0;         // u32 page
constexpr int kKeyFormat = 8;    // u8, 0x10
constexpr int kKeyType = 9;      // 'C'
constexpr int kLanguage = 11;    // u8
constexpr int kKeyLength = 12;   // u16
constexpr int kMaxKeys = 14;     // u16
constexpr int kItemLength = 18;  // u16
constexpr int kCounter = 20;     // u8, incremented on rebuild
constexpr int kUnique = 23;      // u8, non-zero for a unique tag
constexpr int kExpression = 24;  // NUL-terminated
constexpr int kHasFilter = 245;  // u8, 1 when a FOR expression follows
constexpr int kHasKeys = 246;    // u8
constexpr int kFirstLeaf = 248;  // u32 page
constexpr int kLastLeaf = 252;   // u32 page
constexpr int kDate = 257;       // YY MM DD
constexpr int kFilter = 762;     // FOR expression, NUL-terminated
constexpr int kFilterSize = 220;
// Key format flags (kKeyFormat).
constexpr unsigned char kDescendingFlag = 0x08;
constexpr unsigned char kUniqueFlag = 0x40;
}  // namespace tag

// B-tree node block: [u32 count][u32 0][items...][u32 right child if interior].
namespace node {
constexpr int kCount = 0;
constexpr int kItems = 8;
}  // namespace node

inline std::uint32_t get32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}
inline std::uint16_t get16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint16_t(b[0] | b[1] << 8);
}
inline void put32(char* p, std::uint32_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8 & 0xFF);
    p[2] = char(v >> 16 & 0xFF);
    p[3] = char(v >> 24 & 0xFF);
}
inline void put16(char* p, std::uint16_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8 & 0xFF);
}

// Item length for a key: key + 4-byte pointer, rounded up to a multiple of 4.
constexpr int itemLengthFor(int keyLength) {
    return (keyLength + 4 + 3) / 4 * 4;
}
// Keys per node: what fits in a block after the 8-byte node header and the
// trailing 4-byte right-child pointer.
constexpr int maxKeysFor(int itemLength) {
    return int(kBlockSize - 12) / itemLength;
}

}  // namespace engine::mdx
