// The store's index file: reading it, and replacing it atomically under the store's lock.
//
// Format (UTF-8 text): a first line "Tessellon pictures 1", then one line a link,
//   <record number> TAB <stored file> TAB <fingerprint> TAB <original name, percent-encoded>
// A record's links are in its pictures' order. A line that cannot be read (a stored file name
// that is not a plain name, a record number that is not a positive number) is counted and
// left out; everything else in the file still reads.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "pictures/picture_store.h"

namespace pictures {

struct IndexLink {
    std::uint32_t recno = 0;
    QString file;
    Fingerprint fingerprint;
    QString originalName;
};

struct IndexContents {
    std::vector<IndexLink> links;  // in file order
    int damagedLines = 0;
};

// Reads the index at `path`; empty contents when the file does not exist. Throws PictureError
// when it exists but cannot be read.
IndexContents readIndex(const QString& path);
// Parses the text of an index.
IndexContents parseIndex(const QByteArray& text);
QByteArray formatIndex(const std::vector<IndexLink>& links);

// Writes `bytes` to `path` through a temporary file in the same folder that is flushed to disk
// and renamed over `path`; the folder is flushed after. Throws PictureError.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

// Holds the store's lock file (created with the folder when missing) for its lifetime; waits
// while another writer holds it. Throws PictureError when the folder cannot be made.
class StoreLock {
  public:
    explicit StoreLock(const QString& folder);
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

  private:
    int fd_ = -1;
};

// True when `name` is a plain file name the store could have written (no folder part).
bool isPlainFileName(const QString& name);

}  // namespace pictures
