#include "engine/regular_file.h"
#include "engine/posix_locks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace engine {

namespace {

struct flock request(short type, off_t start, off_t length) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = length;  // 0: to the end of the file, however far it grows
    fl.l_pid = 0;       // required for open-file-description locks
    return fl;
}

bool unsupported(int e) {
    return e == ENOLCK || e == EINVAL || e == EOPNOTSUPP;
}

}  // namespace

bool takePosixLock(int fd, bool exclusive, bool writable) {
    struct flock fl = exclusive ? request(writable ? F_WRLCK : F_RDLCK, 0, 0)
                                : request(F_RDLCK, kPresenceByte, 1);
    // A read lock would not notice other readers: ask whether anyone at all
    // holds a lock before taking it.
    if (exclusive && !writable && posixLockConflicts(fd, true)) return false;
    // Converting from the whole-file lock back to the presence byte must
    // drop the rest of the range, which a new lock on one byte does not do.
    if (!exclusive) releasePosixLock(fd);
    while (::fcntl(fd, F_OFD_SETLK, &fl) != 0) {
        if (errno == EINTR) continue;
        return unsupported(errno);
    }
    return true;
}

void releasePosixLock(int fd) {
    struct flock fl = request(F_UNLCK, 0, 0);
    ::fcntl(fd, F_OFD_SETLK, &fl);
}

bool posixLockConflicts(int fd, bool exclusive) {
    // Asking with a write lock finds locks of either kind.
    struct flock probe = exclusive ? request(F_WRLCK, 0, 0) : request(F_RDLCK, kPresenceByte, 1);
    return ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

bool othersHoldPosixLocks(const std::string& path) {
    const int fd = openRegularFile(path, O_RDONLY);
    if (fd < 0) return false;
    const bool held = posixLockConflicts(fd, true);
    // Closing a descriptor drops every classic fcntl lock the process holds
    // on the file; the engine's own locks are open-file-description locks,
    // which stay.
    ::close(fd);
    return held;
}

}  // namespace engine
