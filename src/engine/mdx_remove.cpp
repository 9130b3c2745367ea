// Removing one entry. Nodes are not merged: a node left empty is unlinked from
// its parent and its block stays unused until the next rebuild, as dBase does.
// Separator keys above a leaf whose last entry went are set to the new largest
// key, and a root left with a single child hands the root role to that child.
#include <array>
#include <cstring>

#include "engine/mdx_tree.h"

namespace engine::mdx {

bool MdxTree::remove(const char* key, std::uint32_t recno) {
    Path path;
    std::uint32_t leaf = 0;
    const int depth = descend(key, recno, path, leaf);
    char* n = node(leaf);
    const std::uint32_t c = count(n);
    const std::uint32_t pos = leafPosition(n, key, recno);
    if (pos == c || compareEntry(item(n, pos), key, recno) != 0) return false;

    const std::size_t il = std::size_t(itemLength_);
    std::memmove(item(n, pos), item(n, pos + 1), (c - pos - 1) * il);
    std::memset(item(n, c - 1), 0, il);
    put32(n + node::kCount, c - 1);

    if (c - 1 == 0) {
        if (depth == 0) {
            setHasKeys(false);
            return true;
        }
        unlinkChild(path, depth - 1);
        collapseRoot();
        refreshLeafEnds();
        if (count(node(root())) == 0) setHasKeys(false);
    } else if (pos == c - 1) {
        std::array<char, kMaxKeyLength> largest;
        std::memcpy(largest.data(), item(n, c - 2) + 4, std::size_t(keyLength_));
        replaceSeparators(path, depth - 1, largest.data());
    }
    return true;
}

// The subtree below path[level] got a new largest key: the nearest ancestor
// entry that names that subtree (one not reached through a trailing pointer)
// takes it.
void MdxTree::replaceSeparators(const Path& path, int level, const char* key) {
    for (; level >= 0; --level) {
        char* n = node(path[level].page);
        if (path[level].index < count(n)) {
            std::memcpy(item(n, path[level].index) + 4, key, std::size_t(keyLength_));
            return;
        }
    }
}

// Drops the child taken at path[level], which has become empty.
void MdxTree::unlinkChild(const Path& path, int level) {
    const std::size_t il = std::size_t(itemLength_);
    char* n = node(path[level].page);
    const std::uint32_t c = count(n);
    const std::uint32_t at = path[level].index;
    if (at < c) {
        // Entries after `at` and the trailing pointer move down one item.
        std::memmove(item(n, at), item(n, at + 1), (c - at - 1) * il + 4);
        std::memset(item(n, c - 1) + 4, 0, il);
        put32(n + node::kCount, c - 1);
        return;
    }
    if (c > 0) {
        // The last entry's child becomes the trailing child; its pointer is
        // already where the trailing pointer goes.
        std::array<char, kMaxKeyLength> largest;
        std::memcpy(largest.data(), item(n, c - 1) + 4, std::size_t(keyLength_));
        std::memset(item(n, c - 1) + 4, 0, il);
        put32(n + node::kCount, c - 1);
        replaceSeparators(path, level - 1, largest.data());
        return;
    }
    if (level > 0) {
        unlinkChild(path, level - 1);
        return;
    }
    std::memset(n, 0, kBlockSize);  // the whole tree is empty: a root leaf with no keys
}

void MdxTree::collapseRoot() {
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const char* n = checkedNode(root(), header_);
        if (isLeaf(n) || count(n) != 0) return;
        setRoot(child(n, 0));
    }
    tooDeep();
}

}  // namespace engine::mdx
