#include "ui/data_grid_model.h"

#include "engine/error.h"
#include "ui/grid_leading_column.h"
#include "ui/unstorable_text.h"

namespace ui {

using collection::FieldKind;

namespace {

FieldKind kindOf(int fieldNumber) {
    return collection::schemaField(fieldNumber).kind;
}

bool isNumeric(FieldKind kind) {
    return kind == FieldKind::Integer || kind == FieldKind::Float;
}

// Rows remembered for late pictures; past this many (a long scroll) the oldest are of no use.
constexpr int kAskedRowsKept = 1024;

}  // namespace

StampTableModel::StampTableModel(engine::Table* table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    engineFields_.fill(-1);
    reload();
}

void StampTableModel::setTable(engine::Table* table) {
    table_ = table;
    reload();
}

void StampTableModel::setColumns(std::vector<GridColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

const GridColumn* StampTableModel::columnAt(int column) const {
    const int k = column - firstFieldColumn();
    if (k < 0 || k >= int(columns_.size())) return nullptr;
    return &columns_[std::size_t(k)];
}

int StampTableModel::fieldAt(int column) const {
    const GridColumn* c = columnAt(column);
    return c ? c->field : 0;
}

void StampTableModel::setLeadingColumn(GridLeadingColumn* column) {
    if (column == leading_) return;
    beginResetModel();
    if (leading_) disconnect(leading_, nullptr, this, nullptr);
    leading_ = column;
    askedRows_.clear();
    if (leading_)
        connect(leading_, &GridLeadingColumn::cellReady, this,
                &StampTableModel::leadingCellReady);
    endResetModel();
}

QVariant StampTableModel::leadingData(int row, int role) const {
    if (role != Qt::DecorationRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole)
        return {};
    const auto record = readRow(row);
    if (!record || record->recNo() == 0) return {};
    const std::uint32_t recno = record->recNo();
    if (role == Qt::DecorationRole) {
        if (askedRows_.size() >= kAskedRowsKept) askedRows_.clear();
        askedRows_.insert(recno, row);
    }
    return leading_->cell(recno, role);
}

void StampTableModel::leadingCellReady(std::uint32_t recno) {
    const auto it = askedRows_.constFind(recno);
    if (it == askedRows_.constEnd() || *it >= rowCount()) return;
    const QModelIndex cell = index(*it, 0);
    emit dataChanged(cell, cell, {Qt::DecorationRole});
}

void StampTableModel::setFormatters(GridFormatters formatters) {
    formatters_ = std::move(formatters);
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void StampTableModel::setEditable(bool editable) {
    editable_ = editable;
}

void StampTableModel::resolveFields() {
    for (const collection::SchemaField& f : collection::stampSchema())
        engineFields_[std::size_t(f.number - 1)] =
            table_ && table_->isOpen() ? table_->fieldIndex(f.name) : -1;
}

void StampTableModel::setColumnsAndReload(std::vector<GridColumn> columns) {
    columns_ = std::move(columns);
    reload();
}

void StampTableModel::reload() {
    beginResetModel();
    const bool open = table_ && table_->isOpen();
    try {
        // position() builds the visible order the rows are read through; the count then
        // comes from it instead of from a second pass over the file.
        if (open) table_->position();
        count_ = open ? int(table_->recordCount()) : 0;
    } catch (const engine::EngineError& e) {
        count_ = 0;
        emit errorOccurred(QString::fromStdString(e.what()));
    }
    pendingInsert_ = open && table_->state() == engine::EditState::Insert;
    resolveFields();
    askedRows_.clear();
    endResetModel();
}

int StampTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_ + (pendingInsert_ ? 1 : 0);
}

int StampTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size()) + firstFieldColumn();
}

int StampTableModel::engineField(int column) const {
    const int field = fieldAt(column);
    return field == 0 ? -1 : engineFields_[std::size_t(field - 1)];
}

