#include "engine/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/error.h"

namespace engine {

namespace {

std::string kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

[[noreturn]] void refuse(const std::string& path, mode_t mode) {
    throw EngineError("\"" + path + "\" is " + kindOf(mode) +
                      ", not a regular file: only regular files are opened.");
}

}  // namespace

int openRegularFile(const std::string& path, int flags, unsigned mode) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode_t(mode));
    if (fd < 0) {
        // Write access to a FIFO that no one reads fails at once (ENXIO)
        // rather than waiting: say what the file is.
        if (errno == ENXIO || errno == EISDIR) {
            const int error = errno;
            struct stat st {};
            if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) refuse(path, st.st_mode);
            errno = error;
        }
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        refuse(path, st.st_mode);
    }
    if ((flags & O_NONBLOCK) == 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string nonRegularKind(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    return kindOf(st.st_mode);
}

}  // namespace engine
