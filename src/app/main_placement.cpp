// Where the main window opens: where the user left it, or centred.
#include "app/main_window.h"
#include "ui/screen_scale.h"
#include "ui/window_base.h"

namespace app {

void TMain::placeMainWindow() {
    const collection::MiscSettings& m = global_.misc;
    if (m.placeStored) {
        const QRect stored(m.mainWindowLeft, m.mainWindowTop, m.mainWindowWidth,
                           m.mainWindowHeight);
        resize(stored.size());
        // The screen it was on may be gone (a laptop without its monitor): then centred.
        if (ui::onSomeScreen(stored)) {
            move(stored.topLeft());
            return;
        }
    } else {
        resize(m.windowSize, ui::screenHeightFor(m.windowSize));
    }
    move(ui::centredPosition(frameGeometry().size(), ui::platform().screenSize(), false));
}

}  // namespace app
