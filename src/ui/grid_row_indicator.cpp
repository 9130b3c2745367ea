#include "ui/grid_row_indicator.h"

#include <QItemSelectionModel>
#include <QPainter>
#include <QPolygon>

namespace ui {

GridRowIndicator::GridRowIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionResizeMode(QHeaderView::Fixed);
    setHighlightSections(false);
}

QSize GridRowIndicator::sizeHint() const {
    const int width = fontMetrics().height() * 3 / 4 + 6;
    return QSize(width, defaultSectionSize());
}

void GridRowIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    // The base painting leaves the painter clipped to nothing: keep its state
    // away from the marker drawn after it.
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    const QItemSelectionModel* selection = selectionModel();
    if (!selection || selection->currentIndex().row() != logicalIndex) return;
    const int h = qMin(rect.height(), rect.width()) / 2;
    const QPoint c = rect.center();
    const QPolygon arrow({QPoint(c.x() - h / 2, c.y() - h / 2), QPoint(c.x() + h / 2, c.y()),
                          QPoint(c.x() - h / 2, c.y() + h / 2)});
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::ButtonText));
    painter->drawPolygon(arrow);
    painter->restore();
}

void GridRowIndicator::currentChanged(const QModelIndex& current, const QModelIndex& old) {
    QHeaderView::currentChanged(current, old);
    viewport()->update();
}

}  // namespace ui
