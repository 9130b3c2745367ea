// Index keys gathered for one tag, to go into the index together in key order
// (an import slice's new records, the records an edit run changed).
//
// Contract: entries are (key, record number) pairs of one key length; sorted()
// gives them in the index's order (key bytes unsigned, then record number).
// netOut() drops every pair present in both an "add" and a "remove" batch
// once from each: a key added and later removed again within the run never
// needs to reach the index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

class KeyBatch {
  public:
    explicit KeyBatch(int keyLength = 0) : keyLength_(std::size_t(keyLength)) {}

    void add(const char* key, std::uint32_t recno);
    bool empty() const { return bytes_.empty(); }
    std::size_t size() const { return bytes_.size() / entryLength(); }
    void clear() { bytes_.clear(); }

    // The entries in index order; each points at keyLength() key bytes
    // followed by the record number (big-endian, see recnoOf).
    std::vector<const char*> sorted() const;
    std::size_t keyLength() const { return keyLength_; }
    std::uint32_t recnoOf(const char* entry) const;

    // Removes the pairs `adds` and `removes` have in common from both.
    static void netOut(KeyBatch& adds, KeyBatch& removes);

  private:
    std::size_t entryLength() const { return keyLength_ + 4; }

    std::size_t keyLength_;
    std::string bytes_;
};

}  // namespace engine
