// POSIX record locks (fcntl/lockf) that other dBase programs use, seen and
// taken alongside our own flock.
//
// Other programs lock tables with fcntl or lockf; those locks and flock know
// nothing of each other. To see them and be seen by them an open table also
// holds an open-file-description lock (F_OFD_SETLK): such locks conflict with
// the fcntl/lockf locks of other processes exactly as theirs do with each
// other, but belong to our descriptor rather than to the process, so closing
// some other descriptor of the same file in this process (which drops every
// classic fcntl lock the process holds on it) leaves them in place.
//
//  - Shared use: a read lock on one byte far past any table's data
//    (kPresenceByte). A program that locks the whole file for writing, as
//    one wanting exclusive use does, is refused; record locks of programs
//    sharing the table never meet it.
//  - Exclusive use: a write lock over the whole file (a read lock when the
//    descriptor is read-only). Any lock held by anyone else refuses it.
//
// File systems without POSIX locks (lock calls failing with ENOLCK, EINVAL or
// EOPNOTSUPP) count as holding none: flock still guards our own programs.
#pragma once

#include <sys/types.h>

#include <string>

namespace engine {

// Far beyond 32-bit offsets, so no record-locking scheme of a dBase program
// meets it, and not the byte the writers of a shared table serialise on.
inline constexpr off_t kPresenceByte = off_t(1) << 62;

// Takes (or converts to) the lock of shared or exclusive use on `fd`; false
// when another holder's lock is in the way (nothing changes then).
bool takePosixLock(int fd, bool exclusive, bool writable);
// Drops the lock taken by takePosixLock.
void releasePosixLock(int fd);
// True when another holder's lock would refuse takePosixLock(fd, exclusive, ...);
// takes nothing.
bool posixLockConflicts(int fd, bool exclusive);
// True when anyone else holds a POSIX lock on any part of the file at `path`
// (false when it does not exist or cannot be opened).
bool othersHoldPosixLocks(const std::string& path);

}  // namespace engine
