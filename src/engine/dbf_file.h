// One open .DBF file: descriptor, advisory lock, read mapping and writes.
//
// Contract:
//  - Owns the file descriptor and the mapping; closing releases the lock.
//  - Shared opens take flock(LOCK_SH), exclusive opens flock(LOCK_EX), both
//    without waiting, and the matching POSIX lock that programs locking with
//    fcntl or lockf see (posix_locks.h); a refused lock is
//    EngineError("... in use ...").
//  - Records are read through a MAP_SHARED mapping reserved larger than the
//    file, so appended records become visible without remapping. Pointers
//    into the mapping stay valid until the next append that outgrows the
//    reserve (then remap() moves it).
//  - appendRecord() writes the record and the end-of-file marker first and
//    only then the new count into the header: a process killed in between
//    leaves the old count and so the old table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dbf_header.h"

namespace engine {

class DbfFile {
public:
    DbfFile() = default;
    ~DbfFile();
    DbfFile(const DbfFile&) = delete;
    DbfFile& operator=(const DbfFile&) = delete;

    // `readOnly` opens the file for reading only, whatever its permissions.
    void open(const std::string& path, bool exclusive, bool readOnly = false);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    bool writable() const { return writable_; }
    bool exclusive() const { return exclusive_; }
    const std::string& path() const { return path_; }
    const DbfLayout& layout() const { return layout_; }

    std::uint32_t count() const { return layout_.recordCount; }
    const char* record(std::uint32_t recno) const {  // 1-based, unchecked
        return map_ + layout_.headerLength + std::uint64_t(recno - 1) * layout_.recordLength;
    }

    // Re-reads the count from the header (another process may have appended).
    // Returns true when it changed.
    bool reloadCount();

    void writeRecord(std::uint32_t recno, const char* data);  // in place
    std::uint32_t appendRecord(const char* data);            // returns the new record number
    // A span of appends by the holder of the write lock of a shared table:
    // the file grows ahead and records are written through the mapping, as
    // with exclusive use; endAppendSpan() cuts the file to its records again
    // (call it before the lock goes).
    void beginAppendSpan();
    void endAppendSpan();
    void setDeletedFlag(std::uint32_t recno, bool deleted);
    void setMdxFlag(bool on);
    void setFieldIndexFlag(int field, bool on);
    // Packing, in steps so that a new index can be built meanwhile and the
    // table and its index replaced together (needs an exclusive open):
    // beginPackedCopy() makes the new file beside the table, held locked as
    // the table is, and finds the records it is to hold (`kept`): those not
    // marked deleted. Records complete in the file past the header's count
    // (another program's, or an append cut short) are kept too: pack never
    // drops a record that is not marked deleted. writePackedCopy() then writes
    // them; it only reads the table, so other readers of record() (an index
    // built from `kept` on another thread) may run beside it. Its writing to
    // disk starts as it is written; syncPackedCopy() waits until all of it is
    // on disk (call it before anything is renamed).
    // replaceWithPackedCopy() renames it over the table (over the file a
    // symbolic link names, not the link) and continues on it;
    // discardPackedCopy() removes it and leaves the table as it was.
    struct PackedCopy {
        std::string tmpPath;
        std::string target;
        int fd = -1;
        std::vector<std::uint32_t> kept;  // old record number of each new record
        std::uint32_t examined = 0;       // records read: counted and past the count
        std::uint32_t recovered = 0;      // kept records past the old header's count
    };
    PackedCopy beginPackedCopy();
    void writePackedCopy(PackedCopy& copy);
    void syncPackedCopy(PackedCopy& copy);
    void replaceWithPackedCopy(PackedCopy& copy);
    void discardPackedCopy(PackedCopy& copy);
    // Cuts a writable, exclusively held file to header + count records + EOF.
    void trimToExactSize();
    // Called before a pass over every record: maps all record pages at once.
    void prepareScan();

    // Serialises writers of a shared table across processes (a POSIX lock on a
    // byte past any real file size); no-op for exclusive opens.
    void lockForWrite();
    void unlockForWrite();

    // For a shared open: tries to hold the table exclusively for a while
    // (false when anyone else has it open); restoreShared() undoes it.
    bool tryExclusive();
    void restoreShared();

private:
    void mapFile(std::uint64_t minLength);
    void findLiveRecords(PackedCopy& copy) const;
    void touchDate();
    void ensureWritable() const;
    // Makes the file at least `need` bytes long, growing it ahead; false when
    // the space cannot be set aside.
    bool reserveAhead(std::uint64_t need);
    // Maps the file's pages up to `end` writable ahead of the writes; nothing
    // is stored from `dataEnd` on (the end marker included before it).
    void populateTo(std::uint64_t end, std::uint64_t dataEnd);

    std::string path_;
    int fd_ = -1;
    bool writable_ = false;
    bool exclusive_ = false;
    bool dateTouched_ = false;
    bool upgraded_ = false;
    char* map_ = nullptr;
    std::uint64_t mapLength_ = 0;
    std::uint64_t allocated_ = 0;  // file size as last set by us
    bool scanPrepared_ = false;
    bool appendSpan_ = false;
    std::uint64_t spanStart_ = 0;  // file size when the append span began
    std::uint64_t populated_ = 0;  // pages before this offset are mapped writable
    DbfLayout layout_;
};

}  // namespace engine