std::optional<engine::RecordView> StampTableModel::readRow(int row) const {
    if (!table_ || !table_->isOpen() || row < 0) return std::nullopt;
    if (rowReadHook_) rowReadHook_(row);
    try {
        if (row < count_) return table_->visibleAt(std::uint32_t(row));
        if (row == count_ && pendingInsert_ && table_->state() == engine::EditState::Insert)
            return table_->current();
    } catch (const engine::EngineError&) {
        // The table changed under the model (a record went away): the row shows empty until
        // the next reload.
    }
    return std::nullopt;
}

QVariant StampTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= columnCount()) return {};
    const int field = fieldAt(index.column());
    if (role == FieldNumberRole) return field;
    if (leading_ && index.column() == 0) return leadingData(index.row(), role);
    const FieldKind kind = kindOf(field);
    if (role == Qt::TextAlignmentRole)
        return int((isNumeric(kind) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    const bool wanted = field == collection::kWantedField;
    const bool textRole = role == Qt::DisplayRole || role == Qt::EditRole;
    if (wanted ? role != Qt::CheckStateRole : !textRole) return {};
    const int ef = engineField(index.column());
    if (ef < 0) return {};
    const auto record = readRow(index.row());
    if (!record) return {};
    if (wanted) return wantedChecked(*record, ef) ? Qt::Checked : Qt::Unchecked;
    return cellText(*record, ef, kind, formatters_);
}

QVariant StampTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) return {};  // the row indicator draws itself
    if (role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    if (leading_ && section == 0) return leading_->title();
    return columnAt(section)->label;
}

Qt::ItemFlags StampTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!editable_ || engineField(index.column()) < 0) return f;
    if (fieldAt(index.column()) == collection::kWantedField) return f | Qt::ItemIsUserCheckable;
    return f | Qt::ItemIsEditable;
}

bool StampTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable))) return false;
    const int field = fieldAt(index.column());
    QString text;
    if (field == collection::kWantedField) {
        if (role != Qt::CheckStateRole) return false;
        text = QString::fromLatin1(value.toInt() == Qt::Checked ? kWantedYes : kWantedNo);
    } else {
        if (role != Qt::EditRole) return false;
        text = value.toString();
    }
    const int ef = engineField(index.column());
    const FieldKind kind = kindOf(field);
    if (pendingInsert_ && index.row() == count_)
        return writePendingInsert(index.row(), ef, kind, text);
    return writeRecord(index.row(), ef, kind, text);
}

QString StampTableModel::unstorableRefusal(const QModelIndex& index, const QString& text) const {
    const int field = fieldAt(index.column());
    if (!table_ || !table_->isOpen() || field == 0 || kindOf(field) != FieldKind::Text) return {};
    const QString lost = unstorableCharacters(text, table_->codePage());
    if (lost.isEmpty()) return {};
    return unstorableTextMessage(columnAt(index.column())->label, lost, table_->codePage());
}

bool StampTableModel::writePendingInsert(int row, int field, FieldKind kind, const QString& text) {
    try {
        writeCellText(*table_, field, kind, text, formatters_);
    } catch (const engine::EngineError& e) {
        emit errorOccurred(QString::fromStdString(e.what()));
        return false;
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    return true;
}

bool StampTableModel::writeRecord(int row, int field, FieldKind kind, const QString& text) {
    const auto record = readRow(row);
    if (!record) return false;
    const std::uint32_t recno = record->recNo();
    const bool hadPendingInsert = pendingInsert_;
    try {
        if (!table_->goToRecord(recno))
            throw engine::EngineError("The record is no longer in the table.");
        table_->edit();
        writeCellText(*table_, field, kind, text, formatters_);
        table_->post();
    } catch (const engine::EngineError& e) {
        table_->cancel();
        emit errorOccurred(QString::fromStdString(e.what()));
        return false;
    }
    // A changed sort key or a search filter can move the record or drop it from view; a pending
    // insertion posted on the way adds one. Then the rows are laid out afresh.
    bool sameRows = !hadPendingInsert;
    try {
        // visibleAt first: it rebuilds the order, which recordCount then reads.
        sameRows = sameRows && table_->visibleAt(std::uint32_t(row)).recNo() == recno &&
                   int(table_->recordCount()) == count_;
    } catch (const engine::EngineError&) {
        sameRows = false;
    }
    if (sameRows)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    else
        reload();
    return true;
}

}  // namespace ui
