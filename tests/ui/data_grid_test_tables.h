// Stamp tables for the viewer-grid and navigator tests: a scratch folder (QTemporaryDir, removed
// at the end of the test) holding a table created with the 25 collection fields, filled with
// records given as (field number, stored text) pairs, and shown in a DataGrid.
#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "collection/stamp_schema.h"
#include "collection/stamp_table_defs.h"
#include "engine/table.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"

namespace gridtest {

using StampValues = std::vector<std::pair<int, std::string>>;

// Appends one record to an open table; fields not named stay blank.
inline void appendStamp(engine::Table& table, const StampValues& values) {
    table.append();
    for (const auto& [field, text] : values) table.setText(field - 1, text);
    table.post();
}

class StampTableFile {
  public:
    explicit StampTableFile(const std::vector<StampValues>& records = {}) {
        path_ = dir_.filePath(QStringLiteral("STAMPS.DBF")).toStdString();
        engine::Table::create(path_, collection::stampTableFieldDefs());
        engine::Table table;
        table.open(path_, engine::OpenMode::Shared);
        for (const StampValues& r : records) appendStamp(table, r);
    }
    const std::string& path() const { return path_; }

    // The text of field `field` (1..25) of physical record `recno`, read through a fresh table.
    std::string storedText(std::uint32_t recno, int field) const {
        engine::Table table;
        table.open(path_, engine::OpenMode::Shared);
        return table.record(recno).text(field - 1);
    }

  private:
    QTemporaryDir dir_;
    std::string path_;
};

// Records whose Catalog is "C<n>" for n = 1..count.
inline std::vector<StampValues> numberedStamps(int count) {
    std::vector<StampValues> records;
    for (int n = 1; n <= count; ++n) records.push_back({{1, "C" + std::to_string(n)}});
    return records;
}

// Opens `file` in `table` and shows it in `grid` through a new model with every field a column.
inline std::unique_ptr<ui::StampTableModel> showInGrid(engine::Table& table,
                                                       const StampTableFile& file,
                                                       ui::DataGrid& grid) {
    table.open(file.path(), engine::OpenMode::Shared);
    auto model = std::make_unique<ui::StampTableModel>(&table);
    model->setColumns(ui::layoutColumns(ui::defaultFieldViewSettings()));
    grid.setTableModel(model.get());
    return model;
}

// The grid column showing schema field `field`, -1 when none does.
inline int columnOfField(const ui::StampTableModel& model, int field) {
    for (int c = 0; c < model.columnCount(); ++c)
        if (model.fieldAt(c) == field) return c;
    return -1;
}

}  // namespace gridtest
