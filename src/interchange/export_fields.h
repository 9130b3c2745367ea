// Which stamp fields an export writes and in which order, as the collection settings keep it
// (sections "Export Fields" and "Export Order": per field a Yes/No flag and a position 1..25).
//
// Rows are the export grid's 25 rows: row r holds the field at export position r and whether it
// is written. Positions that are not a permutation of 1..25 (a hand-edited settings file) are
// repaired on reading: each row takes the first field claiming its position, and rows left over
// take the unclaimed fields in field-number order, so every field shows exactly once.
#pragma once

#include <array>
#include <vector>

#include "collection/collection_settings.h"
#include "collection/stamp_schema.h"

namespace interchange {

struct ExportRow {
    int field = 1;  // stamp field number 1..25
    bool exported = true;
    bool operator==(const ExportRow&) const = default;
};

using ExportRows = std::array<ExportRow, collection::kFieldCount>;

ExportRows exportRows(const collection::CollectionSettings& settings);
// Every field in schema order, each written.
ExportRows defaultExportRows();
// Stores the rows' order and choices into the settings.
void storeExportRows(collection::CollectionSettings& settings, const ExportRows& rows);
// The export list: the written fields in row order.
std::vector<int> exportList(const ExportRows& rows);

}  // namespace interchange
