// Bulk building of a tag's tree.
//
// The keys are staged as ready-made leaf items in the file itself, past the
// blocks the finished tree will occupy; only an array of 12-byte sort entries
// (8-byte key prefix and staging slot) lives on the heap. The two halves of
// that array are sorted on two threads and merged straight into the leaves;
// the staging area is then cut off the file.
#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/mdx_tree.h"

namespace engine::mdx {
namespace {

struct SortEntry {
    std::uint32_t high;  // key bytes 0-3, big-endian, so integer order is byte order
    std::uint32_t low;   // key bytes 4-7
    std::uint32_t slot;  // staging slot = record number - 1
};

std::uint32_t bigEndianWord(const char* key, int available) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = v << 8 | (i < available ? std::uint32_t(static_cast<unsigned char>(key[i])) : 0u);
    return v;
}

class EntryOrder {
  public:
    EntryOrder(const char* stage, int itemLength, int keyLength)
        : stage_(stage),
          itemLength_(std::size_t(itemLength)),
          rest_(keyLength > 8 ? std::size_t(keyLength - 8) : 0) {}

    bool operator()(const SortEntry& a, const SortEntry& b) const {
        if (a.high != b.high) return a.high < b.high;
        if (a.low != b.low) return a.low < b.low;
        if (rest_ != 0) {
            const int c = std::memcmp(stage_ + a.slot * itemLength_ + 12,
                                      stage_ + b.slot * itemLength_ + 12, rest_);
            if (c != 0) return c < 0;
        }
        return a.slot < b.slot;
    }

  private:
    const char* stage_;
    std::size_t itemLength_;
    std::size_t rest_;
};

constexpr std::uint32_t kParallelSortThreshold = 1u << 15;

void sortHalves(std::vector<SortEntry>& entries, std::size_t middle, const EntryOrder& order) {
    auto mid = entries.begin() + std::ptrdiff_t(middle);
    if (middle == 0) {
        std::sort(entries.begin(), entries.end(), order);
        return;
    }
    std::thread helper;
    try {
        helper = std::thread([&] { std::sort(entries.begin(), mid, order); });
    } catch (const std::system_error&) {
        std::sort(entries.begin(), mid, order);
    }
    std::sort(mid, entries.end(), order);
    if (helper.joinable()) helper.join();
}

}  // namespace

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
            entries_[slot] = {bigEndianWord(item + 4, kl), bigEndianWord(item + 8, kl - 4), slot};
        }
        middle_ = count_ >= kParallelSortThreshold ? count_ / 2 : 0;
        sortHalves(entries_, middle_, EntryOrder(stage_, t_.itemLength_, kl));
    }

    // Merges the two sorted halves into full leaves, in order from first_.
    void layLeaves() {
        const EntryOrder order(stage_, t_.itemLength_, t_.keyLength_);
        const std::size_t il = std::size_t(t_.itemLength_);
        const std::uint32_t max = std::uint32_t(t_.maxKeys_);
        std::uint32_t leafPage = first_;
        char* leaf = t_.node(leafPage);
        std::uint32_t filled = 0;
        auto emit = [&](const SortEntry& e) {
            if (filled == max) {
                put32(leaf + node::kCount, filled);
                leafPage += kPagesPerBlock;
                leaf = t_.node(leafPage);
                filled = 0;
            }
            std::memcpy(leaf + node::kItems + filled * il, stage_ + e.slot * il, il);
            ++filled;
        };
        std::size_t a = 0;
        std::size_t b = middle_;
        const std::size_t end = entries_.size();
        if (middle_ == 0) b = end;  // sorted as one run
        const std::size_t aEnd = middle_ == 0 ? end : middle_;
        while (a < aEnd && b < end)
            emit(order(entries_[b], entries_[a]) ? entries_[b++] : entries_[a++]);
        while (a < aEnd) emit(entries_[a++]);
        while (b < end) emit(entries_[b++]);
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
    std::size_t middle_ = 0;
};

void MdxTree::build(std::uint32_t count, const KeyProducer& keyOf) {
    TreeBuilder(*this, count).run(keyOf);
}

}  // namespace engine::mdx
