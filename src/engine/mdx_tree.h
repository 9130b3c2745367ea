// One tag's B-tree inside the mapped index file: its tag header geometry and
// the algorithms that build, change, walk and check the tree.
//
// Contract:
//  - The tree does not own the mapping; it holds the tag header's page number
//    and re-derives every pointer from page numbers, so it stays valid when
//    the mapping moves.
//  - The constructor validates the tag header (key length, item length, max
//    keys, root page); every walk and descent checks each node it reaches
//    (page inside the file, key count within the node, depth at most 16, no
//    node visited twice) and raises the file's "damaged" EngineError.
//  - Leaf entries are ordered by (key bytes unsigned, record number). Interior
//    entries hold the largest key of their child's subtree; interior nodes
//    hold at most maxKeys - 1 keys plus the trailing right-child pointer.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/mdx_file.h"
#include "engine/mdx_layout.h"
#include "engine/mdx_mapping.h"

namespace engine::mdx {

class MdxTree {
  public:
    MdxTree(MdxMapping& file, std::uint32_t headerPage, std::string name);

    std::uint32_t headerPage() const { return header_; }
    int keyLength() const { return keyLength_; }
    int itemLength() const { return itemLength_; }
    int maxKeys() const { return maxKeys_; }
    char keyType() const { return keyType_; }

    // Bulk build of an empty tag from records 1..count (mdx_build.cpp).
    void build(std::uint32_t count, const KeyProducer& keyOf);
    // Incremental changes (mdx_btree.cpp, mdx_remove.cpp).
    // `newest`: `recno` is above every record number in the tree, so the
    // entry goes after all equal keys (see MdxFile::insertKey).
    void insert(const char* key, std::uint32_t recno, bool newest = false);
    bool remove(const char* key, std::uint32_t recno);

    using LeafVisitor = std::function<void(const char* items, std::uint32_t count)>;
    // Calls `visit` for every leaf in key order, checking every node reached.
    void walkLeaves(const LeafVisitor& visit) const;
    // Checks the root node only (page in the file, key count in range).
    void checkRoot() const { checkedNode(root(), header_); }
    // Resumable walk in key order (see MdxFile::continueOrder).
    bool walkOrder(OrderCursor& c, std::vector<std::uint32_t>& out, std::size_t atLeast) const;
    // Levels from the root to the leaves (1 for a lone leaf), along the
    // leftmost path.
    int height() const;
    // Page just past the highest block the tag uses (header included).
    std::uint32_t endPage() const;
    // Full consistency check (mdx_verify.cpp).
    void verify() const;

    // Interior descent path: the node and the child index taken at each level.
    struct Step {
        std::uint32_t page;
        std::uint32_t index;
    };
    using Path = std::array<Step, kMaxDepth>;

  private:
    friend class TreeVerifier;
    friend class TreeBuilder;

    // Node accessors; `n` points at the start of a node block.
    char* node(std::uint32_t page) { return file_->page(page); }
    const char* node(std::uint32_t page) const { return file_->page(page); }
    static std::uint32_t count(const char* n) { return get32(n + node::kCount); }
    char* item(char* n, std::uint32_t i) const { return n + node::kItems + i * itemLength_; }
    const char* item(const char* n, std::uint32_t i) const {
        return n + node::kItems + i * itemLength_;
    }
    bool isLeaf(const char* n) const;
    // Child i of an interior node; i == count(n) is the trailing pointer.
    std::uint32_t child(const char* n, std::uint32_t i) const { return get32(item(n, i)); }
    int compareKeys(const char* a, const char* b) const;
    int compareEntry(const char* entry, const char* key, std::uint32_t recno) const;

    // Checks that `page` (reached from `from`) is a block in the file holding
    // a plausible key count; returns the node.
    const char* checkedNode(std::uint32_t page, std::uint32_t from) const;
    [[noreturn]] void tooDeep() const;
    std::uint32_t lastRecnoOf(std::uint32_t page, std::uint32_t from) const;
    // Descends to the leaf where (key, recno) belongs; returns the number of
    // interior levels recorded in `path`. With `newest` (see insert) record
    // numbers are not looked at.
    int descend(const char* key, std::uint32_t recno, Path& path, std::uint32_t& leaf,
                bool newest = false) const;
    // The child of interior node `n` (at `page`) where (key, recno) belongs.
    std::uint32_t childFor(const char* n, std::uint32_t page, const char* key,
                           std::uint32_t recno, bool newest) const;
    std::uint32_t leafPosition(const char* n, const char* key, std::uint32_t recno) const;
    void walkNode(std::uint32_t page, std::uint32_t from, int depth, std::uint32_t& budget,
                  const std::function<void(std::uint32_t page, const char* n)>& visit) const;

    void splitLeaf(const Path& path, int depth, std::uint32_t leaf, std::uint32_t pos,
                   const char* key, std::uint32_t recno);
    void insertIntoParent(const Path& path, int level, const char* separator, std::uint32_t left,
                          std::uint32_t right);
    void unlinkChild(const Path& path, int level);
    void replaceSeparators(const Path& path, int level, const char* key);
    void collapseRoot();
    void refreshLeafEnds();
    bool onRightEdge(const Path& path, int level) const;

    char* tagHeader() { return file_->page(header_); }
    const char* tagHeader() const { return file_->page(header_); }
    std::uint32_t root() const { return get32(tagHeader() + tag::kRoot); }
    void setRoot(std::uint32_t page) { put32(tagHeader() + tag::kRoot, page); }
    std::uint32_t lastLeaf() const { return get32(tagHeader() + tag::kLastLeaf); }
    void setHasKeys(bool has) { tagHeader()[tag::kHasKeys] = has ? 1 : 0; }

    MdxMapping* file_;
    std::uint32_t header_;
    std::string name_;
    int keyLength_ = 0;
    int itemLength_ = 0;
    int maxKeys_ = 0;
    char keyType_ = 'C';
};

}  // namespace engine::mdx
