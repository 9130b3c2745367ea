// Changing a collection's sort order, and building its sort tag when it becomes current.
//
// The order is the index tag "NewIndex" of the collection's production index, keyed by the sort
// expression of the four sort levels (sort_expression.h). `applySortOrder` is the whole change
// the sort-order window's Ok makes, and the command-line tool makes the same call:
//   - the table is closed and the in-use test made; when another program holds the file the
//     table is re-opened shared as it was, and the in-use message told: nothing changed;
//   - otherwise the table is opened exclusively, `levels` take the chosen values, the tag is
//     replaced by one on the new expression (record order when the expression is empty), the
//     settings are written through `writeSettings`, and the table re-opened shared on the new
//     order;
//   - any failure in between tells the failure message; `levels` get their old values back
//     (written again when they had already been written), the old tag is rebuilt where the
//     table still allows it, and the table is re-opened shared.
// On every path the table ends open and shared and `reapplyViewer` has run before any message is
// told, so a viewer never reads a closed table while a message box is up. The table's record
// filter stays in force across the re-opens. Only a failure of the final shared re-open itself
// escapes, as engine::EngineError.
#pragma once

#include <QString>
#include <array>
#include <functional>

#include "collection/collection_file.h"

namespace engine {
class Table;
}

namespace collection {

using SortLevels = std::array<int, 4>;  // field numbers 1..25, 0 for none

inline const QString kSortInUse = QStringLiteral(
    "Creating a new sort order requires exclusive use of the DBase File.  Make sure that the "
    "DBase File is not in use by another program  or that no other users are running the "
    "software or that no other copies of the software are in use.");
inline const QString kSortFailed =
    QStringLiteral("Error in implementing sort order.  New sort order not implemented.");

struct SortOrderHooks {
    std::function<void()> writeSettings;  // writes the collection settings holding the levels
    std::function<void()> reapplyViewer;  // runs after every shared re-open
    MessageSink tell;
};

enum class SortOrderResult { Applied, InUse, Failed };

// The levels with `field` first and the others after it in their order (`field` itself and
// empty levels dropped, the last one falling off when all four were used): what clicking a
// column title asks for.
SortLevels levelsLedBy(const SortLevels& levels, int field);

// `path` is the collection's .DBF; `levels` are the current levels (the caller's own, changed
// only on success); `chosen` are the new ones.
SortOrderResult applySortOrder(engine::Table& table, const QString& path, SortLevels& levels,
                               const SortLevels& chosen, const SortOrderHooks& hooks);

// Making a collection current: `table` is closed on entry and is left open shared. Unless
// `testInUse` finds another program holding the file, or the file cannot be written, the tag is
// replaced by one on `expression` and selected (record order when the expression is empty);
// otherwise the tag is left as it is and selected when the expression is non-empty. True when the
// tag was rebuilt. Engine failures escape as engine::EngineError.
bool rebuildSortTagOnOpen(engine::Table& table, const QString& path, const QString& expression,
                          bool testInUse = true);

// Replaces the tag on an open table by one keyed on `expression` and selects it; with an empty
// expression only selects record order (the tag, if any, stays).
void buildSortTag(engine::Table& table, const QString& expression);
// After the index was rebuilt from what was left of it: the sort tag made again from the
// collection's sort expression when the index no longer has it. True when it was made.
bool restoreSortTag(engine::Table& table, const QString& expression);

// Writes `levels` into the settings file `settingsPath`, every other setting as read from it.
void writeSortLevels(const QString& settingsPath, const SortLevels& levels);

}  // namespace collection
