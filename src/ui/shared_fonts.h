// The five fonts all windows share, and how they are applied to a window's controls.
//
// Applying copies the family and the style (bold, italic, underline, strikeout) of a shared font
// onto each control by kind, keeping the control's own size and colour: labels, list boxes,
// check boxes, radio buttons and group boxes take the label font; string grids, edit boxes,
// masked edit boxes and drop-down lists the edit font; buttons the button font. Other controls
// keep their fonts. The grid title and grid fonts are applied by the viewer grid itself.
#pragma once

#include <QFont>

#include "ui/control_kind.h"

class QWidget;

namespace ui {

struct SharedFonts {
    QFont gridTitle;
    QFont grid;
    QFont label;
    QFont edit;
    QFont button;

    // "Arial" everywhere: grid title 12 points, grid 10, the others at the system size.
    static SharedFonts defaults();
};

// The shared font a control kind takes, or nullptr when it keeps its own.
const QFont* sharedFontFor(ControlKind kind, const SharedFonts& fonts);

// `target` with the family and style of `shared`, its own size kept.
QFont withFaceOf(const QFont& target, const QFont& shared);

void applySharedFonts(QWidget* window, const SharedFonts& fonts);

}  // namespace ui
