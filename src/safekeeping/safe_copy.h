// Whole-file copies that never leave a half-written file in place of a good one, and the two
// tests made before a copy: whether two paths name the same file, and whether there is room.
//
// copyFileSafely writes the source into a temporary file beside the destination, flushes it to
// disk and only then renames it over the destination (over the file a symbolic link points to,
// when the destination is such a link, so the link stays a link). Until that rename the old
// destination is untouched; a copy that fails, or a process killed while copying, leaves at most
// a hidden temporary file (".NAME.tess-copy-XXXXXX"), which the next copy into that folder under
// the same name removes.
#pragma once

#include <QString>

namespace safekeeping {

enum class CopyOutcome {
    Copied,
    SourceUnreadable,       // the source cannot be opened or read
    DestinationUnwritable,  // the temporary file cannot be made in the destination's folder
    NoRoom,                 // the destination's file system ran out of room (or of quota)
    WriteFailed,            // another failure of a write, the flush or the final rename
};

CopyOutcome copyFileSafely(const QString& source, const QString& destination);

// True when both paths exist and are the same file on disk (same device and inode), so a file
// reached through a symbolic link, a bind mount or another letter case on a case-insensitive
// file system counts as identical. A path that does not exist is never identical to another.
bool sameFile(const QString& a, const QString& b);

// Size in bytes of a file; 0 when it does not exist.
qint64 fileSize(const QString& path);

// The file a copy into `destination` replaces: the destination itself, or the file a symbolic
// link there points to (so the link stays a link).
QString resolvedTarget(const QString& destination);

// The free-space rule: a copy of `sourceSize` bytes may start when the file system holding the
// destination has that many free bytes. The size of an older file the copy replaces does not
// count: the copy is written whole beside it and the old file is freed only once the copy is in
// place. `freeBytes` < 0 (unknown) lets the copy try; running out of room then still ends in
// CopyOutcome::NoRoom with the old file as it was.
bool roomForCopy(qint64 sourceSize, qint64 freeBytes);

}  // namespace safekeeping
