#include "ui/window_base.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "ui/platform.h"
#include "ui/window_keys.h"

namespace ui {

QPoint centredPosition(QSize windowSize, QSize screen, bool moveUp) {
    // A window larger than the screen keeps its title bar reachable at the top-left edge.
    const int left = std::max(0, (screen.width() - windowSize.width()) / 2);
    int top = std::max(0, (screen.height() - windowSize.height()) / 2);
    if (moveUp && top > 10) top -= 10;
    return QPoint(left, top);
}

QPoint centredOn(QSize windowSize, const QRect& parent, const QRect& area, bool moveUp) {
    int left = parent.x() + (parent.width() - windowSize.width()) / 2;
    int top = parent.y() + (parent.height() - windowSize.height()) / 2;
    if (moveUp && top - area.top() > 10) top -= 10;
    // Inside the screen where it fits, the title bar always reachable.
    left = std::max(area.left(), std::min(left, area.right() + 1 - windowSize.width()));
    top = std::max(area.top(), std::min(top, area.bottom() + 1 - windowSize.height()));
    return QPoint(left, top);
}

bool onSomeScreen(const QRect& frame) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().contains(frame.center())) return true;
    return false;
}

void prepareWindowForShow(QWidget* window, const ShowOptions& options) {
    installWindowKeys(window);
    if (options.fonts) applySharedFonts(window, *options.fonts);
    if (options.geometry) options.geometry->restore();
    scaleWindow(window, options.scaleFactor);
    if (options.centre) {
        // Where the user is looking: over the window that opened this one, when it is shown.
        const QWidget* opener = window->parentWidget() ? window->parentWidget()->window() : nullptr;
        if (opener && opener != window && opener->isVisible() && opener->screen())
            window->move(centredOn(window->frameGeometry().size(), opener->frameGeometry(),
                                   opener->screen()->availableGeometry(), options.moveUp));
        else
            window->move(centredPosition(window->frameGeometry().size(), platform().screenSize(),
                                         options.moveUp));
    }
    if (options.colors)
        applyColors(window, *options.colors, options.majorTitles, options.minorTitles);
}

}  // namespace ui
