#include "engine/regular_file.h"
#include "engine/dbf_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/posix_locks.h"

namespace engine {

namespace {

constexpr std::uint64_t kMinReserve = std::uint64_t(1) << 30;  // 1 GiB of address space
constexpr off_t kWriteLockByte = 0x7FFFFFF0;

std::string sysError() { return std::strerror(errno); }

std::string inUseMessage(const std::string& path) {
    return "The table \"" + path + "\" is in use by another program.";
}

std::uint64_t fileSizeOf(int fd, const std::string& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw EngineError("Cannot read the size of \"" + path + "\": " + sysError());
    return std::uint64_t(st.st_size);
}

void putU32(char* p, std::uint32_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
    p[2] = char((v >> 16) & 0xFF);
    p[3] = char((v >> 24) & 0xFF);
}

bool pwriteAll(int fd, const char* data, std::size_t n, off_t at) {
    while (n > 0) {
        ssize_t w = ::pwrite(fd, data, n, at);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += w;
        n -= std::size_t(w);
        at += w;
    }
    return true;
}

const std::vector<char>& zeroBlock() {
    static const std::vector<char> zeros(std::size_t(1) << 20, '\0');
    return zeros;
}

bool allZeros(const char* p, std::uint64_t n) {
    const std::vector<char>& zeros = zeroBlock();
    while (n > 0) {
        const std::size_t k = std::size_t(std::min<std::uint64_t>(n, zeros.size()));
        if (std::memcmp(p, zeros.data(), k) != 0) return false;
        p += k;
        n -= k;
    }
    return true;
}

}  // namespace

DbfFile::~DbfFile() { close(); }

void DbfFile::open(const std::string& path, bool exclusive, bool readOnly) {
    close();
    int fd = readOnly ? -1 : openRegularFile(path, O_RDWR);
    bool writable = !readOnly;
    if (readOnly || (fd < 0 && (errno == EACCES || errno == EROFS))) {
        fd = openRegularFile(path, O_RDONLY);
        writable = false;
    }
    if (fd < 0) {
        if (errno == ENOENT) throw EngineError("The table \"" + path + "\" does not exist.");
        throw EngineError("Cannot open the table \"" + path + "\": " + sysError());
    }
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        int e = errno;
        ::close(fd);
        if (e == EWOULDBLOCK) throw EngineError(inUseMessage(path));
        errno = e;
        throw EngineError("Cannot lock the table \"" + path + "\": " + sysError());
    }
    // Programs that lock with fcntl or lockf see neither flock nor are seen
    // by it: take their kind of lock as well.
    if (!takePosixLock(fd, exclusive, writable)) {
        ::close(fd);
        throw EngineError(inUseMessage(path));
    }
    fd_ = fd;
    path_ = path;
    writable_ = writable;
    exclusive_ = exclusive;
    dateTouched_ = false;
    try {
        std::uint64_t size = fileSizeOf(fd_, path_);
        if (size < kDbfHeaderPrefix)
            throw EngineError("The table \"" + path + "\" is not a readable dBase table: the file "
                              "is shorter than a table header.");
        mapFile(size);
        // Another program sharing the table may append meanwhile, writing each
        // record before counting it: the header is read first and the size
        // after it, so the count never outruns the size it is checked against.
        // (A header is at most 65535 bytes long.)
        const std::string header(map_, std::size_t(std::min<std::uint64_t>(size, 1u << 16)));
        size = fileSizeOf(fd_, path_);
        if (size > mapLength_) mapFile(size);
        allocated_ = populated_ = size;
        layout_ = parseDbfHeader(reinterpret_cast<const unsigned char*>(header.data()),
                                 header.size(), size, path_);
        // Some writers leave the count at 0 in a complete table (records, then
        // the end marker, nothing else): count the records from the size then.
        if (layout_.recordCount == 0 && size > layout_.headerLength + 1 &&
            map_[size - 1] == 0x1A &&
            (size - 1 - layout_.headerLength) % layout_.recordLength == 0 &&
            map_[layout_.headerLength] != 0x1A)
            layout_.recordCount =
                std::uint32_t((size - 1 - layout_.headerLength) / layout_.recordLength);
    } catch (...) {
        close();
        throw;
    }
}

