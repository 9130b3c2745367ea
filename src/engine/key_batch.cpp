#include "engine/key_batch.h"

#include <algorithm>
#include <cstring>

namespace engine {

void KeyBatch::add(const char* key, std::uint32_t recno) {
    bytes_.append(key, keyLength_);
    // Big-endian, so that whole entries compare as bytes in index order.
    const char be[4] = {char(recno >> 24), char(recno >> 16), char(recno >> 8), char(recno)};
    bytes_.append(be, 4);
}

std::uint32_t KeyBatch::recnoOf(const char* entry) const {
    const auto* p = reinterpret_cast<const unsigned char*>(entry + keyLength_);
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

std::vector<const char*> KeyBatch::sorted() const {
    std::vector<const char*> out;
    out.reserve(size());
    for (std::size_t at = 0; at < bytes_.size(); at += entryLength()) out.push_back(&bytes_[at]);
    const std::size_t n = entryLength();
    std::sort(out.begin(), out.end(),
              [n](const char* a, const char* b) { return std::memcmp(a, b, n) < 0; });
    return out;
}

void KeyBatch::netOut(KeyBatch& adds, KeyBatch& removes) {
    if (adds.empty() || removes.empty()) return;
    const std::size_t n = adds.entryLength();
    const std::vector<const char*> a = adds.sorted();
    const std::vector<const char*> r = removes.sorted();
    std::string keptAdds, keptRemoves;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < r.size()) {
        const int c = i == a.size()   ? 1
                      : j == r.size() ? -1
                                      : std::memcmp(a[i], r[j], n);
        if (c < 0) {
            keptAdds.append(a[i++], n);
        } else if (c > 0) {
            keptRemoves.append(r[j++], n);
        } else {
            ++i;
            ++j;
        }
    }
    adds.bytes_ = std::move(keptAdds);
    removes.bytes_ = std::move(keptRemoves);
}

}  // namespace engine
