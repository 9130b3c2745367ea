#include "interchange/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>

#include "interchange/transfer_error.h"

namespace interchange {

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

bool startsWithByteOrderMark(const char* p, std::size_t n) {
    return n >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0;
}

// The encoding of the file examined last, kept while that file is unchanged (same file, size
// and status change time): checking a file's first line and then importing it reads it through
// for its encoding once, not twice. Only a file last changed more than a second before is
// kept: the kernel stamps changes with a coarse clock, so a file written again at once could
// keep its time; one written later always gets a later time.
struct EncodingSeen {
    dev_t device;
    ino_t inode;
    off_t size;
    struct timespec changed;
    TextEncoding encoding;
};

bool settled(const struct stat& st) {
    struct timespec now {};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    return st.st_ctim.tv_sec + 1 < now.tv_sec;
}
std::mutex encodingSeenMutex;
std::optional<EncodingSeen> encodingSeen;

bool sameFile(const EncodingSeen& seen, const struct stat& st) {
    return seen.device == st.st_dev && seen.inode == st.st_ino && seen.size == st.st_size &&
           seen.changed.tv_sec == st.st_ctim.tv_sec && seen.changed.tv_nsec == st.st_ctim.tv_nsec;
}

}  // namespace

int openRegularFile(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer; the check below refuses it anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throwSystemError("Cannot open", path);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        throwSystemError("Cannot read", path);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw TransferError(path + " is not a regular file: only ordinary files can be read.");
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

void throwSystemError(const std::string& what, const std::string& path) {
    throw TransferError(what + " " + path + ": " + std::strerror(errno) + ".");
}

bool isValidUtf8(const char* bytes, std::size_t n, std::size_t* incompleteTail) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    if (incompleteTail) *incompleteTail = 0;
    while (i < n) {
        // Plain ASCII, most of any text file: 32 bytes at a time, then 8.
        while (i + 32 <= n) {
            std::uint64_t words[4];
            std::memcpy(words, s + i, 32);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ULL) != 0) break;
            i += 32;
        }
        if (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, s + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        std::uint32_t min;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + len > n) {
            // A sequence cut by the end of a block: valid so far when what is there fits.
            for (std::size_t k = i + 1; k < n; ++k)
                if ((s[k] & 0xC0) != 0x80) return false;
            if (!incompleteTail) return false;
            *incompleteTail = n - i;
            return true;
        }
        std::uint32_t cp = c & (0xFF >> (len + 1));
        for (std::size_t k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

void requireRegularFile(const std::string& path) {
    ::close(openRegularFile(path));
}

TextEncoding detectTextEncoding(const std::string& path) {
    const int fd = openRegularFile(path);
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    if (known) {
        std::lock_guard<std::mutex> lock(encodingSeenMutex);
        if (encodingSeen && sameFile(*encodingSeen, st)) {
            ::close(fd);
            return encodingSeen->encoding;
        }
    }
    std::vector<char> block(kBlockSize + 4);
    std::size_t carried = 0;  // bytes of a sequence cut at the end of the last block
    bool first = true;
    TextEncoding result = TextEncoding::Utf8;
    for (;;) {
        const ssize_t got = ::read(fd, block.data() + carried, kBlockSize);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            throwSystemError("Cannot read", path);
        }
        const std::size_t n = carried + std::size_t(got);
        if (first && startsWithByteOrderMark(block.data(), n)) break;
        first = false;
        if (got == 0) {
            if (carried) result = TextEncoding::Cp1252;  // ends inside a sequence
            break;
        }
        std::size_t tail = 0;
        if (!isValidUtf8(block.data(), n, &tail)) {
            result = TextEncoding::Cp1252;
            break;
        }
        std::memmove(block.data(), block.data() + n - tail, tail);
        carried = tail;
    }
    ::close(fd);
    if (known && settled(st)) {
        std::lock_guard<std::mutex> lock(encodingSeenMutex);
        encodingSeen = EncodingSeen{st.st_dev, st.st_ino, st.st_size, st.st_ctim, result};
    }
    return result;
}

ByteSource::ByteSource(const std::string& path)
    : fd_(openRegularFile(path)), path_(path), buffer_(kBlockSize) {}

ByteSource::~ByteSource() {
    if (fd_ >= 0) ::close(fd_);
}

bool ByteSource::refill() {
    if (atFileEnd_) return false;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            throwSystemError("Cannot read", path_);
        }
        base_ += end_;
        pos_ = 0;
        end_ = std::size_t(got);
        if (got == 0) atFileEnd_ = true;
        return got > 0;
    }
}

void ByteSource::seek(std::uint64_t offset) {
    if (offset >= base_ && offset <= base_ + end_) {
        pos_ = std::size_t(offset - base_);
        return;
    }
    if (::lseek(fd_, off_t(offset), SEEK_SET) < 0) throwSystemError("Cannot read", path_);
    base_ = offset;
    pos_ = end_ = 0;
    atFileEnd_ = false;
}

void ByteSource::skipByteOrderMark() {
    const auto [p, n] = window();
    if (n >= 3 && startsWithByteOrderMark(p, n)) skip(3);
}

}  // namespace interchange
