// The images of the main window's 17 speed buttons, drawn at run time.
//
// Each icon is a small distinct drawing (18 x 18 pixels) so the program needs no image files.
// Pure: the same kind always gives the same picture.
#pragma once

#include <QIcon>

namespace app {

enum class SpeedIcon {
    New,
    Open,
    Add,
    Edit,
    Copy,
    Delete,
    Import,
    Export,
    Search,
    EndSearch,
    Locate,
    LocateNext,
    Reports,
    Viewer,
    Color,
    SortOrder,
    Help,
};

QIcon speedButtonIcon(SpeedIcon kind);

}  // namespace app
