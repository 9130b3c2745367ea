#include "ui/data_grid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPointer>
#include <QSignalBlocker>

#include "engine/error.h"
#include "ui/data_grid_model.h"
#include "ui/grid_delegate.h"
#include "ui/grid_leading_column.h"
#include "ui/grid_row_indicator.h"
#include "ui/list_combo_source.h"

namespace ui {

namespace {

constexpr int kCellPadding = 8;  // room for the cell margins and a column line

std::optional<Qt::Alignment> titleAlignmentOf(int code) {
    switch (code) {
        case 1:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case 2:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case 3:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return std::nullopt;
    }
}

void setColorIfValid(QPalette& palette, QPalette::ColorRole role, const QColor& color) {
    if (color.isValid()) palette.setColor(role, color);
}

}  // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent),
      delegate_(new GridDelegate(this)),
      indicator_(new GridRowIndicator(this)) {
    setVerticalHeader(indicator_);
    setItemDelegate(delegate_);
    setShowGrid(false);  // the delegate draws row and column lines separately
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Titles keep the title font whatever is selected (a highlighted section is drawn bold).
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit recordActivated(); });
    applyOptions(options_);
}

void DataGrid::setTableModel(StampTableModel* model) {
    if (model_) disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    setModel(model);
    if (!model) return;
    model->setEditable(options_.cellEditing);
    connect(model, &QAbstractItemModel::modelReset, this, &DataGrid::onModelReset);
    connect(model, &StampTableModel::errorOccurred, this, &DataGrid::errorOccurred);
    onModelReset();
}

void DataGrid::setListSource(ListComboSource* source) {
    listSource_ = source;
    delegate_->setListSource(source);
    if (source) source->setFont(options_.gridFont);
}

void DataGrid::applyOptions(const DataGridOptions& options) {
    const Qt::Alignment keptAlignment = horizontalHeader()->defaultAlignment();
    options_ = options;

    verticalHeader()->setVisible(options.rowIndicator);
    delegate_->setLines(options.rowLines, options.columnLines);
    horizontalHeader()->setVisible(options.showTitles);
    if (options.cellEditing) {
        setSelectionBehavior(QAbstractItemView::SelectItems);
        setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
    } else {
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    if (model_) model_->setEditable(options.cellEditing);

    setFont(options.gridFont);
    if (listSource_) listSource_->setFont(options.gridFont);
    horizontalHeader()->setFont(options.titleFont);

    QPalette cells = palette();
    setColorIfValid(cells, QPalette::Base, options.cellColor);
    setColorIfValid(cells, QPalette::Text, options.gridTextColor);
    setPalette(cells);
    QPalette titles = horizontalHeader()->palette();
    setColorIfValid(titles, QPalette::Button, options.titleColor);
    setColorIfValid(titles, QPalette::Window, options.titleColor);
    setColorIfValid(titles, QPalette::ButtonText, options.titleTextColor);
    horizontalHeader()->setPalette(titles);
    horizontalHeader()->setDefaultAlignment(
        titleAlignmentOf(options.titleAlignment).value_or(keptAlignment));
    options_.titleAlignment = options.titleAlignment;

    applyRowHeight();
    applyColumnWidths();
    viewport()->update();
}

int DataGrid::columnWidthForChars(int widthChars) const {
    return widthChars * QFontMetrics(font()).averageCharWidth() + kCellPadding;
}

void DataGrid::applyRowHeight() {
    int height = QFontMetrics(font()).height() + 6;
    if (model_ && model_->leadingColumn())
        height = qMax(height, model_->leadingColumn()->rowHeight());
    QHeaderView* rows = verticalHeader();
    // Changing the default size touches every row the header knows, so it is
    // only done when the height really changes (the options are applied again
    // on every change of collection or configuration).
    if (rows->defaultSectionSize() == height) return;
    rows->setMinimumSectionSize(1);
    {
        // The header announces each row's new height one by one; the view
        // needs none of those a million times over, only one relayout after.
        const QSignalBlocker quiet(rows);
        rows->setDefaultSectionSize(height);
    }
    updateGeometries();
    viewport()->update();
}

void DataGrid::applyColumnWidths() {
    if (!model_) return;
    const int first = model_->firstFieldColumn();
    if (const GridLeadingColumn* leading = model_->leadingColumn())
        setColumnWidth(0, leading->width());
    const auto& columns = model_->columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        setColumnWidth(first + int(i), columnWidthForChars(columns[i].widthChars));
}

void DataGrid::onModelReset() {
    applyRowHeight();
    applyColumnWidths();
    syncToCursor();
}

void DataGrid::syncToCursor() {
    if (!model_ || model_->rowCount() == 0 || model_->columnCount() == 0) return;
    engine::Table* table = model_->table();
    if (!table || !table->isOpen()) return;
    int row = 0;
    try {
        if (model_->hasPendingInsert()) {
            row = model_->rowCount() - 1;
        } else {
            if (table->recNo() == 0) return;
            row = int(table->position());
        }
    } catch (const engine::EngineError& e) {
        emit errorOccurred(QString::fromStdString(e.what()));
        return;
    }
    if (row >= model_->rowCount()) return;
    // A grid without a current cell starts on the first field, not on a leading picture.
    const int wanted = currentIndex().isValid() ? currentIndex().column() : model_->firstFieldColumn();
    const int column = qBound(0, wanted, model_->columnCount() - 1);
    const QModelIndex target = model_->index(row, column);
    QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect;
    if (!options_.cellEditing) how |= QItemSelectionModel::Rows;
    syncing_ = true;
    selectionModel()->setCurrentIndex(target, how);
    syncing_ = false;
    scrollTo(target);
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !model_ || !current.isValid()) return;
    if (previous.isValid() && previous.row() == current.row()) return;
    engine::Table* table = model_->table();
    if (!table || !table->isOpen()) return;
    if (model_->hasPendingInsert() && current.row() == model_->rowCount() - 1) return;
    try {
        if (table->state() == engine::EditState::Browse) {
            table->moveTo(std::uint32_t(current.row()));
        } else {
            // Leaving a record being edited or inserted posts it, which can reorder the rows:
            // find the chosen record first, then go to it in the new order.
            const std::uint32_t recno = table->visibleAt(std::uint32_t(current.row())).recNo();
            table->post();
            table->goToRecord(recno);
            QMetaObject::invokeMethod(model_, &StampTableModel::reload, Qt::QueuedConnection);
        }
    } catch (const engine::EngineError& e) {
        emit errorOccurred(QString::fromStdString(e.what()));
        return;
    }
    emit currentRecordChanged();
}

void DataGrid::commitData(QWidget* editor) {
    // The box showing the refusal takes the focus, which commits once more: not a second refusal.
    if (refusing_) {
        refusedEditor_ = editor;
        return;
    }
    const QString refusal = GridDelegate::refusalFor(editor);
    if (refusal.isEmpty()) {
        QTableView::commitData(editor);
        return;
    }
    refusedEditor_ = editor;
    refusing_ = true;
    emit errorOccurred(refusal);
    refusing_ = false;
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor != refusedEditor_) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    if (refusing_) return;
    refusedEditor_ = nullptr;
    editor->setFocus(Qt::OtherFocusReason);
    // A click on another cell has already made that cell current; once that move is done, the
    // cell being edited becomes current again.
    const QPersistentModelIndex cell(GridDelegate::cellOf(editor));
    QMetaObject::invokeMethod(
        this,
        [this, cell, guard = QPointer<QWidget>(editor)] {
            if (cell.isValid() && currentIndex() != cell) setCurrentIndex(cell);
            if (guard) guard->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

}  // namespace ui
