// Private state of engine::Table, shared by its implementation files
// (table.cpp: cursor and editing; table_index.cpp: tags and maintenance).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/dbf_file.h"
#include "engine/expression.h"
#include "engine/key_batch.h"
#include "engine/mdx_file.h"
#include "engine/table.h"

namespace engine {

struct Table::Impl {
    DbfFile dbf;
    OpenMode mode = OpenMode::Shared;
    std::string path;
    std::string mdxPath;
    std::unique_ptr<MdxFile> mdx;
    std::vector<std::optional<KeyExpression>> exprs;  // parallel to mdx->tags()
    std::string selectedName;                         // upper case; empty = record order
    int selectedTag = -1;
    bool indexTrusted = true;           // false: the index disagrees with the table; not used
    bool indexDamaged = false;          // the .MDX exists but cannot be read; not used
    bool damageRechecked = false;       // a damaged index was looked at again under the lock
    std::vector<TagInfo> salvagedTags;  // what could be read of a damaged index's tags
    std::string indexNotice;            // see Table::indexNotice()
    // Size of the index file when this table last changed or mapped it; another
    // program sharing the table that grew or cut the file changes it.
    std::uint64_t mdxSizeSeen = 0;

    RecordFilter filter;
    // Visible rows. Complete, or while lazyRows holds (nothing deleted, no
    // filter) only the prefix of the tag's order read so far through `walk`;
    // in record order with lazyRows the row i is simply record i + 1.
    std::vector<std::uint32_t> order;
    bool orderValid = false;
    bool lazyRows = false;
    bool walkDone = true;
    OrderCursor walk;
    std::vector<bool> walkSeen;  // records the lazy walk of a tag has given so far
    // Records marked deleted, kUnknownCount until counted or read from the
    // index's stamp.
    std::uint32_t deletedCount = kUnknownCount;

    std::uint32_t cur = 0;  // current physical record, 0 none
    std::int64_t pos = -1;  // ordinal of cur in order, -1 unknown
    bool atStart = false;  // cursor not placed yet: first use goes to the first record
    bool curGone = false;  // cur vanished from the rows; pos holds the record after it
    std::uint64_t generation = 0;  // counts rebuilds of the rows that can move positions
    bool eof = true;
    bool bof = true;

    EditState state = EditState::Browse;
    bool standIns = false;  // '?' for characters the code page cannot hold
    ChangeObserver observer;  // see Table::setChangeObserver
    std::string buffer;
    std::uint32_t editRecno = 0;
    std::string keyNew, keyOld;

    // An append run (Table::beginAppendRun): posts of new records share one
    // slice of the write lock and one index stamp for up to kSliceLength.
    static constexpr std::chrono::milliseconds kSliceLength{50};
    bool appendRun = false;
    bool sliceOpen = false;
    std::chrono::steady_clock::time_point sliceStart;
    void appendBuffered();
    void postInRun();
    void openSlice();
    // Stamps the index and lets the write lock go; anything else that writes
    // (WriteLock, ExclusiveUse) closes the slice first.
    void closeSlice();
    // After a failed write: lets the lock go and leaves the index marked as
    // changing, as a failed post does.
    void abandonSlice();

    // Keys waiting to go into the index, per tag (parallel to exprs): the
    // new records of an append run's slice, the changes of an edit run.
    // Applied (applyPendingKeys) before the index is read, stamped or
    // changed otherwise; dropped when the index is rebuilt from the records.
    std::vector<KeyBatch> pendingAdds, pendingRemoves;
    bool keysPending = false;
    bool pendingAllNewest = true;  // every pending add is an appended record
    bool editRun = false;
    bool editRunUnstamped = false;  // the edit run marked the index as changing
    void queueKeys(const char* newRecord, const char* oldRecord, std::uint32_t recno);
    void applyPendingKeys();
    void discardPendingKeys();
    bool appendedKeysAreNewest() const;
    // Ends an edit run: its keys go in and the index is stamped.
    void finishEditRun();

