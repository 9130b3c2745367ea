// Multikey sort: entries are sorted by an 8-byte slice of their key held in
// the entry itself; runs that tie on it skip the bytes they all share, load
// the next 8 and are sorted again. Each staged key is thus read a few times
// instead of at every comparison, which keeps the sort out of cache misses.
// The array is first split around a sampled median and the halves are
// sorted on two threads.
#include "engine/mdx_key_sort.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

namespace engine::mdx {
namespace {

constexpr std::size_t kParallelThreshold = 1u << 15;
constexpr std::ptrdiff_t kSmallRun = 16;  // sorted by direct key comparison

std::uint64_t prefix(const SortEntry& e) {
    return std::uint64_t(e.high) << 32 | e.low;
}

class KeySorter {
  public:
    KeySorter(const char* stage, int itemLength, int keyLength)
        : stage_(stage), itemLength_(std::size_t(itemLength)), keyLength_(keyLength) {}

    // Sorts [b, e): entries that share key bytes [0, depth) and hold the
    // slice starting at `depth`.
    void sort(SortEntry* b, SortEntry* e, int depth) const {
        if (e - b < 2) return;
        if (depth + 8 >= keyLength_) {
            std::sort(b, e, [](const SortEntry& x, const SortEntry& y) {
                return prefix(x) != prefix(y) ? prefix(x) < prefix(y) : x.slot < y.slot;
            });
            return;
        }
        std::sort(b, e,
                  [](const SortEntry& x, const SortEntry& y) { return prefix(x) < prefix(y); });
        for (SortEntry* run = b; run != e;) {
            SortEntry* end = run + 1;
            while (end != e && prefix(*end) == prefix(*run)) ++end;
            sortTied(run, end, depth + 8);
            run = end;
        }
    }

  private:
    // Sorts entries that share key bytes [0, depth) but hold an older slice.
    void sortTied(SortEntry* b, SortEntry* e, int depth) const {
        if (e - b < 2) return;
        if (e - b <= kSmallRun) {
            const std::size_t rest = std::size_t(keyLength_ - depth);
            std::sort(b, e, [&](const SortEntry& x, const SortEntry& y) {
                const int c = std::memcmp(key(x) + depth, key(y) + depth, rest);
                return c != 0 ? c < 0 : x.slot < y.slot;
            });
            return;
        }
        depth += commonLength(b, e, depth);
        for (SortEntry* p = b; p != e; ++p) setPrefix(*p, key(*p), keyLength_, depth);
        sort(b, e, depth);
    }

    // How many key bytes from `depth` on all entries of [b, e) share: runs of
    // blanks and equal names are skipped in one step instead of 8 bytes at a
    // time.
    int commonLength(const SortEntry* b, const SortEntry* e, int depth) const {
        const char* first = key(*b) + depth;
        std::size_t common = std::size_t(keyLength_ - depth);
        for (const SortEntry* p = b + 1; p != e && common > 0; ++p) {
            const char* other = key(*p) + depth;
            std::size_t same = 0;
            while (same + 8 <= common && std::memcmp(first + same, other + same, 8) == 0) same += 8;
            while (same < common && first[same] == other[same]) ++same;
            common = same;
        }
        return int(common);
    }

    const char* key(const SortEntry& e) const { return stage_ + e.slot * itemLength_ + 4; }

    const char* stage_;
    std::size_t itemLength_;
    int keyLength_;
};

// Moves the entries below a sampled median to the front; returns the split
// point, or `e` when the sample finds no useful split.
SortEntry* splitAroundMedian(SortEntry* b, SortEntry* e) {
    std::vector<std::uint64_t> sample;
    const std::ptrdiff_t n = e - b;
    for (std::ptrdiff_t i = 0; i < 255; ++i) sample.push_back(prefix(b[i * n / 255]));
    std::nth_element(sample.begin(), sample.begin() + 127, sample.end());
    const std::uint64_t median = sample[127];
    SortEntry* mid =
        std::partition(b, e, [median](const SortEntry& x) { return prefix(x) < median; });
    if (mid == b)
        mid = std::partition(b, e, [median](const SortEntry& x) { return prefix(x) <= median; });
    return mid;
}

}  // namespace

void setPrefix(SortEntry& entry, const char* key, int keyLength, int offset) {
    unsigned char bytes[8] = {};
    if (offset < keyLength)
        std::memcpy(bytes, key + offset, std::size_t(std::min(8, keyLength - offset)));
    entry.high = std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
                 std::uint32_t(bytes[2]) << 8 | bytes[3];
    entry.low = std::uint32_t(bytes[4]) << 24 | std::uint32_t(bytes[5]) << 16 |
                std::uint32_t(bytes[6]) << 8 | bytes[7];
}

void sortStagedKeys(std::vector<SortEntry>& entries, const char* stage, int itemLength,
                    int keyLength) {
    const KeySorter sorter(stage, itemLength, keyLength);
    SortEntry* b = entries.data();
    SortEntry* e = b + entries.size();
    SortEntry* mid = entries.size() >= kParallelThreshold ? splitAroundMedian(b, e) : e;
    if (mid == e) {
        sorter.sort(b, e, 0);
        return;
    }
    // Every entry before `mid` has a smaller first slice than every entry
    // after it, so the two parts sort independently.
    std::thread helper;
    try {
        helper = std::thread([&] { sorter.sort(b, mid, 0); });
    } catch (const std::system_error&) {
        sorter.sort(b, mid, 0);
    }
    sorter.sort(mid, e, 0);
    if (helper.joinable()) helper.join();
}

}  // namespace engine::mdx
