// The rules by which the viewer configuration window turns its grids back into view settings.
//
//  - A width cell is read with blanks removed from both ends; anything that is not a whole
//    number from 1 to 255 becomes 10.
//  - A label is kept to its first 20 characters. Labels must stay pairwise different, compared
//    exactly (letter case counts) as they will be stored, that is after the cut.
//  - The order grid lists labels by display position, row p - 1 for position p. Positions are
//    read back by finding each field's label as it was when the window opened; a field whose
//    label is in no row keeps its position.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "collection/collection_settings.h"

namespace appearance {

using FieldSettingsArray = std::array<collection::FieldSettings, collection::kFieldCount>;

inline constexpr int kLabelLength = 20;
inline constexpr int kBadWidth = 10;

int widthFromCell(const QString& cell);
QString labelFromCell(const QString& cell);

// The first label (as stored) that a later one repeats, or nothing when all differ.
std::optional<QString> repeatedLabel(const QStringList& cells);

// The order grid's rows: the label of the field at each position 1..25, positions that are no
// permutation repaired as reading the settings repairs them, so every field has exactly one row.
QStringList orderRows(const FieldSettingsArray& fields);

// The rows in schema order (the order page's Defaults).
QStringList schemaOrderRows(const FieldSettingsArray& fields);

// Sets each field's position from the row holding its label as it was at opening (the first row
// not given to an earlier field, should labels repeat).
void applyOrderRows(FieldSettingsArray& fields, const QStringList& labelsAtOpen,
                    const QStringList& rows);

}  // namespace appearance
