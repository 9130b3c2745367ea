// DataGrid: the data-aware grid that shows the stamp table (the main window names it
// "ViewerGrid").
//
// It shows a StampTableModel (set with setTableModel; not owned) and keeps its current row and
// the table's cursor together both ways: choosing a row moves the table to that record, and
// syncToCursor() (also run after every model reset) selects the cursor's row. applyOptions()
// sets the row indicator, row and column lines, the title row, cell editing or whole-row
// selection, the grid and title fonts and colours and the title alignment; column widths follow
// the model's columns in characters of the grid font. In cell editing the list fields are edited
// with combo boxes filled from the ListComboSource (not owned) and Wanted with its check box.
// While the model shows a leading column (the stamps' pictures) it is as wide as that column asks
// and the rows are at least as tall as its pictures need; the field columns keep their widths.
//
// Double-clicking a record emits recordActivated() instead of editing the cell (the main window
// opens the record editor). Engine errors from moving the cursor or editing a cell arrive through
// errorOccurred(); none is thrown out of the grid. Only the rows on screen are ever read.
#pragma once

#include <QTableView>

#include "ui/grid_options.h"

namespace ui {

class GridDelegate;
class GridRowIndicator;
class ListComboSource;
class StampTableModel;

class DataGrid : public QTableView {
    Q_OBJECT
  public:
    explicit DataGrid(QWidget* parent = nullptr);

    void setTableModel(StampTableModel* model);
    StampTableModel* tableModel() const { return model_; }
    void setListSource(ListComboSource* source);

    void applyOptions(const DataGridOptions& options);
    const DataGridOptions& options() const { return options_; }

    // Pixel width of a column `widthChars` characters wide in the grid font.
    int columnWidthForChars(int widthChars) const;

  public slots:
    // Selects the row of the table's current record (the pending insertion while inserting).
    void syncToCursor();

  signals:
    void recordActivated();
    void currentRecordChanged();
    void errorOccurred(const QString& message);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  protected slots:
    // A cell's text the collection cannot store is not written: its refusal goes out through
    // errorOccurred() and the cell's editor stays open on the typed text (the grid goes back to
    // that cell when the user had moved on).
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    void onModelReset();
    void applyColumnWidths();
    void applyRowHeight();

    StampTableModel* model_ = nullptr;
    ListComboSource* listSource_ = nullptr;
    GridDelegate* delegate_;
    GridRowIndicator* indicator_;
    DataGridOptions options_;
    bool syncing_ = false;
    QWidget* refusedEditor_ = nullptr;  // an editor whose text was just refused
    bool refusing_ = false;             // the refusal is being shown
};

}  // namespace ui
