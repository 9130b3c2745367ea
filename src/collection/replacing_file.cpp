#include "collection/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace collection {

namespace {

// `path` with symbolic links followed as far as they lead (a link to a file not yet there
// gives the path it points at).
std::string followLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::vector<char> buffer(PATH_MAX + 1);
        const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size() - 1);
        if (n < 0) return current;
        std::string next(buffer.data(), std::size_t(n));
        if (next.empty() || next[0] != '/') {
            const std::size_t slash = current.rfind('/');
            next = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + next;
        }
        current = next;
    }
    return current;
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& target) : target_(target) {
    final_ = followLinks(target);
    struct stat existing {};
    if (::stat(final_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        // A device or a pipe (/dev/null, /dev/stdout) is written as it is: nothing is renamed
        // over it.
        direct_ = true;
        temporary_ = final_;
        // Without a reader a pipe is refused at once rather than waited on.
        fd_ = ::open(final_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0) fail("Cannot write");
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
        return;
    }
    const std::size_t slash = final_.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : final_.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? final_ : final_.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
    std::string pattern = folder + "." + name + ".XXXXXX" + extension;
    fd_ = ::mkstemps(pattern.data(), int(extension.size()));
    if (fd_ < 0) fail("Cannot create");
    ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
    temporary_ = pattern;
    struct stat st {};
    mode_t mode;
    if (::stat(final_.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !direct_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void ReplacingFile::fail(const std::string& what) const {
    throw std::runtime_error(what + " " + target_ + ": " + std::strerror(errno) + ".");
}

void ReplacingFile::closeFile() {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("Cannot write");
}

void ReplacingFile::write(const char* bytes, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::write(fd_, bytes + done, n - done);
        if (got < 0) {
            if (errno == EINTR) continue;
            fail("Cannot write");
        }
        done += std::size_t(got);
    }
}

void ReplacingFile::commit() {
    if (direct_) {
        closeFile();
        committed_ = true;
        return;
    }
    if (fd_ < 0) {
        fd_ = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) fail("Cannot write");
    }
    if (::fsync(fd_) != 0 && errno != EINVAL) fail("Cannot write");
    closeFile();
    if (::rename(temporary_.c_str(), final_.c_str()) != 0) fail("Cannot write");
    committed_ = true;
}

}  // namespace collection
