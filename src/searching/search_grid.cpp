#include "searching/search_grid.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "collection/date_format.h"
#include "ui/masked_edit.h"

namespace editing {

class SearchGridDelegate : public QStyledItemDelegate {
  public:
    explicit SearchGridDelegate(SearchGridWidget* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* edit = new ui::MaskedEdit(parent);
        edit->setFrame(false);
        edit->setDateEditMask(grid_->maskOf_(index.row()), collection::currentDateFormat());
        edit->installEventFilter(grid_);
        return edit;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<ui::MaskedEdit*>(editor);
        edit->setMaskedText(index.data().toString());
        edit->setCursorPosition(0);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<ui::MaskedEdit*>(editor)->maskedText());
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (index.column() == SearchGridWidget::kMarkerColumn && index.row() > 0 &&
            grid_->marked_(index.row())) {
            painter->fillRect(option.rect, QColor(128, 128, 128));
            painter->drawText(option.rect, Qt::AlignCenter, QStringLiteral("..."));
            return;
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

  private:
    SearchGridWidget* grid_;
};

SearchGridWidget::SearchGridWidget(std::function<QString(int)> maskOf,
                                   std::function<bool(int)> marked, QWidget* parent)
    : QTableWidget(parent), maskOf_(std::move(maskOf)), marked_(std::move(marked)) {
    setItemDelegate(new SearchGridDelegate(this));
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    setShowGrid(true);
}

bool SearchGridWidget::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A click on the selected cell would start a timer and drop every key until it fires.
    if (trigger == SelectedClicked) trigger = CurrentChanged;
    return QTableWidget::edit(index, trigger, event);
}

void SearchGridWidget::keyPressEvent(QKeyEvent* event) {
    if (keyChoice && currentRow() > 0 && keyChoice(currentRow(), *event)) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool SearchGridWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == valueEditor() && keyChoice &&
        keyChoice(currentRow(), *static_cast<QKeyEvent*>(event)))
        return true;
    return QTableWidget::eventFilter(watched, event);
}

QString SearchGridWidget::cellText(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void SearchGridWidget::setCellText(int row, int column, const QString& text) {
    QTableWidgetItem* it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (column == kValueColumn && row > 0) flags |= Qt::ItemIsEditable;
        it->setFlags(flags);
        setItem(row, column, it);
    }
    it->setText(text);
    // An open editor on the cell shows the new text too.
    if (QWidget* editor = indexWidget(model()->index(row, column)))
        itemDelegate()->setEditorData(editor, model()->index(row, column));
}

QWidget* SearchGridWidget::valueEditor() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? indexWidget(current) : nullptr;
}

void SearchGridWidget::commitEditor() {
    if (QWidget* editor = valueEditor()) commitData(editor);
}

}  // namespace editing
