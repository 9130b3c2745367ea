// Pack and Rebuild Indexes of the current collection, and the shared re-open that every
// operation needing the table to itself ends with.
//
// The caller (the main window, or the command-line tool) owns the open stamp table and asks its
// "Confirm" question first; these functions do the rest: close the table, open it exclusively,
// pack (deleted records removed, every tag rebuilt) or regenerate every tag, and open it shared
// again with the index selection it had. The table's record filter is kept by the table across
// the re-open, so a running search stays in force. On every path the table ends open and
// shared and `reapplyViewer` has run; any failure inside (most often another program holding the
// file, so the exclusive open is refused) is then told as the command's failure message titled
// "Error". A pack that recovered records past the header's count tells so in a "Notice"
// (packRecoveredMessage). Only a failure of the final shared re-open itself escapes, as
// engine::EngineError.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collection/collection_file.h"

namespace engine {
class Table;
}

namespace collection {

inline const QString kPackQuestion = QStringLiteral(
    "Deleted items are not permanently removed from the database until packing occurs.  Packing "
    "simply removes them to free up space.  Continue?");
inline const QString kRebuildQuestion = QStringLiteral(
    "It is possible for your index files to become corrupted.  As a result, some items may not "
    "show up in the viewer or in reports.  This will rebuild your index files correctly.  "
    "Continue?");
inline const QString kPackFailed = QStringLiteral(
    "Unable to pack table.  Packing requires exclusive use of the DBase File.  Make sure that the "
    "DBase File is not in use by another program  or that no other users are running the "
    "software or that no other copies of the software are in use.");
inline const QString kReindexFailed = QStringLiteral(
    "Unable to reindex table.  Reindexing requires exclusive use of the DBase File.  Make sure "
    "that the DBase File is not in use by another program  or that no other users are running "
    "the software or that no other copies of the software are in use.");

// What the window layer does around a re-open.
struct ReopenHooks {
    std::function<void()> reapplyViewer;  // runs after every shared re-open
    MessageSink tell;                     // failure messages, after the table is open again
};

enum class MaintenanceResult { Done, Failed };

// Told after a pack that kept complete records beyond the count in the table's header (a count
// another program left too small), so the user knows records came back.
QString packRecoveredMessage(std::uint32_t recovered);

// Closes `table` if open, opens `path` shared and selects `tag` when it is given and the table
// has it (record order otherwise). Throws engine::EngineError when the open fails.
void reopenShared(engine::Table& table, const QString& path, const std::string& tag);

// Told, while the table is still held exclusively, the new record numbers of a pack that
// succeeded (engine::PackResult::newNumbers: `newNumbers[old]` is the new number of old record
// `old`, 0 for a record the pack removed), so that what hangs off record numbers (the picture
// store) moves with them.
using PackCarry = std::function<void(const std::vector<std::uint32_t>& newNumbers)>;

MaintenanceResult packCollection(engine::Table& table, const QString& path,
                                 const ReopenHooks& hooks, const PackCarry& carry);
MaintenanceResult packCollection(engine::Table& table, const QString& path,
                                 const ReopenHooks& hooks);
// Every tag the engine can build is rebuilt, and the sort tag is made again from
// `sortExpression` when the index had lost it (a damaged index).
MaintenanceResult rebuildCollectionIndexes(engine::Table& table, const QString& path,
                                           const ReopenHooks& hooks, const QString& sortExpression);
MaintenanceResult rebuildCollectionIndexes(engine::Table& table, const QString& path,
                                           const ReopenHooks& hooks);

}  // namespace collection
