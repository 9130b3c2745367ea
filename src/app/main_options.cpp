// The Options menu's settings that the main window keeps itself: screen size, screen access
// mode, the date, currency and numeric formats, and what browse mode leaves of the navigator.
#include <QAction>

#include "app/main_window.h"
#include "collection/date_format.h"
#include "ui/messages.h"
#include "ui/record_navigator.h"
#include "ui/screen_scale.h"

namespace app {

void TMain::checkScreenSizeMenu() {
    for (int width : {640, 800, 1024, 1280})
        action(QStringLiteral("Menu%1").arg(width))->setChecked(width == global_.misc.windowSize);
}

void TMain::SetScreenSize(int windowSize) {
    if (windowSize != global_.misc.windowSize) {
        if (!ui::screenSupports(windowSize, screenSize())) {
            ui::showError(this, QStringLiteral("Your current screen resolution does not support "
                                               "%1 x %2 pixels.")
                                    .arg(windowSize)
                                    .arg(ui::screenHeightFor(windowSize)));
        } else {
            global_.misc.windowSize = windowSize;
            scaleFactor_ = ui::scaleFactorFor(windowSize);
        }
    }
    checkScreenSizeMenu();
}

void TMain::SetScreenAccess(int mode) {
    global_.misc.buttonBar = mode;
    SetButtonBar();
}

void TMain::applyDateFormatMenus() {
    collection::applyDateFormat(global_.misc.dateFormat, global_.misc.dateLeadingZeros);
    checkFormatMenus();
}

// Check marks follow the stored values; a stored date type outside 1..12 checks no item.
void TMain::checkFormatMenus() {
    for (int type = 1; type <= collection::kDateFormatTypeCount; ++type)
        action(QStringLiteral("MenuDate%1").arg(type))->setChecked(type == global_.misc.dateFormat);
    action(QStringLiteral("MenuLeadingZeros"))->setChecked(global_.misc.dateLeadingZeros);
    action(QStringLiteral("MenuCurrencyUS"))->setChecked(global_.misc.currencyFormat == 1);
    action(QStringLiteral("MenuCurrencyWindows"))->setChecked(global_.misc.currencyFormat == 2);
    action(QStringLiteral("MenuNumericUS"))->setChecked(global_.misc.numericFormat == 1);
    action(QStringLiteral("MenuNumericWindows"))->setChecked(global_.misc.numericFormat == 2);
}

void TMain::SetDateFormat(int type) {
    if (type != global_.misc.dateFormat) {
        global_.misc.dateFormat = type;
        collection::applyDateFormat(type, global_.misc.dateLeadingZeros);
        refreshViewer();
    }
    checkFormatMenus();
}

void TMain::ToggleLeadingZeros() {
    global_.misc.dateLeadingZeros = !global_.misc.dateLeadingZeros;
    collection::applyDateFormat(global_.misc.dateFormat, global_.misc.dateLeadingZeros);
    checkFormatMenus();
    refreshViewer();
}

void TMain::SetCurrencyFormat(int format) {
    global_.misc.currencyFormat = format;
    checkFormatMenus();
    refreshViewer();
}

void TMain::SetNumericFormat(int format) {
    global_.misc.numericFormat = format;
    checkFormatMenus();
}

void TMain::showNavigatorButtons() {
    MyNavigator->setVisibleButtons(browseMode_ ? ui::RecordNavigator::moveButtons()
                                               : ui::RecordNavigator::allButtons());
}

}  // namespace app
