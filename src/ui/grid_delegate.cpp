#include "ui/grid_delegate.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

#include "collection/stamp_schema.h"
#include "ui/data_grid_model.h"
#include "ui/list_combo_box.h"
#include "ui/list_combo_source.h"
#include "ui/typing_limit.h"

namespace ui {

namespace {

int maxLengthOf(const QModelIndex& index) {
    const int field = index.data(StampTableModel::FieldNumberRole).toInt();
    return field >= 1 && field <= collection::kFieldCount ? collection::schemaField(field).length
                                                          : 32767;
}

constexpr char kCellProperty[] = "tessellonCell";

QString editorText(const QWidget* editor) {
    if (auto* box = qobject_cast<const QComboBox*>(editor)) return box->currentText();
    if (auto* line = qobject_cast<const QLineEdit*>(editor)) return line->text();
    return {};
}

}  // namespace

GridDelegate::GridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void GridDelegate::setLines(bool rowLines, bool columnLines) {
    rowLines_ = rowLines;
    columnLines_ = columnLines;
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const auto* model = qobject_cast<const StampTableModel*>(index.model());
    if (model && model->leadingColumn() && index.column() == 0)
        paintPicture(painter, option, index);
    else
        QStyledItemDelegate::paint(painter, option, index);
    if (!rowLines_ && !columnLines_) return;
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QColor lineColor =
        QColor::fromRgba(QRgb(style->styleHint(QStyle::SH_Table_GridLineColor, &option, widget)));
    painter->save();
    painter->setPen(lineColor);
    const QRect r = option.rect;
    if (rowLines_) painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (columnLines_) painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
}

void GridDelegate::paintPicture(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    // The background and selection as for any cell; the image is drawn here, fitted to the
    // cell (the standard way would read the cell again and turn its image into an icon).
    QStyleOptionViewItem cell = option;
    cell.index = index;
    cell.features = QStyleOptionViewItem::None;
    cell.icon = QIcon();
    cell.text.clear();
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    const QImage image = index.data(Qt::DecorationRole).value<QImage>();
    if (image.isNull()) return;
    const QRect box = option.rect.adjusted(2, 2, -3, -3);
    if (box.width() <= 0 || box.height() <= 0) return;
    QRect target(QPoint(), image.size().scaled(box.size(), Qt::KeepAspectRatio)
                               .boundedTo(image.size()));
    target.moveCenter(box.center());
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, image);
    painter->restore();
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const int field = index.data(StampTableModel::FieldNumberRole).toInt();
    const ListComboBox* list = source_ ? source_->comboForField(field) : nullptr;
    QWidget* editor = nullptr;
    if (list) {
        auto* box = new ListComboBox(parent);
        box->setItems(list->items());
        editor = box;
    } else {
        editor = QStyledItemDelegate::createEditor(parent, option, index);
    }
    if (!editor) return nullptr;
    editor->setProperty(kCellProperty, QVariant::fromValue(QPersistentModelIndex(index)));
    editor->setFont(option.font);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (auto* box = qobject_cast<QComboBox*>(editor)) line = box->lineEdit();
    if (line) limitTyping(line, maxLengthOf(index));
    return editor;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // The cell's text is shown whole, also where it is longer than what may be typed (a grouped
    // number).
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* box = qobject_cast<QComboBox*>(editor))
        showText(box, text);
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        showText(line, text);
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

QModelIndex GridDelegate::cellOf(const QWidget* editor) {
    return editor ? QModelIndex(editor->property(kCellProperty).value<QPersistentModelIndex>())
                  : QModelIndex();
}

QString GridDelegate::refusalFor(const QWidget* editor) {
    const QModelIndex cell = cellOf(editor);
    const auto* model = qobject_cast<const StampTableModel*>(cell.model());
    return model ? model->unstorableRefusal(cell, editorText(editor)) : QString();
}

}  // namespace ui
