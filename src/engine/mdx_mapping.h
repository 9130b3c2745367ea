// The production index file as a shared memory mapping, with block allocation.
//
// Contract:
//  - Owns the file descriptor and the MAP_SHARED mapping; both are released by
//    the destructor, which also cuts a file this mapping enlarged back to its
//    page count (a file it never enlarged, e.g. one refused as damaged or
//    foreign, is left as it was).
//  - The mapping reserves far more address space than the file holds, so
//    growing the file is an fallocate (space the file system sets aside, so
//    no write through the mapping can meet a full disk), and pages another
//    program adds stay
//    readable; only when the reserve runs out is it remapped, which moves
//    base(). Callers re-derive pointers from page numbers after anything that
//    can grow the file (allocateBlocks, ensureSize).
//  - The page count lives in the file header (offset 32) and is the only
//    measure of the used part; bytes past it are kept zero.
//  - Failures of the operating system and damaged content are reported as
//    EngineError naming the file.
#pragma once

#include <cstdint>
#include <string>

namespace engine::mdx {

class MdxMapping {
  public:
    // Maps an existing file. Throws when it cannot be opened or is shorter
    // than the header and tag table.
    MdxMapping(const std::string& path, bool writable);
    // Creates (truncating any existing file) a zero-filled file of `bytes`.
    MdxMapping(const std::string& path, std::uint64_t bytes);
    ~MdxMapping();

    MdxMapping(const MdxMapping&) = delete;
    MdxMapping& operator=(const MdxMapping&) = delete;

    char* base() { return base_; }
    const char* base() const { return base_; }
    char* page(std::uint32_t number) { return base_ + std::uint64_t(number) * 512; }
    const char* page(std::uint32_t number) const { return base_ + std::uint64_t(number) * 512; }
    const std::string& path() const { return path_; }
    bool writable() const { return writable_; }
    std::uint64_t fileSize() const { return fileSize_; }

    std::uint32_t pageCount() const;
    // True when a whole block starting at `number` lies in the used part,
    // past the header pages and inside the mapping.
    bool blockInFile(std::uint32_t number) const;
    // Appends `count` zeroed blocks and returns the first one's page number.
    std::uint32_t allocateBlocks(std::uint32_t count);
    // Makes sure the next `count` blocks allocateBlocks hands out need no
    // growth of the file, so a change that may need them can fail (a full
    // disk: EngineError, the file as it was) before it touches anything.
    void reserveBlocks(std::uint32_t count);
    // Makes the file at least `bytes` long (zero-filled), without changing
    // the page count. Used for scratch space past the used part.
    void ensureSize(std::uint64_t bytes);
    // Reads the file's size again (another program may have grown it).
    void refreshSize();
    // Sets the page count and cuts the file to exactly that many pages.
    void cutToPages(std::uint32_t pages);

    [[noreturn]] void damaged(const std::string& what) const;
    [[noreturn]] void notAnIndex(const std::string& what) const;
    [[noreturn]] void systemFailure(const std::string& action) const;
    void requireWritable() const;

  private:
    void map(std::uint64_t reserve);
    void resize(std::uint64_t bytes);

    std::string path_;
    bool writable_ = false;
    int fd_ = -1;
    char* base_ = nullptr;
    std::uint64_t fileSize_ = 0;
    std::uint64_t reserved_ = 0;
    bool enlarged_ = false;  // this mapping made the file longer
};

}  // namespace engine::mdx
