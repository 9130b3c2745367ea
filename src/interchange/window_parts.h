// Pieces the import and export windows share: the order grid (a string grid whose rows the user
// moves up and down against fixed columns), its read-only cells, buttons wired to handlers, the
// side text, and showing a window centred and scaled.
#pragma once

#include <QPushButton>
#include <QRect>
#include <QStringList>
#include <initializer_list>

#include "ui/window_base.h"

class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace interchange {

// A grid with a title row of `titles`, no row numbers, one selected cell at a time, no editing.
QTableWidget* addOrderGrid(QWidget* parent, const char* name, const QStringList& titles,
                           QRect geometry);
QTableWidgetItem* gridCell(const QString& text);
// Up (`step` -1) or Down (+1): exchanges the cells of the current row from `firstColumn` on with
// the row above or below and moves the current cell with them; nothing at the first or last row.
void moveCurrentRow(QTableWidget* grid, int step, int firstColumn);
// Column widths in pixels at scale 1, multiplied by `scale`.
void setColumnWidths(QTableWidget* grid, std::initializer_list<int> widths, double scale);

QLabel* addSideText(QWidget* parent, const QString& text, QRect geometry);
// A heading label named `name` (the window lists it among its minor titles for the colours).
QLabel* addHeading(QWidget* parent, const char* name, const QString& text, QRect geometry);
// Makes the side text as tall as its words need in its font and width, moving the controls
// below it in its column (and anything spanning it) down by as much and growing the window, so
// the text is neither cut nor drawn over other controls. Called once fonts are applied.
void fitSideText(QLabel* side);

template <typename Window>
QPushButton* addButton(Window* window, const char* name, const QString& caption, QRect geometry,
                       void (Window::*handler)()) {
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    QObject::connect(button, &QPushButton::clicked, window, handler);
    return button;
}

// Fonts, scale factor and colours of `options` (with `minorTitles` in the minor title colour),
// centred on the screen (with `moveUp`, 10 pixels higher when its top is more than 10).
void prepareInterchangeWindow(QWidget* window, ui::ShowOptions options, bool moveUp,
                              const QList<QWidget*>& minorTitles = {});

}  // namespace interchange
