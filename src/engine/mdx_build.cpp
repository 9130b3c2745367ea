// Bulk building of a tag's tree.
//
// The keys are staged as ready-made leaf items in the file itself, past the
// blocks the finished tree will occupy; only an array of 12-byte sort entries
// (8-byte key slice and staging slot) lives on the heap. The sorted entries
// are copied into full leaves in order; the staging area is then cut off the
// file.
#include <cstring>
#include <vector>

#include "engine/mdx_key_sort.h"
#include "engine/mdx_tree.h"

namespace engine::mdx {

class TreeBuilder {
  public:
    TreeBuilder(MdxTree& tree, std::uint32_t count) : t_(tree), count_(count) {}

    void run(const KeyProducer& keyOf) {
        const std::uint32_t max = std::uint32_t(t_.maxKeys_);
        std::vector<std::uint32_t> levels{count_ == 0 ? 1 : (count_ + max - 1) / max};
        std::uint32_t blocks = levels.back();
        while (levels.back() > 1) {
            levels.push_back((levels.back() + max - 1) / max);
            blocks += levels.back();
        }
        first_ = t_.file_->allocateBlocks(blocks);
        if (count_ > 0) {
            stageAndSort(keyOf);
            layLeaves();
            entries_ = {};
            t_.file_->cutToPages(t_.file_->pageCount());  // drops the staging area
        }
        std::uint32_t root = first_;
        std::uint32_t next = first_ + levels[0] * kPagesPerBlock;
        for (std::size_t level = 1; level < levels.size(); ++level) {
            root = next;
            next = layInteriorLevel(root - levels[level - 1] * kPagesPerBlock, levels[level - 1],
                                    levels[level], root);
        }
        char* h = t_.tagHeader();
        put32(h + tag::kRoot, root);
        put32(h + tag::kFirstLeaf, first_);
        put32(h + tag::kLastLeaf, first_ + (levels[0] - 1) * kPagesPerBlock);
        t_.setHasKeys(count_ > 0);
    }

  private:
    void stageAndSort(const KeyProducer& keyOf) {
        const std::size_t il = std::size_t(t_.itemLength_);
        const int kl = t_.keyLength_;
        const std::uint64_t stageOffset = std::uint64_t(t_.file_->pageCount()) * kPageSize;
        t_.file_->ensureSize(stageOffset + count_ * il);
        stage_ = t_.file_->base() + stageOffset;
        entries_.resize(count_);
        for (std::uint32_t slot = 0; slot < count_; ++slot) {
            char* item = stage_ + slot * il;
            put32(item, slot + 1);
            keyOf(slot + 1, item + 4);
            std::memset(item + 4 + kl, 0, il - 4 - std::size_t(kl));
            entries_[slot].slot = slot;
            setPrefix(entries_[slot], item + 4, kl, 0);
        }
        sortStagedKeys(entries_, stage_, t_.itemLength_, kl);
    }

    // Copies the sorted entries into full leaves, in order from first_.
    void layLeaves() {
        const std::size_t il = std::size_t(t_.itemLength_);
        const std::uint32_t max = std::uint32_t(t_.maxKeys_);
        std::uint32_t leafPage = first_;
        char* leaf = t_.node(leafPage);
        std::uint32_t filled = 0;
        for (const SortEntry& e : entries_) {
            if (filled == max) {
                put32(leaf + node::kCount, filled);
                leafPage += kPagesPerBlock;
                leaf = t_.node(leafPage);
                filled = 0;
            }
            std::memcpy(leaf + node::kItems + filled * il, stage_ + e.slot * il, il);
            ++filled;
        }
        put32(leaf + node::kCount, filled);
    }

    // Builds `nodes` interior nodes from `children` consecutive nodes starting
    // at `childFirst`, spreading the children evenly; returns the next page.
    std::uint32_t layInteriorLevel(std::uint32_t childFirst, std::uint32_t children,
                                   std::uint32_t nodes, std::uint32_t page) {
        const std::uint32_t each = children / nodes;
        const std::uint32_t extra = children % nodes;
        std::uint32_t childPage = childFirst;
        for (std::uint32_t j = 0; j < nodes; ++j, page += kPagesPerBlock) {
            const std::uint32_t take = each + (j < extra ? 1 : 0);
            char* n = t_.node(page);
            for (std::uint32_t c = 0; c < take; ++c, childPage += kPagesPerBlock) {
                char* it = t_.item(n, c);
                put32(it, childPage);
                if (c + 1 < take)
                    std::memcpy(it + 4, largestKey(childPage), std::size_t(t_.keyLength_));
            }
            put32(n + node::kCount, take - 1);
        }
        return page;
    }

    const char* largestKey(std::uint32_t page) const {
        const char* n = t_.node(page);
        while (!t_.isLeaf(n)) n = t_.node(t_.child(n, MdxTree::count(n)));
        return t_.item(n, MdxTree::count(n) - 1) + 4;
    }

    MdxTree& t_;
    std::uint32_t count_;
    std::uint32_t first_ = 0;
    char* stage_ = nullptr;
    std::vector<SortEntry> entries_;
};

void MdxTree::build(std::uint32_t count, const KeyProducer& keyOf) {
    TreeBuilder(*this, count).run(keyOf);
}

}  // namespace engine::mdx