    // table_index.cpp
    void openIndex();
    // Maps the index afresh (shared opens only); the caller holds the write
    // lock. `forWrite`: an index left half-changed is rebuilt, not just left unused.
    void reloadIndex(bool forWrite);
    std::uint64_t indexFileSize() const;  // 0 when there is none
    // The key expression of `tag` when this engine can build the tag.
    std::optional<KeyExpression> buildable(const TagInfo& tag) const;
    void compileTagExpressions();
    // Throws the refusal naming the first tag this engine cannot keep up to date.
    void requireMaintainableTags() const;
    // Rebuilds every tag; refuses (above) when one cannot be rebuilt as it is.
    void rebuildIndex();
    // Writes a new index holding the tags of `defs` it can build beside the
    // old one and moves it over it (needs the table to itself). No tag left:
    // the index file is removed.
    void rebuildBeside(const std::vector<TagInfo>& defs);
    // Runs a rebuild at open; false when it failed (the index stays unused).
    bool tryRebuild(const std::function<void()>& rebuild);
    // Before a tag is added or deleted: a damaged or out-of-date index is rebuilt.
    void prepareIndexForChange();
    // A change of the index, stamped at its end with the table's counts.
    void beginIndexChange();
    void endIndexChange(std::uint32_t deleted);
    // After the index was changed and stamped: marks its file as changed now
    // (with exclusive use, at close).
    void indexChanged();
    bool stampPending = false;  // exclusive use: the index is touched at close
    // Marks the index file as changed now, after the table file: an index
    // older than its table may carry a stale deleted count (another program
    // deleted records), which is then counted afresh.
    void touchIndex();
    bool indexOlderThanTable() const;
    void distrustStaleDeletedCount();
    std::uint32_t countDeleted();  // one pass over the records; also sets deletedCount
    void resolveSelected();
    void updateFieldIndexFlags();
    void collectTagOrder(std::vector<std::uint32_t>& out);
    KeyProducer producerFor(const KeyExpression& e);

    // table.cpp
    void ensureOrder();
    bool lazyRowsPossible() const;
    void rebuildRows();
    // Puts the cursor on the row `target` names, asking again whenever the
    // rows had to be rebuilt on the way; false when there is no such row.
    bool moveCursor(const std::function<std::int64_t()>& target);
    void placeFirst();
    void extendRows(std::size_t wanted);
    std::uint32_t rowCount();
    std::uint32_t rowAt(std::uint32_t i);
    std::uint32_t fullRowAt(std::uint32_t i) const;
    std::int64_t rowOf(std::uint32_t recno);
    void settle();  // places a cursor left at its start by open()
    void prefetchAhead();  // asks for the record a few rows ahead of the cursor
    void invalidateOrder() { orderValid = false; pos = -1; }
    void syncWithDisk(bool forWrite);
    bool accepted(std::uint32_t recno) const;
    void requireOpen() const;
    void requireEditing() const;
    void requireWritable() const;
    int checkField(int field) const;
    char* fieldPtr(int field);
};

// Removes the files a pack killed before it finished left beside the table
// and its index (table_pack.cpp).
void removePackLeftovers(const std::string& tablePath);

// Serialises writers of a shared table for the life of the scope. An open
// slice of an append run is closed first, so the lock is never taken twice.
class WriteLock {
public:
    explicit WriteLock(Table::Impl& t) : f_(t.dbf) {
        t.closeSlice();
        f_.lockForWrite();
    }
    ~WriteLock() { f_.unlockForWrite(); }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    DbfFile& f_;
};

// Holds a shared table exclusively for the life of the scope, or throws the
// in-use error. An open slice of an append run is closed first.
class ExclusiveUse {
public:
    explicit ExclusiveUse(Table::Impl& t);
    ~ExclusiveUse();

private:
    DbfFile& f_;
};

}  // namespace engine
