#include "engine/mdx_mapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/error.h"
#include "engine/mdx_layout.h"

namespace engine::mdx {
namespace {

constexpr std::uint64_t kMinReserve = 256ull << 20;
constexpr std::uint64_t kGrowStep = 64ull << 10;
constexpr std::uint64_t kHeaderBytes = kFirstDataPage * kPageSize;

std::uint64_t roundUp(std::uint64_t value, std::uint64_t unit) {
    return (value + unit - 1) / unit * unit;
}

}  // namespace

MdxMapping::MdxMapping(const std::string& path, bool writable) : path_(path), writable_(writable) {
    fd_ = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd_ < 0) systemFailure("opened");
    try {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) systemFailure("read");
        fileSize_ = std::uint64_t(st.st_size);
        if (fileSize_ < kHeaderBytes) notAnIndex("it is too short");
        map(std::max(kMinReserve, roundUp(fileSize_ * 2, kGrowStep)));
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

MdxMapping::MdxMapping(const std::string& path, std::uint64_t bytes)
    : path_(path), writable_(true) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) systemFailure("created");
    try {
        if (::ftruncate(fd_, off_t(bytes)) != 0) systemFailure("written");
        fileSize_ = bytes;
        map(kMinReserve);
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

MdxMapping::~MdxMapping() {
    if (base_ != nullptr) {
        if (writable_ && enlarged_) {
            const std::uint64_t used = std::uint64_t(pageCount()) * kPageSize;
            if (used >= kHeaderBytes && used < fileSize_) (void)::ftruncate(fd_, off_t(used));
        }
        ::munmap(base_, reserved_);
    }
    if (fd_ >= 0) ::close(fd_);
}

void MdxMapping::map(std::uint64_t reserve) {
    const int prot = writable_ ? PROT_READ | PROT_WRITE : PROT_READ;
    void* p = ::mmap(nullptr, reserve, prot, MAP_SHARED, fd_, 0);
    if (p == MAP_FAILED) systemFailure("mapped into memory");
    base_ = static_cast<char*>(p);
    reserved_ = reserve;
}

void MdxMapping::resize(std::uint64_t bytes) {
    if (::ftruncate(fd_, off_t(bytes)) != 0) systemFailure("enlarged");
    fileSize_ = bytes;
    enlarged_ = true;
    if (bytes > reserved_) {
        ::munmap(base_, reserved_);
        base_ = nullptr;
        map(roundUp(bytes * 2, kGrowStep));
    }
}

std::uint32_t MdxMapping::pageCount() const {
    return get32(base_ + hdr::kPageCount);
}

bool MdxMapping::blockInFile(std::uint32_t number) const {
    const std::uint64_t end = std::uint64_t(number) + kPagesPerBlock;
    // The page count is read from the shared header, which another program
    // may have raised past what this mapping covers.
    return number >= kFirstDataPage && end <= pageCount() && end * kPageSize <= reserved_;
}

std::uint32_t MdxMapping::allocateBlocks(std::uint32_t count) {
    const std::uint32_t first = pageCount();
    const std::uint64_t pages = std::uint64_t(first) + std::uint64_t(count) * kPagesPerBlock;
    if (pages > 0x7FFFFFFFu) throw EngineError("The index file \"" + path_ + "\" is too large");
    ensureSize(pages * kPageSize);
    std::memset(page(first), 0, std::uint64_t(count) * kBlockSize);
    put32(base_ + hdr::kPageCount, std::uint32_t(pages));
    return first;
}

void MdxMapping::ensureSize(std::uint64_t bytes) {
    if (bytes <= fileSize_) return;
    resize(roundUp(std::max(bytes, fileSize_ + fileSize_ / 8), kGrowStep));
}

void MdxMapping::refreshSize() {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) systemFailure("read");
    fileSize_ = std::uint64_t(st.st_size);
    if (fileSize_ > reserved_) {
        ::munmap(base_, reserved_);
        base_ = nullptr;
        map(roundUp(fileSize_ * 2, kGrowStep));
    }
}

void MdxMapping::cutToPages(std::uint32_t pages) {
    put32(base_ + hdr::kPageCount, pages);
    const std::uint64_t bytes = std::uint64_t(pages) * kPageSize;
    if (::ftruncate(fd_, off_t(bytes)) != 0) systemFailure("shortened");
    fileSize_ = bytes;
}

void MdxMapping::damaged(const std::string& what) const {
    throw EngineError("The index file \"" + path_ + "\" is damaged: " + what);
}

void MdxMapping::notAnIndex(const std::string& what) const {
    throw EngineError("The file \"" + path_ + "\" is not a dBase IV index file: " + what);
}

void MdxMapping::systemFailure(const std::string& action) const {
    const int error = errno;
    throw EngineError("The index file \"" + path_ + "\" cannot be " + action + ": " +
                      std::strerror(error));
}

void MdxMapping::requireWritable() const {
    if (!writable_) throw EngineError("The index file \"" + path_ + "\" is open for reading only");
}

}  // namespace engine::mdx