void DbfFile::mapFile(std::uint64_t minLength) {
    if (map_) ::munmap(map_, mapLength_);
    map_ = nullptr;
    std::uint64_t length = std::max(kMinReserve, minLength * 2);
    int prot = PROT_READ | (writable_ ? PROT_WRITE : 0);
    void* p = ::mmap(nullptr, length, prot, MAP_SHARED, fd_, 0);
    if (p == MAP_FAILED) throw EngineError("Cannot map the table \"" + path_ + "\": " + sysError());
    map_ = static_cast<char*>(p);
    mapLength_ = length;
    scanPrepared_ = false;
}

void DbfFile::close() {
    if (map_) ::munmap(map_, mapLength_);
    map_ = nullptr;
    mapLength_ = 0;
    if (fd_ >= 0) ::close(fd_);  // releases the flock and any fcntl lock
    fd_ = -1;
    writable_ = false;
    exclusive_ = false;
    upgraded_ = false;
    layout_ = DbfLayout{};
}

bool DbfFile::reloadCount() {
    const unsigned char* d = reinterpret_cast<const unsigned char*>(map_);
    std::uint32_t c = std::uint32_t(d[4]) | std::uint32_t(d[5]) << 8 | std::uint32_t(d[6]) << 16 |
                      std::uint32_t(d[7]) << 24;
    if (c == layout_.recordCount) return false;
    std::uint64_t size = fileSizeOf(fd_, path_);
    std::uint64_t physical = (size - layout_.headerLength) / layout_.recordLength;
    if (c > physical)
        throw EngineError("The table \"" + path_ + "\" is damaged: its header counts more "
                          "records than the file holds.");
    std::uint64_t end = layout_.headerLength + std::uint64_t(c) * layout_.recordLength;
    if (end > mapLength_) mapFile(end);
    layout_.recordCount = c;
    return true;
}

void DbfFile::ensureWritable() const {
    if (!writable_) throw EngineError("The table \"" + path_ + "\" is read-only.");
}

void DbfFile::touchDate() {
    if (dateTouched_) return;
    int y, m, d;
    todayDate(y, m, d);
    map_[1] = char(y - 1900);
    map_[2] = char(m);
    map_[3] = char(d);
    dateTouched_ = true;
}

void DbfFile::writeRecord(std::uint32_t recno, const char* data) {
    ensureWritable();
    std::memcpy(const_cast<char*>(record(recno)), data, layout_.recordLength);
    touchDate();
}

bool DbfFile::reserveAhead(std::uint64_t need) {
    if (need <= allocated_) return true;
    const std::uint64_t grow =
        std::max<std::uint64_t>(need, allocated_ + (allocated_ / 8) + (4u << 20));
    // Only space the file system has set aside is written through the
    // mapping: a write into a hole on a full disk would kill the process.
    // Without it (a full disk, a file system that cannot) records go out
    // through write calls, which report the failure.
    if (::fallocate(fd_, 0, off_t(allocated_), off_t(grow - allocated_)) != 0) return false;
    allocated_ = grow;
    if (grow > mapLength_) mapFile(grow);
    return true;
}

void DbfFile::populateTo(std::uint64_t end, std::uint64_t dataEnd) {
    if (end <= populated_) return;
    // Maps the next pages writable in one call rather than one fault each, a
    // little ahead at a time: pages past what is written would only be
    // zeroed for nothing when the space grown ahead is cut off.
    constexpr std::uint64_t kWindow = 256u << 10;
    constexpr std::uint64_t kPage = 4096;
    const std::uint64_t from = populated_ & ~(kPage - 1);
    populated_ = std::min(allocated_, std::max(end, from + kWindow));
    // Whole pages of the window that hold nothing yet (past the records and
    // past what was mapped before) are first written as zeros: the kernel
    // then makes them as written pages instead of reading each as unwritten
    // space, zeroing it and marking it on the first store, three times the
    // work. Only space set aside for this file is written, and only with
    // what it already reads as.
    const std::uint64_t zeroFrom = std::max(from, (dataEnd + kPage - 1) & ~(kPage - 1));
    const std::uint64_t zeroTo = populated_ & ~(kPage - 1);
    if (zeroFrom < zeroTo && zeroTo - zeroFrom <= zeroBlock().size())
        (void)pwriteAll(fd_, zeroBlock().data(), std::size_t(zeroTo - zeroFrom), off_t(zeroFrom));
#ifdef MADV_POPULATE_WRITE
    ::madvise(map_ + from, populated_ - from, MADV_POPULATE_WRITE);
#endif
}

