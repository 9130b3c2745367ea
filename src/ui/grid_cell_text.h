// Cell text of the viewer grid: how a stamp field is shown in a cell and how typed text is written
// back to the table.
//
// Text fields show as stored; integer fields as plain integers; float (money) and date fields go
// through the formatters the caller supplies, and fall back to the stored text when none is set.
// Writing reads typed text with the matching parser (plain decimal number and YYYYMMDD when none
// is set); an empty text blanks a numeric or date field. Anything that cannot be read raises
// engine::EngineError with a message for the user, like every other failure of the write.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "collection/stamp_schema.h"
#include "engine/field.h"

namespace engine {
class RecordView;
class Table;
}  // namespace engine

namespace ui {

struct GridFormatters {
    std::function<QString(double)> number;      // money and number fields
    std::function<QString(engine::Date)> date;  // never called with a blank date
    std::function<std::optional<double>(const QString&)> parseNumber;
    std::function<std::optional<engine::Date>(const QString&)> parseDate;
};

// The display text of 0-based field `field` of `record`, shown as a field of `kind`.
QString cellText(const engine::RecordView& record, int field, collection::FieldKind kind,
                 const GridFormatters& formatters);

// Writes `text` to field `field` of `table`'s edit buffer (the table must be in edit or insert
// state). Throws engine::EngineError.
void writeCellText(engine::Table& table, int field, collection::FieldKind kind, const QString& text,
                   const GridFormatters& formatters);

// The Wanted flag: checked exactly when the field holds "Yes".
bool wantedChecked(const engine::RecordView& record, int field);
inline constexpr const char* kWantedYes = "Yes";
inline constexpr const char* kWantedNo = "No";

}  // namespace ui
