// Painting a window in the colours of its group's colour set.
//
// Colour sets are the 13 colours of collection::ColorSet, held as 0x00BBGGRR integers; this is
// where they become QColors. Applying sets palette roles on the window and its components:
// window, labels, frames and group boxes take Main Background; the given major and minor heading
// labels take the Major and Minor Title text colours (column captions of grids the Minor Title);
// edit boxes, masked edit boxes, drop-down lists, list boxes and grids, radio buttons and check
// boxes take their background/text pairs. Buttons and other controls keep their colours.
// Applying again with another set replaces the colours; nothing else of the palettes is touched.
#pragma once

#include <QColor>
#include <QList>

#include "collection/color_set.h"

class QWidget;

namespace ui {

using collection::ColorRole;
using collection::ColorSet;

QColor colorFromBgr(int value);
int bgrFromColor(const QColor& color);
inline QColor colorOf(const ColorSet& set, ColorRole role) {
    return colorFromBgr(set[role]);
}

void applyColors(QWidget* window, const ColorSet& set, const QList<QWidget*>& majorTitles = {},
                 const QList<QWidget*>& minorTitles = {});

}  // namespace ui