void DbfFile::beginAppendSpan() {
    if (exclusive_ || !writable_ || fd_ < 0) return;
    allocated_ = fileSizeOf(fd_, path_);
    spanStart_ = allocated_;
    populated_ = allocated_;
    appendSpan_ = true;
}

void DbfFile::endAppendSpan() {
    if (!appendSpan_) return;
    appendSpan_ = false;
    // The space grown ahead goes before others look: the file ends at the
    // end marker after the last record again.
    const std::uint64_t exact =
        layout_.headerLength + std::uint64_t(layout_.recordCount) * layout_.recordLength + 1;
    if (allocated_ > spanStart_ && allocated_ > exact &&
        ::ftruncate(fd_, off_t(std::max(exact, spanStart_))) == 0)
        allocated_ = std::max(exact, spanStart_);
    populated_ = std::min(populated_, allocated_);
}

std::uint32_t DbfFile::appendRecord(const char* data) {
    ensureWritable();
    const std::uint32_t n = layout_.recordCount;
    const std::uint64_t at = layout_.headerLength + std::uint64_t(n) * layout_.recordLength;
    const char eof = 0x1A;
    // With exclusive use nobody else reads the file meanwhile, and within an
    // append span nobody else writes it: grow it ahead in large steps and
    // write through the mapping, which costs no call per record. The extra
    // length is cut off when the span ends or the table is closed (or on the
    // next exclusive open after a crash); readers never go past the count.
    if ((exclusive_ || appendSpan_) && reserveAhead(at + layout_.recordLength + 1)) {
        populateTo(at + layout_.recordLength + 1, at + 1);
        std::memcpy(map_ + at, data, layout_.recordLength);
        map_[at + layout_.recordLength] = eof;
    } else {
        struct iovec iov[2] = {{const_cast<char*>(data), layout_.recordLength},
                               {const_cast<char*>(&eof), 1}};
        std::size_t want = layout_.recordLength + 1;
        ssize_t w = ::pwritev(fd_, iov, 2, off_t(at));
        if (w != ssize_t(want)) {
            // Short or failed write: finish through pwrite, else give up before
            // the count is touched so the table stays as it was.
            std::string buf(data, layout_.recordLength);
            buf.push_back(eof);
            if (w < 0) w = 0;
            if (!pwriteAll(fd_, buf.data() + w, buf.size() - std::size_t(w), off_t(at + w)))
                throw EngineError("Cannot write to the table \"" + path_ + "\": " + sysError());
        }
        if (at + layout_.recordLength > mapLength_) mapFile(at + layout_.recordLength);
    }
    putU32(map_ + kDbfCountOffset, n + 1);  // the record exists before it is counted
    layout_.recordCount = n + 1;
    touchDate();
    return n + 1;
}

void DbfFile::setDeletedFlag(std::uint32_t recno, bool deleted) {
    ensureWritable();
    const_cast<char*>(record(recno))[0] = deleted ? '*' : ' ';
    touchDate();
}

void DbfFile::setMdxFlag(bool on) {
    if (!writable_ || layout_.mdxFlag == (on ? 1 : 0)) return;
    map_[kDbfMdxFlagOffset] = on ? 1 : 0;
    layout_.mdxFlag = on ? 1 : 0;
}

void DbfFile::setFieldIndexFlag(int field, bool on) {
    if (!writable_ || field < 0 || std::size_t(field) >= layout_.fields.size()) return;
    std::size_t pos = kDbfHeaderPrefix + kDbfDescriptorSize * std::size_t(field) + 31;
    if (pos < layout_.headerLength) map_[pos] = on ? 1 : 0;
}

