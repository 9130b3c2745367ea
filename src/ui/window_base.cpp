#include "ui/window_base.h"

#include <QWidget>
#include <algorithm>

#include "ui/platform.h"

namespace ui {

QPoint centredPosition(QSize windowSize, QSize screen, bool moveUp) {
    // A window larger than the screen keeps its title bar reachable at the top-left edge.
    const int left = std::max(0, (screen.width() - windowSize.width()) / 2);
    int top = std::max(0, (screen.height() - windowSize.height()) / 2);
    if (moveUp && top > 10) top -= 10;
    return QPoint(left, top);
}

void prepareWindowForShow(QWidget* window, const ShowOptions& options) {
    if (options.fonts) applySharedFonts(window, *options.fonts);
    if (options.geometry) options.geometry->restore();
    scaleWindow(window, options.scaleFactor);
    if (options.centre)
        window->move(centredPosition(window->frameGeometry().size(), platform().screenSize(),
                                     options.moveUp));
    if (options.colors)
        applyColors(window, *options.colors, options.majorTitles, options.minorTitles);
}

}  // namespace ui
