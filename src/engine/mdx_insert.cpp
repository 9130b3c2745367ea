// Inserting one entry: in-node memmove, leaf and interior splits, new root.
//
// Splits keep the left half in the old block and put the right half in a new
// block appended to the file, so the first leaf never changes. A split on the
// right edge of the tree caused by an append leaves the left node (nearly)
// full, so adding records in key order packs nodes as densely as a bulk build.
#include <array>
#include <cstring>

#include "engine/mdx_tree.h"

namespace engine::mdx {
namespace {

// Room for a full node plus the entry being added.
using NodeImage = std::array<char, kBlockSize + 2 * (kMaxKeyLength + 4)>;

void writeItem(char* at, std::uint32_t pointer, const char* key, int keyLength, int itemLength) {
    put32(at, pointer);
    std::memcpy(at + 4, key, std::size_t(keyLength));
    std::memset(at + 4 + keyLength, 0, std::size_t(itemLength - 4 - keyLength));
}

}  // namespace

void MdxTree::insert(const char* key, std::uint32_t recno, bool newest) {
    Path path;
    std::uint32_t leaf = 0;
    const int depth = descend(key, recno, path, leaf, newest);
    // A split takes a block for the leaf, one for each interior level that
    // splits in turn and one for a new root: room for all of them is made
    // before anything changes, so a full disk leaves the tree as it was.
    if (count(node(leaf)) >= std::uint32_t(maxKeys_))
        file_->reserveBlocks(std::uint32_t(depth) + 1);
    char* n = node(leaf);
    const std::uint32_t c = count(n);
    const std::uint32_t pos = leafPosition(n, key, recno);
    setHasKeys(true);
    if (c < std::uint32_t(maxKeys_)) {
        std::memmove(item(n, pos + 1), item(n, pos), std::size_t(c - pos) * itemLength_);
        writeItem(item(n, pos), recno, key, keyLength_, itemLength_);
        put32(n + node::kCount, c + 1);
        return;
    }
    splitLeaf(path, depth, leaf, pos, key, recno);
}

void MdxTree::splitLeaf(const Path& path, int depth, std::uint32_t leaf, std::uint32_t pos,
                        const char* key, std::uint32_t recno) {
    NodeImage image;
    const char* n = node(leaf);
    const std::uint32_t c = count(n);
    const std::size_t il = std::size_t(itemLength_);
    std::memcpy(image.data(), item(n, 0), pos * il);
    writeItem(image.data() + pos * il, recno, key, keyLength_, itemLength_);
    std::memcpy(image.data() + (pos + 1) * il, item(n, pos), (c - pos) * il);

    const std::uint32_t total = c + 1;
    const bool wasLast = leaf == lastLeaf();
    const std::uint32_t leftCount = (wasLast && pos == c) ? c : total / 2;
    const std::uint32_t right = file_->allocateBlocks(1);  // may move the mapping

    char* l = node(leaf);
    std::memset(l + node::kItems, 0, kBlockSize - node::kItems);
    std::memcpy(l + node::kItems, image.data(), leftCount * il);
    put32(l + node::kCount, leftCount);
    char* r = node(right);
    std::memcpy(r + node::kItems, image.data() + leftCount * il, (total - leftCount) * il);
    put32(r + node::kCount, total - leftCount);
    if (wasLast) put32(tagHeader() + tag::kLastLeaf, right);

    insertIntoParent(path, depth - 1, image.data() + (leftCount - 1) * il + 4, leaf, right);
}

// The child at path[level] was split into `left` (its old block, largest key
// `separator`) and `right`: the parent gets the entry (separator, left) and
// its pointer to the old block now points to `right`.
void MdxTree::insertIntoParent(const Path& path, int level, const char* separator,
                               std::uint32_t left, std::uint32_t right) {
    const std::size_t il = std::size_t(itemLength_);
    if (level < 0) {
        const std::uint32_t top = file_->allocateBlocks(1);
        char* n = node(top);
        put32(n + node::kCount, 1);
        writeItem(item(n, 0), left, separator, keyLength_, itemLength_);
        put32(item(n, 1), right);
        setRoot(top);
        return;
    }
    const std::uint32_t page = path[level].page;
    const std::uint32_t at = path[level].index;
    char* n = node(page);
    const std::uint32_t c = count(n);
    if (c + 1 <= std::uint32_t(maxKeys_ - 1)) {
        // Shift the entries from `at` on, and the trailing pointer, one item up.
        std::memmove(item(n, at + 1), item(n, at), (c - at) * il + 4);
        put32(item(n, at + 1), right);
        writeItem(item(n, at), left, separator, keyLength_, itemLength_);
        put32(n + node::kCount, c + 1);
        return;
    }

    NodeImage image;
    std::memcpy(image.data(), item(n, 0), at * il);
    writeItem(image.data() + at * il, left, separator, keyLength_, itemLength_);
    std::memcpy(image.data() + (at + 1) * il, item(n, at), (c - at) * il + 4);
    put32(image.data() + (at + 1) * il, right);

    // Keys 0..m-1 stay with the trailing pointer taken from entry m, whose key
    // becomes the separator of the left half; keys m+1.. move right.
    const std::uint32_t total = c + 1;
    const std::uint32_t m = (at == c && onRightEdge(path, level)) ? total - 2 : total / 2;
    std::array<char, kMaxKeyLength> upKey;
    std::memcpy(upKey.data(), image.data() + m * il + 4, std::size_t(keyLength_));

    const std::uint32_t sibling = file_->allocateBlocks(1);  // may move the mapping
    char* l = node(page);
    std::memset(l + node::kItems, 0, kBlockSize - node::kItems);
    std::memcpy(l + node::kItems, image.data(), m * il + 4);
    put32(l + node::kCount, m);
    char* r = node(sibling);
    std::memcpy(r + node::kItems, image.data() + (m + 1) * il, (total - m - 1) * il + 4);
    put32(r + node::kCount, total - m - 1);

    insertIntoParent(path, level - 1, upKey.data(), page, sibling);
}

}  // namespace engine::mdx
