// A new table for a collection made complete beside it, then put in place: a restored backup,
// or the collection with the records of an earlier version added.
//
// The table is copied into a hidden folder (".tess-staged-XXXXXX") in the destination's own
// folder, under the destination's own file name; records are added to that copy and its sort
// index is built there, so the index file carries the collection's name. Until putInPlace() the
// collection at the destination (table and index) is untouched: a failure, or a process killed
// while copying, adding or indexing, leaves it as it was, and the next staged table in that
// folder removes what a killed one left behind.
//
// putInPlace() renames the new table over the old one with its production-index flag cleared,
// then the new index over the old one, and only then sets the flag. A process killed between
// those renames leaves the new table with its index ignored (the flag says it has none), which
// the next open of the collection builds afresh; never a table with an index of other records.
//
// The object removes its folder when it is destroyed. Engine errors (a backup that cannot be
// indexed) propagate as engine::EngineError.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "safekeeping/safe_copy.h"

namespace engine {
class Table;
}

namespace safekeeping {

class StagedTable {
  public:
    // `destination`: the .DBF the restore replaces or creates (a link there: the file it names).
    explicit StagedTable(const QString& destination);
    ~StagedTable();
    StagedTable(const StagedTable&) = delete;
    StagedTable& operator=(const StagedTable&) = delete;

    // Copies `source` into the hidden folder, its production-index flag cleared (the copy has no
    // index yet). DestinationUnwritable when the folder could not be made.
    CopyOutcome copyFrom(const QString& source);
    // The copy, to open and add records to (closed again before buildIndex()).
    const QString& path() const { return staged_; }
    // Builds the tag "NewIndex" on `sortExpression` in the copy (none when it is empty). Throws
    // engine::EngineError.
    void buildIndex(const QString& sortExpression);
    // Puts table and index in place; false when the table could not be put there (the old
    // files then stay as they were).
    bool putInPlace();

  private:
    QString target_;  // the file replaced
    std::unique_ptr<QTemporaryDir> folder_;
    QString staged_;  // the copy inside the folder
};

// Adds records to the collection `table` all or nothing: `fill` appends them to a staged copy
// (open exclusively), which is then indexed on `sortExpression` and put in place. A `fill` that
// throws, or a process killed meanwhile, leaves the collection as it was, so a second try starts
// from the same records. The caller has closed its own open of the table. Throws
// engine::EngineError (what `fill` threw, or why the copy could not be made or put in place).
void addRecordsAllOrNothing(const QString& table, const QString& sortExpression,
                            const std::function<void(engine::Table&)>& fill);

// Sets the production-index flag (offset 28) of a .DBF file to `on`; false when the file could
// not be written.
bool setIndexFlag(const QString& table, bool on);

}  // namespace safekeeping
