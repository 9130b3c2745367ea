#include "engine/regular_file.h"
#include "engine/table_probe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "engine/companion_files.h"
#include "engine/posix_locks.h"

namespace engine {

namespace {

// The most of a header that is read: its length is a 16-bit number, so no header is longer.
constexpr std::size_t kHeaderReadLimit = std::size_t(1) << 16;

// A read-only descriptor, closed (and its lock released) when it goes.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::string& path)
        : fd_(openRegularFile(path, O_RDONLY)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    int fd() const { return fd_; }
    bool lock(int operation) const { return ::flock(fd_, operation | LOCK_NB) == 0; }

  private:
    int fd_;
};

}  // namespace

DbfLayout readTableLayout(const std::string& path) {
    ReadOnlyFile file(path);
    if (file.fd() < 0) {
        if (errno == ENOENT) throw EngineError("The table \"" + path + "\" does not exist.");
        throw EngineError("Cannot open the table \"" + path + "\": " + std::strerror(errno));
    }
    if (!file.lock(LOCK_SH)) {
        if (errno == EWOULDBLOCK) throw TableInUseError(path);
        throw EngineError("Cannot lock the table \"" + path + "\": " + std::strerror(errno));
    }
    if (posixLockConflicts(file.fd(), false)) throw TableInUseError(path);
    struct stat st {};
    if (::fstat(file.fd(), &st) != 0)
        throw EngineError("Cannot read the size of \"" + path + "\": " + std::strerror(errno));
    const std::uint64_t fileSize = std::uint64_t(st.st_size);
    std::vector<unsigned char> header(
        std::size_t(std::min<std::uint64_t>(fileSize, kHeaderReadLimit)));
    std::size_t got = 0;
    while (got < header.size()) {
        const ssize_t n = ::pread(file.fd(), header.data() + got, header.size() - got, off_t(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += std::size_t(n);
    }
    return parseDbfHeader(header.data(), got, fileSize, path);
}

bool tableHeld(const std::string& path) {
    ReadOnlyFile file(path);
    if (file.fd() < 0) return false;
    if (!file.lock(LOCK_EX) && errno == EWOULDBLOCK) return true;
    // Programs that lock with fcntl or lockf, on the table or only its index.
    return posixLockConflicts(file.fd(), true) || othersHoldPosixLocks(companionPath(path, ".MDX"));
}

}  // namespace engine
