// The look and behaviour of the viewer grid, as plain values: the grid options, fonts, colours and
// title alignment that the main window takes from the view settings and hands to DataGrid.
#pragma once

#include <QColor>
#include <QFont>

namespace ui {

struct DataGridOptions {
    bool rowIndicator = true;
    bool rowLines = true;
    bool columnLines = true;
    bool showTitles = true;
    bool cellEditing = false;  // otherwise whole rows are selected and nothing is edited
    QFont gridFont;
    QFont titleFont;
    QColor cellColor;        // invalid: the style's colour
    QColor titleColor;       // title background; invalid: the style's colour
    QColor gridTextColor;    // the grid font's colour; invalid: the style's colour
    QColor titleTextColor;   // the title font's colour; invalid: the style's colour
    int titleAlignment = 2;  // 1 left, 2 centred, 3 right; any other value keeps the current one
};

}  // namespace ui
