// Tag header validation, checked node access, descent and in-order walks.
#include "engine/mdx_tree.h"

#include <algorithm>
#include <cstring>

namespace engine::mdx {

MdxTree::MdxTree(MdxMapping& file, std::uint32_t headerPage, std::string name)
    : file_(&file), header_(headerPage), name_(std::move(name)) {
    const std::string tagName = "tag \"" + name_ + "\"";
    if (!file.blockInFile(headerPage))
        file.damaged("the header of " + tagName + " lies outside the file");
    const char* h = tagHeader();
    keyType_ = h[tag::kKeyType];
    if (keyType_ != 'C' && keyType_ != 'N' && keyType_ != 'D')
        file.damaged(tagName + " has an unknown key type");
    keyLength_ = get16(h + tag::kKeyLength);
    if (keyLength_ < 1 || keyLength_ > kMaxKeyLength)
        file.damaged(tagName + " has a key length of " + std::to_string(keyLength_));
    itemLength_ = get16(h + tag::kItemLength);
    if (itemLength_ != itemLengthFor(keyLength_))
        file.damaged(tagName + " has an item length of " + std::to_string(itemLength_) +
                     " for keys of " + std::to_string(keyLength_) + " bytes");
    maxKeys_ = get16(h + tag::kMaxKeys);
    // Some writers allow one more key in a leaf by not reserving the trailing
    // pointer; accept that, but nothing larger.
    if (maxKeys_ < 2 || maxKeys_ > int(kBlockSize - 8) / itemLength_)
        file.damaged(tagName + " claims " + std::to_string(maxKeys_) + " keys per node");
}

bool MdxTree::isLeaf(const char* n) const {
    const std::uint32_t trailing = node::kItems + count(n) * itemLength_;
    if (trailing + 4 > kBlockSize) return true;
    return get32(n + trailing) == 0;
}

int MdxTree::compareKeys(const char* a, const char* b) const {
    return std::memcmp(a, b, std::size_t(keyLength_));
}

int MdxTree::compareEntry(const char* entry, const char* key, std::uint32_t recno) const {
    const int c = compareKeys(entry + 4, key);
    if (c != 0) return c;
    const std::uint32_t r = get32(entry);
    return r < recno ? -1 : (r > recno ? 1 : 0);
}

const char* MdxTree::checkedNode(std::uint32_t page, std::uint32_t from) const {
    if (!file_->blockInFile(page))
        file_->damaged("page " + std::to_string(from) + " points outside the file (to page " +
                       std::to_string(page) + ")");
    const char* n = node(page);
    if (count(n) > std::uint32_t(maxKeys_))
        file_->damaged("page " + std::to_string(page) + " holds " + std::to_string(count(n)) +
                       " keys, more than the " + std::to_string(maxKeys_) + " a node of tag \"" +
                       name_ + "\" can hold");
    return n;
}

void MdxTree::tooDeep() const {
    file_->damaged("the tree of tag \"" + name_ + "\" is more than " + std::to_string(kMaxDepth) +
                   " levels deep (its pages form a cycle)");
}

std::uint32_t MdxTree::lastRecnoOf(std::uint32_t page, std::uint32_t from) const {
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const char* n = checkedNode(page, from);
        const std::uint32_t c = count(n);
        if (isLeaf(n)) return c == 0 ? 0 : get32(item(n, c - 1));
        from = page;
        page = child(n, c);
    }
    tooDeep();
}

