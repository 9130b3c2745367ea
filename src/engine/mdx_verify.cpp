// Full consistency check of one tag's tree.
#include <string>

#include "engine/mdx_tree.h"

namespace engine::mdx {

class TreeVerifier {
  public:
    explicit TreeVerifier(const MdxTree& tree)
        : t_(tree), budget_(tree.file_->pageCount() / kPagesPerBlock) {}

    void run() {
        const std::uint32_t root = t_.root();
        visit(root, t_.header_, 0);
        const char* h = t_.tagHeader();
        if (get32(h + tag::kFirstLeaf) != firstLeaf_ || get32(h + tag::kLastLeaf) != lastLeaf_)
            fault("the first and last leaf pages in the tag header are wrong");
        if ((h[tag::kHasKeys] != 0) != (entries_ > 0))
            fault("the tag header's \"has keys\" flag is wrong");
    }

  private:
    [[noreturn]] void fault(const std::string& what) const {
        t_.file_->damaged("tag \"" + t_.name_ + "\": " + what);
    }
    static std::string pageText(std::uint32_t page) { return "page " + std::to_string(page); }

    // Returns the largest entry of the subtree at `page`, nullptr when empty.
    const char* visit(std::uint32_t page, std::uint32_t from, int depth) {
        if (depth >= kMaxDepth) t_.tooDeep();
        if (budget_ == 0) fault(pageText(page) + " is reached more than once");
        --budget_;
        const char* n = t_.checkedNode(page, from);
        const std::uint32_t c = MdxTree::count(n);
        if (t_.isLeaf(n)) return visitLeaf(page, n, c, depth);
        if (c > std::uint32_t(t_.maxKeys_ - 1))
            fault(pageText(page) + " is an interior node with " + std::to_string(c) + " keys");
        const char* last = nullptr;
        for (std::uint32_t i = 0; i <= c; ++i) {
            last = visit(t_.child(n, i), page, depth + 1);
            if (i < c && (last == nullptr || t_.compareKeys(t_.item(n, i) + 4, last + 4) != 0))
                fault(pageText(page) + " key " + std::to_string(i) +
                      " differs from the largest key below it");
        }
        return last;
    }

    const char* visitLeaf(std::uint32_t page, const char* n, std::uint32_t c, int depth) {
        if (leafDepth_ < 0) leafDepth_ = depth;
        if (depth != leafDepth_) fault("the leaves are not all at the same depth");
        if (c == 0 && page != t_.root()) fault(pageText(page) + " is an empty leaf");
        if (firstLeaf_ == 0) firstLeaf_ = page;
        lastLeaf_ = page;
        for (std::uint32_t i = 0; i < c; ++i) {
            const char* e = t_.item(n, i);
            if (get32(e) == 0) fault(pageText(page) + " holds record number 0");
            if (previous_ != nullptr && t_.keyType_ == 'C' &&
                t_.compareEntry(previous_, e + 4, get32(e)) >= 0)
                fault(pageText(page) + " entry " + std::to_string(i) + " is out of order");
            previous_ = e;
        }
        entries_ += c;
        return c == 0 ? nullptr : t_.item(n, c - 1);
    }

    const MdxTree& t_;
    std::uint32_t budget_;
    const char* previous_ = nullptr;
    int leafDepth_ = -1;
    std::uint32_t firstLeaf_ = 0;
    std::uint32_t lastLeaf_ = 0;
    std::uint64_t entries_ = 0;
};

void MdxTree::verify() const {
    TreeVerifier(*this).run();
}

}  // namespace engine::mdx
