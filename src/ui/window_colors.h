// Painting a window in the colours of its group's colour set.
//
// Colour sets are the 13 colours of collection::ColorSet, held as 0x00BBGGRR integers; this is
// where they become QColors. Applying sets palette roles on the window and its components:
// window, labels, frames and group boxes take Main Background; the given major and minor heading
// labels take the Major and Minor Title text colours (column captions of grids the Minor Title);
// edit boxes, masked edit boxes, drop-down lists, list boxes and grids, radio buttons and check
// boxes take their background/text pairs (the whole control, its indicator included). Tabbed
// notebooks' pages take Main Background; a menu bar keeps the platform's own colours. Buttons
// and other controls keep their colours. Applying again with another set replaces the colours;
// nothing else of the palettes is touched.
//
// Text stays readable whatever the set: a text colour that reads under 3:1 against what is
// drawn behind it (the set's own pair, or the platform's text on Main Background for plain
// labels) is drawn moved towards black or white until it reads at 4.5:1; the stored values do
// not change. Disabled controls draw their text half-way to their background in every set.
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

// Contrast ratio of two colours by their relative luminance (sRGB): 1 (same) to 21.
double contrastRatio(const QColor& a, const QColor& b);
// `text` when it reads at 3:1 or better on `background`, otherwise the nearest colour towards
// black or white (whichever reaches it sooner) that reads at 4.5:1.
QColor legibleOn(const QColor& background, const QColor& text);
// Gives `w` the platform's own colours whatever its parent's palette says.
void usePlatformColors(QWidget* w);

void applyColors(QWidget* window, const ColorSet& set, const QList<QWidget*>& majorTitles = {},
                 const QList<QWidget*>& minorTitles = {});

}  // namespace ui
