// What every window does when it is shown, in this order: apply the shared fonts, put back its
// geometry record (windows shown many times), scale by the screen scale factor, centre on the
// window that opened it when that one is on screen, otherwise on the screen (whose size comes
// from the platform seam), move up 10 pixels when it is a
// configuration or editing window whose top is more than 10, and paint its group's colours.
// It also gives the window F1 and Escape (window_keys.h).
//
// Windows call `prepareWindowForShow` from their show event. The options only point at the
// fonts, record and colour set; the caller keeps them alive for the call. A null pointer skips
// that step.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "ui/geometry_record.h"
#include "ui/shared_fonts.h"
#include "ui/window_colors.h"

class QWidget;

namespace ui {

struct ShowOptions {
    const SharedFonts* fonts = nullptr;
    const GeometryRecord* geometry = nullptr;
    double scaleFactor = 1.0;
    bool centre = true;
    bool moveUp = false;  // configuration and editing windows
    const ColorSet* colors = nullptr;
    QList<QWidget*> majorTitles;
    QList<QWidget*> minorTitles;
};

// Top-left corner that centres a window of `windowSize` on `screen`, never above or left of the
// screen's edge; with `moveUp`, 10 pixels higher when that top is more than 10.
QPoint centredPosition(QSize windowSize, QSize screen, bool moveUp);

// The same centring on `parent`'s frame (the window that opened it), kept inside `area` (the
// parent's screen) where it can be.
QPoint centredOn(QSize windowSize, const QRect& parent, const QRect& area, bool moveUp);

// True when the centre of `frame` lies on one of the desktop's screens.
bool onSomeScreen(const QRect& frame);

void prepareWindowForShow(QWidget* window, const ShowOptions& options);

}  // namespace ui