DbfFile::PackedCopy DbfFile::beginPackedCopy() {
    ensureWritable();
    if (!exclusive_) throw EngineError("Packing needs exclusive use of \"" + path_ + "\".");
    PackedCopy copy;
    copy.target = realFilePath(path_);
    copy.tmpPath = packTempPath(path_);
    copy.fd = ::open(copy.tmpPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (copy.fd < 0) throw EngineError("Cannot create \"" + copy.tmpPath + "\": " + sysError());
    struct stat st {};
    if (::fstat(fd_, &st) == 0) (void)::fchmod(copy.fd, st.st_mode & 07777);
    // The new file is the table once renamed: it must be held as the old one is.
    ::flock(copy.fd, LOCK_EX | LOCK_NB);
    takePosixLock(copy.fd, true, true);
    try {
        prepareScan();
        findLiveRecords(copy);
    } catch (...) {
        discardPackedCopy(copy);
        throw;
    }
    return copy;
}

void DbfFile::findLiveRecords(PackedCopy& copy) const {
    const std::uint32_t reclen = layout_.recordLength;
    const std::uint64_t hlen = layout_.headerLength;
    const std::uint64_t size = fileSizeOf(fd_, path_);
    // Complete records past the count: whole records whose first byte is a
    // deletion flag. What this engine grows ahead (an end marker, then zeros)
    // is none.
    std::uint32_t last = layout_.recordCount;
    while (hlen + (std::uint64_t(last) + 1) * reclen <= size) {
        const char flag = record(last + 1)[0];
        if (flag != ' ' && flag != '*') break;
        ++last;
    }
    copy.kept.reserve(last);
    for (std::uint32_t r = 1; r <= last; ++r) {
        if (record(r)[0] == '*') continue;
        copy.kept.push_back(r);
        if (r > layout_.recordCount) ++copy.recovered;
    }
    copy.examined = last;
}

void DbfFile::writePackedCopy(PackedCopy& copy) {
    const std::uint32_t reclen = layout_.recordLength;
    const std::uint64_t hlen = layout_.headerLength;
    const std::uint32_t kept = std::uint32_t(copy.kept.size());
    // Runs of kept records that follow each other in the table go out in one
    // write straight from the mapping (all of it when nothing is deleted), up
    // to 8 MB at a time. The disk is asked to start on what was written a few
    // pieces back, waiting for what it was given before that, so writing and
    // writing back overlap and the one sync at the end finds little left.
    // (Asking it to start on each piece at once, just written, made the whole
    // three times slower on a virtual disk; a trail of 32 MB made it faster.)
    const std::uint32_t perPiece = std::max<std::uint32_t>(1, (8u << 20) / reclen);
    constexpr std::uint64_t kTrail = 32u << 20;
    constexpr std::uint64_t kStep = 8u << 20;
    std::uint64_t handed = 0;   // bytes of records whose writing back was started
    bool ok = true;
    std::uint64_t written = 0;  // bytes of records in the new file so far
    for (std::uint32_t i = 0; i < kept && ok;) {
        std::uint32_t n = 1;
        while (i + n < kept && n < perPiece && copy.kept[i + n] == copy.kept[i] + n) ++n;
        const std::uint64_t bytes = std::uint64_t(n) * reclen;
        ok = pwriteAll(copy.fd, record(copy.kept[i]), bytes, off_t(hlen + written));
        written += bytes;
        i += n;
        for (; ok && written >= handed + kStep + kTrail; handed += kStep)
            (void)::sync_file_range(copy.fd, off_t(hlen + handed), off_t(kStep),
                                    SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE);
    }
    std::string header(map_, hlen);
    putU32(header.data() + kDbfCountOffset, kept);
    int y, m, d;
    todayDate(y, m, d);
    header[1] = char(y - 1900);
    header[2] = char(m);
    header[3] = char(d);
    char eof = 0x1A;
    ok = ok && pwriteAll(copy.fd, &eof, 1, off_t(hlen + std::uint64_t(kept) * reclen));
    ok = ok && pwriteAll(copy.fd, header.data(), header.size(), 0);
    if (!ok) throw EngineError("Cannot write the packed table \"" + path_ + "\": " + sysError());
}

void DbfFile::syncPackedCopy(PackedCopy& copy) {
    if (::fsync(copy.fd) != 0)
        throw EngineError("Cannot write the packed table \"" + path_ + "\": " + sysError());
}

void DbfFile::discardPackedCopy(PackedCopy& copy) {
    if (copy.fd < 0) return;
    ::close(copy.fd);
    ::unlink(copy.tmpPath.c_str());
    copy.fd = -1;
}

void DbfFile::replaceWithPackedCopy(PackedCopy& copy) {
    if (::rename(copy.tmpPath.c_str(), copy.target.c_str()) != 0) {
        std::string why = sysError();
        discardPackedCopy(copy);
        throw EngineError("Cannot write the packed table \"" + path_ + "\": " + why);
    }
    if (map_) ::munmap(map_, mapLength_);
    map_ = nullptr;
    ::close(fd_);
    fd_ = copy.fd;
    copy.fd = -1;
    const std::uint64_t hlen = layout_.headerLength;
    const std::uint64_t size = hlen + std::uint64_t(copy.kept.size()) * layout_.recordLength + 1;
    allocated_ = populated_ = size;
    mapFile(size);
    layout_ = parseDbfHeader(reinterpret_cast<const unsigned char*>(map_), std::size_t(hlen), size,
                             path_);
}

bool DbfFile::tryExclusive() {
    if (exclusive_) return true;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        // Linux converts a flock by dropping the old lock first, so a refused
        // upgrade leaves none: take the shared lock back, or the table would
        // stay open without keeping exclusive users out.
        ::flock(fd_, LOCK_SH | LOCK_NB);
        return false;
    }
    if (!takePosixLock(fd_, true, writable_)) {
        ::flock(fd_, LOCK_SH);
        return false;
    }
    exclusive_ = true;
    upgraded_ = true;
    return true;
}

