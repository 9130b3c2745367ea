#include "interchange/window_parts.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

namespace interchange {

QTableWidget* addOrderGrid(QWidget* parent, const char* name, const QStringList& titles,
                           QRect geometry) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setGeometry(geometry);
    grid->setColumnCount(int(titles.size()));
    grid->setHorizontalHeaderLabels(titles);
    grid->verticalHeader()->hide();
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return grid;
}

QTableWidgetItem* gridCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void moveCurrentRow(QTableWidget* grid, int step, int firstColumn) {
    const int row = grid->currentRow();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= grid->rowCount()) return;
    for (int c = firstColumn; c < grid->columnCount(); ++c) {
        QTableWidgetItem* mine = grid->takeItem(row, c);
        QTableWidgetItem* theirs = grid->takeItem(other, c);
        grid->setItem(row, c, theirs);
        grid->setItem(other, c, mine);
    }
    grid->setCurrentCell(other, std::max(grid->currentColumn(), 0));
}

void setColumnWidths(QTableWidget* grid, std::initializer_list<int> widths, double scale) {
    if (scale <= 0) scale = 1.0;
    int column = 0;
    for (int w : widths) grid->setColumnWidth(column++, int(w * scale));
}

QLabel* addSideText(QWidget* parent, const QString& text, QRect geometry) {
    auto* side = new QLabel(text, parent);
    side->setObjectName(QStringLiteral("SideLabel"));
    side->setWordWrap(true);
    side->setGeometry(geometry);
    return side;
}

QLabel* addHeading(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* heading = new QLabel(text, parent);
    heading->setObjectName(QString::fromLatin1(name));
    heading->setGeometry(geometry);
    return heading;
}

void fitSideText(QLabel* side) {
    QWidget* window = side->parentWidget();
    const QRect old = side->geometry();
    const int grow = side->heightForWidth(old.width()) - old.height();
    if (grow <= 0 || !window) return;
    for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect g = w->geometry();
        if (w != side && g.top() > old.bottom() && g.left() <= old.right() &&
            g.right() >= old.left())
            w->move(g.x(), g.y() + grow);
    }
    side->resize(old.width(), old.height() + grow);
    window->resize(window->width(), window->height() + grow);
}

void prepareInterchangeWindow(QWidget* window, ui::ShowOptions options, bool moveUp,
                              const QList<QWidget*>& minorTitles) {
    options.minorTitles += minorTitles;
    options.geometry = nullptr;
    options.centre = true;
    options.moveUp = moveUp;
    ui::prepareWindowForShow(window, options);
}

}  // namespace interchange
