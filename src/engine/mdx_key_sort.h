// Sorting of staged index entries by (key bytes unsigned, record number)
// without holding the keys on the heap.
//
// Contract: the keys live in a staging area of fixed-length items
// ([4-byte record number][key]) that the caller owns and keeps unchanged
// while sorting. The caller fills one SortEntry per item with its staging
// slot (slot order = record number order) and the key's first 8 bytes
// (prefixOf); sortStagedKeys() reorders the entries. It may run on two
// threads; it throws only std::bad_alloc.
#pragma once

#include <cstdint>
#include <vector>

namespace engine::mdx {

struct SortEntry {
    std::uint32_t high;  // 8 key bytes from the current depth, big-endian, so
    std::uint32_t low;   // that integer order is byte order
    std::uint32_t slot;
};

// Fills high/low with key bytes [offset, offset + 8), zero past the key.
void setPrefix(SortEntry& entry, const char* key, int keyLength, int offset);

void sortStagedKeys(std::vector<SortEntry>& entries, const char* stage, int itemLength,
                    int keyLength);

}  // namespace engine::mdx
