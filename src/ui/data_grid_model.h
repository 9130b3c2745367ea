// StampTableModel: the viewer grid's item model over the open stamp table.
//
// Rows are the table's visible records in its current order and filter; columns are the fields of
// the current column layout (grid_columns.h). Nothing is loaded up front: data() reads the one
// record it is asked for through Table::visibleAt, so a table of a million records costs only the
// rows on screen. The row count is taken at reload(), which must be called whenever the set or
// order of records changed behind the model's back (search, sort order, delete, refresh...).
// While the table holds an unposted insertion, one extra row at the end shows its edit buffer.
//
// Editing (setEditable) writes each cell straight through the engine: go to the record, edit,
// set the field by its kind, post. Typing into the pending insertion row only fills the buffer;
// the navigator's Post writes it. Wanted is a check box writing "Yes" or "No". Any engine error or
// unreadable typed value is reported through errorOccurred() with the message for the user;
// nothing is thrown into Qt, and the record is left as it was.
//
// A leading column (grid_leading_column.h) can be put before the field columns: it is column 0
// and the field columns follow it in their order, so fieldAt() and every edit follow the shift.
// When its picture for a row comes in, that one cell is announced with dataChanged() for
// Qt::DecorationRole only (no field changed).
//
// Ownership: the table is not owned and must outlive the model (or be replaced by setTable).
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "engine/table.h"
#include "ui/grid_cell_text.h"
#include "ui/grid_columns.h"

namespace ui {

class GridLeadingColumn;

class StampTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // data() answers this role with the column's schema field number (1..25).
    static constexpr int FieldNumberRole = Qt::UserRole + 1;

    explicit StampTableModel(engine::Table* table, QObject* parent = nullptr);

    engine::Table* table() const { return table_; }
    void setTable(engine::Table* table);

    void setColumns(std::vector<GridColumn> columns);
    // New columns and the rows re-read in one reset (one relayout of the
    // views instead of two).
    void setColumnsAndReload(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    // Schema field number shown in `column`, 0 when there is no such column (or it is the
    // leading column).
    int fieldAt(int column) const;

    // Shows `column` (not owned) before the field columns; nullptr takes it away.
    void setLeadingColumn(GridLeadingColumn* column);
    GridLeadingColumn* leadingColumn() const { return leading_; }
    // The grid column of the first field: 1 while a leading column is shown, else 0.
    int firstFieldColumn() const { return leading_ ? 1 : 0; }

    void setFormatters(GridFormatters formatters);
    void setEditable(bool editable);
    bool isEditable() const { return editable_; }

    // True when the last row is an insertion not yet posted.
    bool hasPendingInsert() const { return pendingInsert_; }
    // Called with the row number each time a record is read for a row (diagnostics and tests).
    void setRowReadHook(std::function<void(int)> hook) { rowReadHook_ = std::move(hook); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // The refusal of `text` typed into the cell at `index` when the table's code page cannot hold
    // some of its characters (naming the column and the characters); empty when it can be stored.
    QString unstorableRefusal(const QModelIndex& index, const QString& text) const;

  public slots:
    // Takes the record count and editing state afresh and resets the views.
    void reload();

  signals:
    void errorOccurred(const QString& message);

  private:
    std::optional<engine::RecordView> readRow(int row) const;
    const GridColumn* columnAt(int column) const;
    QVariant leadingData(int row, int role) const;
    void leadingCellReady(std::uint32_t recno);
    int engineField(int column) const;
    bool writeRecord(int row, int field, collection::FieldKind kind, const QString& text);
    bool writePendingInsert(int row, int field, collection::FieldKind kind, const QString& text);
    void resolveFields();

    engine::Table* table_;
    std::vector<GridColumn> columns_;
    GridFormatters formatters_;
    bool editable_ = false;
    int count_ = 0;  // visible records at the last reload
    bool pendingInsert_ = false;
    std::array<int, collection::kFieldCount> engineFields_{};  // -1 when the table lacks it
    std::function<void(int)> rowReadHook_;
    GridLeadingColumn* leading_ = nullptr;
    // Rows whose leading cell was asked for, by record number: where a late picture goes.
    mutable QHash<std::uint32_t, int> askedRows_;
};

}  // namespace ui
