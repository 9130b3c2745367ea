// The viewer's column layout: which stamp fields are grid columns, in which order, under which
// titles and how wide.
//
// The configuration arrives as plain data, one entry per schema field (index = field number - 1):
// shown or not, display label, width in characters and display position. `layoutColumns` walks
// the display positions 1..25; at each position it takes the field whose position value equals
// it, or field 1 (Catalog) when no field claims the position. A hidden field is skipped; a shown
// one becomes the next column. Positions that are not a permutation of 1..25 are not repaired:
// Catalog then fills every unclaimed position (so it can appear more than once), and a field
// whose position another field already claimed never becomes a column. Positions read from a
// settings file are a permutation already (collection/field_positions.h).
#pragma once

#include <QString>
#include <array>
#include <vector>

#include "collection/stamp_schema.h"

namespace ui {

struct FieldViewSetting {
    bool shown = true;
    QString label;
    int widthChars = 15;
    int position = 0;  // 1..25
};

using FieldViewSettings = std::array<FieldViewSetting, collection::kFieldCount>;

struct GridColumn {
    int field = 1;  // schema field number 1..25
    QString label;
    int widthChars = 15;

    bool operator==(const GridColumn&) const = default;
};

// Every field shown, under its default label, width 15, in schema order.
FieldViewSettings defaultFieldViewSettings();

// The columns in display order, as described above.
std::vector<GridColumn> layoutColumns(const FieldViewSettings& settings);

}  // namespace ui
