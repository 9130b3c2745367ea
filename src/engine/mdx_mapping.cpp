#include "engine/regular_file.h"
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

// Has the file system set aside the bytes [from, to) of `fd`, growing the file
// to `to`; returns 0 or the errno of the failure. A page of the mapping whose
// space was never set aside would be allocated by the first write through the
// mapping, and on a full disk that write kills the process (SIGBUS).
int setAside(int fd, std::uint64_t from, std::uint64_t to) {
    if (to <= from) return 0;
    if (::fallocate(fd, 0, off_t(from), off_t(to - from)) == 0) return 0;
    if (errno != EOPNOTSUPP && errno != ENOSYS) return errno;
    // A file system without fallocate: write the zeros, which takes the
    // space or reports the failure.
    static const char zeros[64 << 10] = {};
    for (std::uint64_t at = from; at < to;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(sizeof zeros, to - at));
        const ssize_t written = ::pwrite(fd, zeros, n, off_t(at));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : ENOSPC;
        at += std::uint64_t(written);
    }
    return 0;
}

}  // namespace

MdxMapping::MdxMapping(const std::string& path, bool writable) : path_(path), writable_(writable) {
    fd_ = openRegularFile(path, writable ? O_RDWR : O_RDONLY);
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
    fd_ = openRegularFile(path, O_RDWR | O_CREAT | O_TRUNC);
    if (fd_ < 0) systemFailure("created");
    try {
        if (const int error = setAside(fd_, 0, bytes)) {
            errno = error;
            systemFailure("written");
        }
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
    if (const int error = setAside(fd_, fileSize_, bytes)) {
        // Whatever was set aside before the failure goes again: the file
        // keeps its length and content.
        (void)::ftruncate(fd_, off_t(fileSize_));
        errno = error;
        systemFailure("enlarged");
    }
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

void MdxMapping::reserveBlocks(std::uint32_t count) {
    const std::uint64_t pages = std::uint64_t(pageCount()) + std::uint64_t(count) * kPagesPerBlock;
    if (pages > 0x7FFFFFFFu) throw EngineError("The index file \"" + path_ + "\" is too large");
    ensureSize(pages * kPageSize);
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