void DbfFile::restoreShared() {
    if (!upgraded_) return;
    takePosixLock(fd_, false, writable_);
    ::flock(fd_, LOCK_SH);
    exclusive_ = false;
    upgraded_ = false;
}

void DbfFile::trimToExactSize() {
    if (!writable_ || !exclusive_) return;
    const std::uint64_t exact =
        layout_.headerLength + std::uint64_t(layout_.recordCount) * layout_.recordLength;
    const std::uint64_t size = fileSizeOf(fd_, path_);
    allocated_ = size;
    if (size == exact + 1 && map_[exact] == 0x1A) return;
    if (size < exact) return;  // cannot happen: the count was checked against the size
    // Only the space this engine grows ahead (an end marker followed by
    // zeros) is cut. Bytes past the count that hold anything else may be
    // records another program failed to count; they are left alone.
    if (size > exact) {
        if (map_[exact] != 0x1A && map_[exact] != 0) return;
        if (!allZeros(map_ + exact + 1, size - exact - 1)) return;
    }
    if (::ftruncate(fd_, off_t(exact + 1)) == 0) {
        char eof = 0x1A;
        pwriteAll(fd_, &eof, 1, off_t(exact));
        allocated_ = exact + 1;
        populated_ = std::min(populated_, allocated_);
    }
}

void DbfFile::prepareScan() {
    if (scanPrepared_ || layout_.recordCount == 0) return;
    scanPrepared_ = true;
    // Fault the record pages in with one call instead of one fault per page.
    const std::uint64_t end =
        layout_.headerLength + std::uint64_t(layout_.recordCount) * layout_.recordLength;
#ifdef MADV_POPULATE_READ
    if (::madvise(map_, end, MADV_POPULATE_READ) == 0) return;
#endif
    ::madvise(map_, end, MADV_WILLNEED);
}

namespace {
// The lock request on the byte that serialises writers: an open-file-description
// lock, so that no other descriptor of the file closed meanwhile in this
// process can drop it, and so that two tables of one process exclude each
// other as two processes do.
struct flock writerLock(short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = kWriteLockByte;
    fl.l_len = 1;
    return fl;
}
}  // namespace

void DbfFile::lockForWrite() {
    if (exclusive_ || fd_ < 0) return;
    // Our writers hold the byte for the moment of one change and are waited
    // for as long as it takes. Another program may hold a lock over the whole
    // file (one reading it with a shared lock, say) for as long as it likes:
    // that is waited for a few seconds, then the write is refused.
    constexpr int kPeerWaitMs = 3000;
    int peerWaited = 0;
    for (int pause = 1;; pause = std::min(pause * 2, 20)) {
        struct flock fl = writerLock(F_WRLCK);
        if (::fcntl(fd_, F_OFD_SETLK, &fl) == 0) break;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EACCES)
            throw EngineError("Cannot lock the table \"" + path_ + "\" for writing: " + sysError());
        struct flock holder = writerLock(F_WRLCK);
        const bool writer =
            ::fcntl(fd_, F_OFD_GETLK, &holder) == 0 &&
            (holder.l_type == F_UNLCK || (holder.l_start == kWriteLockByte && holder.l_len == 1));
        if (!writer && (peerWaited += pause) > kPeerWaitMs) throw EngineError(inUseMessage(path_));
        ::usleep(useconds_t(pause) * 1000);
    }
    // Callers release the lock only once this returns: a count that cannot be
    // read must not leave it held, or every other writer would wait forever.
    try {
        reloadCount();
    } catch (...) {
        unlockForWrite();
        throw;
    }
}

void DbfFile::unlockForWrite() {
    if (exclusive_ || fd_ < 0) return;
    struct flock fl = writerLock(F_UNLCK);
    ::fcntl(fd_, F_OFD_SETLK, &fl);
}

}  // namespace engine
