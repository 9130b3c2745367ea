// Helpers for the production index tests: a scratch folder, synthetic keys
// shaped like the collection's index keys, and the expected order.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/mdx_file.h"

namespace engine::mdxtest {

// A fresh folder under the system temporary directory, removed afterwards.
class Scratch {
  public:
    Scratch() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mdxtest-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        dir_ = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string file(const std::string& name) const { return dir_ + "/" + name; }

  private:
    std::string dir_;
};

using Entry = std::pair<std::string, std::uint32_t>;

enum class KeyShape {
    Words,       // upper-case words padded with blanks
    Numbers,     // right-justified integers with '-' signs, as STR(n,12,0) gives
    HighBytes,   // cp1252 letters >= 0x80 mixed with ASCII
    FewDistinct  // only a handful of distinct keys: long runs of duplicates
};

// A deterministic key of `length` bytes for record `recno`.
inline std::string makeKey(KeyShape shape, std::uint32_t recno, int length) {
    std::uint32_t h = recno * 2654435761u ^ 0x5bd1e995u;
    auto next = [&] {
        h ^= h << 13;
        h ^= h >> 17;
        h ^= h << 5;
        return h;
    };
    std::string key;
    switch (shape) {
        case KeyShape::Words: {
            const std::uint32_t letters = 1 + next() % std::uint32_t(length);
            for (std::uint32_t i = 0; i < letters; ++i) key += char('A' + next() % 6);
            break;
        }
        case KeyShape::Numbers: {
            const long value = long(next() % 20001) - 10000;
            char text[32];
            std::snprintf(text, sizeof text, "%*ld", length, value);
            key = text;
            break;
        }
        case KeyShape::HighBytes: {
            static const unsigned char pool[] = {'A', 'Z', ' ', 0xC4, 0xD6, 0xDC, 0xE9, 0x80, 0xFF};
            for (int i = 0; i < length; ++i) key += char(pool[next() % sizeof pool]);
            break;
        }
        case KeyShape::FewDistinct:
            key = std::string(1, char('P' + recno % 3));
            break;
    }
    key.resize(std::size_t(length), ' ');
    return key;
}

inline KeyProducer producerFor(KeyShape shape, int length) {
    return [shape, length](std::uint32_t recno, char* out) {
        const std::string key = makeKey(shape, recno, length);
        std::copy(key.begin(), key.end(), out);
    };
}

// The entries of records 1..count in index order: by key bytes, then recno.
inline std::vector<Entry> expectedOrder(KeyShape shape, int length, std::uint32_t count) {
    std::vector<Entry> entries;
    for (std::uint32_t r = 1; r <= count; ++r) entries.emplace_back(makeKey(shape, r, length), r);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int c = a.first.compare(b.first);  // char_traits<char> compares as unsigned
        return c != 0 ? c < 0 : a.second < b.second;
    });
    return entries;
}

inline std::vector<Entry> entriesOf(const MdxFile& mdx, int tag) {
    std::vector<Entry> entries;
    mdx.forEach(tag, [&](std::string_view key, std::uint32_t recno) {
        entries.emplace_back(std::string(key), recno);
    });
    return entries;
}

inline std::vector<std::uint32_t> recnosOf(const std::vector<Entry>& entries) {
    std::vector<std::uint32_t> recnos;
    for (const Entry& e : entries) recnos.push_back(e.second);
    return recnos;
}

}  // namespace engine::mdxtest