std::uint32_t MdxTree::childFor(const char* n, std::uint32_t page, const char* key,
                                std::uint32_t recno, bool newest) const {
    // Entries lo..hi-1 hold `key` as their subtree's largest key; entry hi
    // (or the trailing pointer) is the first whose subtree ends above it.
    const std::uint32_t c = count(n);
    std::uint32_t lo = 0, hi = c;
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        if (compareKeys(item(n, mid) + 4, key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    hi = lo;
    for (std::uint32_t top = c; hi < top;) {
        const std::uint32_t mid = hi + (top - hi) / 2;
        if (compareKeys(item(n, mid) + 4, key) <= 0)
            hi = mid + 1;
        else
            top = mid;
    }
    if (newest || lo == hi) return hi;
    // Equal keys are told apart by record number: the pair belongs in the
    // first of those subtrees whose last record number is not below
    // `recno`, else after them all. Finding that record number walks down
    // the subtree's right edge, so the last subtree is asked first: a pair
    // that goes after every equal key (the common case) costs one walk, not
    // one per step of a binary search.
    if (lastRecnoOf(child(n, hi - 1), page) < recno) return hi;
    std::uint32_t last = hi - 1;
    while (lo < last) {
        const std::uint32_t mid = lo + (last - lo) / 2;
        if (lastRecnoOf(child(n, mid), page) < recno)
            lo = mid + 1;
        else
            last = mid;
    }
    return lo;
}

int MdxTree::descend(const char* key, std::uint32_t recno, Path& path, std::uint32_t& leaf,
                     bool newest) const {
    std::uint32_t page = root();
    std::uint32_t from = header_;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const char* n = checkedNode(page, from);
        if (isLeaf(n)) {
            leaf = page;
            return depth;
        }
        const std::uint32_t at = childFor(n, page, key, recno, newest);
        path[depth] = {page, at};
        from = page;
        page = child(n, at);
    }
    tooDeep();
}

std::uint32_t MdxTree::leafPosition(const char* n, const char* key, std::uint32_t recno) const {
    std::uint32_t lo = 0;
    std::uint32_t hi = count(n);
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        if (compareEntry(item(n, mid), key, recno) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void MdxTree::walkNode(std::uint32_t page, std::uint32_t from, int depth, std::uint32_t& budget,
                       const std::function<void(std::uint32_t, const char*)>& visit) const {
    if (depth >= kMaxDepth) tooDeep();
    if (budget == 0)
        file_->damaged("the tree of tag \"" + name_ + "\" reaches page " + std::to_string(page) +
                       " more than once");
    --budget;
    const char* n = checkedNode(page, from);
    visit(page, n);
    if (isLeaf(n)) return;
    for (std::uint32_t i = 0, c = count(n); i <= c; ++i)
        walkNode(child(n, i), page, depth + 1, budget, visit);
}

void MdxTree::walkLeaves(const LeafVisitor& visit) const {
    std::uint32_t budget = file_->pageCount() / kPagesPerBlock;
    walkNode(root(), header_, 0, budget, [&](std::uint32_t, const char* n) {
        if (isLeaf(n)) visit(item(n, 0), count(n));
    });
}

bool MdxTree::walkOrder(OrderCursor& c, std::vector<std::uint32_t>& out,
                        std::size_t atLeast) const {
    static_assert(OrderCursor::kMaxDepth == kMaxDepth);
    const std::size_t target = out.size() + atLeast;
    if (c.depth < 0) {
        c.budget = file_->pageCount() / kPagesPerBlock;
        c.depth = 0;
        c.page[0] = root();
        c.next[0] = 0;
        if (c.budget == 0) file_->damaged("the index has no pages for tag \"" + name_ + "\"");
        --c.budget;
    }
    while (c.depth >= 0) {
        const std::uint32_t from = c.depth == 0 ? header_ : c.page[c.depth - 1];
        const char* n = checkedNode(c.page[c.depth], from);
        if (isLeaf(n)) {
            const std::uint32_t k = count(n);
            const char* it = item(n, 0);
            for (std::uint32_t i = 0; i < k; ++i) out.push_back(get32(it + i * itemLength_));
            --c.depth;
        } else if (c.next[c.depth] <= count(n)) {
            const std::uint32_t childPage = child(n, c.next[c.depth]++);
            if (c.depth + 1 >= kMaxDepth) tooDeep();
            if (c.budget == 0)
                file_->damaged("the tree of tag \"" + name_ + "\" reaches page " +
                               std::to_string(childPage) + " more than once");
            --c.budget;
            ++c.depth;
            c.page[c.depth] = childPage;
            c.next[c.depth] = 0;
            continue;
        } else {
            --c.depth;
        }
        if (out.size() >= target && c.depth >= 0) return true;
    }
    c.done = true;
    return false;
}

int MdxTree::height() const {
    std::uint32_t page = root();
    std::uint32_t from = header_;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const char* n = checkedNode(page, from);
        if (isLeaf(n)) return depth + 1;
        from = page;
        page = child(n, 0);
    }
    tooDeep();
}

std::uint32_t MdxTree::endPage() const {
    std::uint32_t end = header_ + kPagesPerBlock;
    std::uint32_t budget = file_->pageCount() / kPagesPerBlock;
    walkNode(root(), header_, 0, budget,
             [&](std::uint32_t page, const char*) { end = std::max(end, page + kPagesPerBlock); });
    return end;
}

bool MdxTree::onRightEdge(const Path& path, int level) const {
    for (int k = 0; k <= level; ++k)
        if (path[k].index != count(node(path[k].page))) return false;
    return true;
}

void MdxTree::refreshLeafEnds() {
    std::uint32_t ends[2] = {root(), root()};
    for (int side = 0; side < 2; ++side) {
        std::uint32_t from = header_;
        for (int depth = 0;; ++depth) {
            if (depth >= kMaxDepth) tooDeep();
            const char* n = checkedNode(ends[side], from);
            if (isLeaf(n)) break;
            from = ends[side];
            ends[side] = child(n, side == 0 ? 0 : count(n));
        }
    }
    put32(tagHeader() + tag::kFirstLeaf, ends[0]);
    put32(tagHeader() + tag::kLastLeaf, ends[1]);
}

}  // namespace engine::mdx
