// The two button bars of the main window (17 speed buttons, or ten lettered buttons in four
// framed groups), the screen access modes that choose between them, and the placement of the
// viewer below whichever bar is shown.
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "app/main_window.h"
#include "picture_windows/picture_pane.h"
#include "app/speed_button_icons.h"
#include "ui/data_grid.h"
#include "ui/record_navigator.h"

namespace app {

namespace {

constexpr int kSpeedButtonSize = 25;

struct SpeedButtonDef {
    const char* name;
    const char* hint;
    SpeedIcon icon;
    void (TMain::*operation)();
};

// Left to right.
const SpeedButtonDef kSpeedButtons[] = {
    {"NewSpeed", "New Database", SpeedIcon::New, &TMain::DoNew},
    {"OpenSpeed", "Open Database", SpeedIcon::Open, &TMain::DoOpen},
    {"AddSpeed", "Add Record", SpeedIcon::Add, &TMain::DoAdd},
    {"EditSpeed", "Edit Record", SpeedIcon::Edit, &TMain::DoEdit},
    {"CopySpeed", "Copy Record", SpeedIcon::Copy, &TMain::DoCopy},
    {"DeleteSpeed", "Delete Record", SpeedIcon::Delete, &TMain::DoDelete},
    {"ImportSpeed", "Import Records", SpeedIcon::Import, &TMain::DoImport},
    {"ExportSpeed", "Export Records", SpeedIcon::Export, &TMain::DoExport},
    {"SearchSpeed", "Search Records", SpeedIcon::Search, &TMain::DoSearch},
    {"EndSearchSpeed", "End Search", SpeedIcon::EndSearch, &TMain::DoEndSearch},
    {"LocateSpeed", "Locate Record", SpeedIcon::Locate, &TMain::DoFind},
    {"LocateNextSpeed", "Locate Next Record", SpeedIcon::LocateNext, &TMain::DoFindNext},
    {"ReportSpeed", "Reports", SpeedIcon::Reports, &TMain::DoReports},
    {"ViewerSpeed", "Viewer Configuration", SpeedIcon::Viewer, &TMain::DoViewer},
    {"ColorSpeed", "Color Setup", SpeedIcon::Color, nullptr},
    {"SpeedSetOrder", "Set Sorting Order", SpeedIcon::SortOrder, &TMain::DoSortOrder},
    {"HelpSpeed", "Help", SpeedIcon::Help, &TMain::DoHelp},
};

struct LetteredButtonDef {
    const char* name;
    const char* caption;
    int group;  // 0..3: the frame it sits in
    int column;
    int row;
    void (TMain::*operation)();
};

const LetteredButtonDef kLetteredButtons[] = {
    {"AddButton", "&Add", 0, 0, 0, &TMain::DoAdd},
    {"EditButton", "&Edit", 0, 1, 0, &TMain::DoEdit},
    {"CopyButton", "&Copy", 0, 0, 1, &TMain::DoCopy},
    {"DeleteButton", "&Delete", 0, 1, 1, &TMain::DoDelete},
    {"SearchButton", "&Search", 1, 0, 0, &TMain::DoSearch},
    {"EndSearchButton", "E&nd Srch", 1, 0, 1, &TMain::DoEndSearch},
    {"ReportButton", "Re&ports", 2, 0, 0, &TMain::DoReports},
    {"ViewerButton", "&Viewer", 2, 0, 1, &TMain::DoViewer},
    {"HelpButton", "He&lp", 3, 0, 0, &TMain::DoHelp},
    {"ButtonExit", "E&xit", 3, 0, 1, &TMain::DoExit},
};

// Frames of the lettered groups: left and number of button columns.
constexpr int kGroupLeft[4] = {4, 140, 216, 292};
constexpr int kGroupColumns[4] = {2, 1, 1, 1};
constexpr int kLetteredWidth = 60;
constexpr int kLetteredHeight = 30;

// Where the viewer's parts go in one screen access mode (client width and height CW, CH).
struct ViewerPlacement {
    int navigatorLeft, navigatorTop, navigatorWidth;
    int searchOnTop;
    int countTop, count2Top;
    int frameTop, frameHeight;
    int headingTop;
    int gridTop, gridHeight;
};

ViewerPlacement placementFor(int mode, int cw, int ch) {
    switch (mode) {
        case 2:
            return {400, 47, 221, 96, 90, 105, 86, ch - 89, 90, 122, ch - 129};
        case 3:
            return {cw - 207, 8, 201, 14, 8, 23, 4, ch - 7, 8, 40, ch - 47};
        default:
            return {424, 3, 241, 44, 38, 52, 34, ch - 37, 38, 70, ch - 77};
    }
}

}  // namespace

void TMain::buildSpeedPanel() {
    SpeedPanel = new QFrame(client_);
    SpeedPanel->setObjectName(QStringLiteral("SpeedPanel"));
    SpeedPanel->setFrameShape(QFrame::Panel);
    SpeedPanel->setFrameShadow(QFrame::Raised);
    // Neighbouring buttons share their one-pixel edge so the bar ends left of the navigator.
    const int count = int(std::size(kSpeedButtons));
    SpeedPanel->setGeometry(0, 0, 4 + count * (kSpeedButtonSize - 1), kSpeedButtonSize + 6);
    int left = 2;
    for (const SpeedButtonDef& def : kSpeedButtons) {
        auto* button = new QToolButton(SpeedPanel);
        button->setObjectName(QString::fromLatin1(def.name));
        button->setToolTip(QString::fromLatin1(def.hint));
        // Icons only: screen readers and accessibility tools know the button by its hint.
        button->setAccessibleName(QString::fromLatin1(def.hint));
        button->setIcon(speedButtonIcon(def.icon));
        button->setAutoRaise(true);
        button->setGeometry(left, 3, kSpeedButtonSize, kSpeedButtonSize);
        left += kSpeedButtonSize - 1;
        if (def.operation) connectButton(button, def.operation);
    }
    // The colour button opens the colour setup for all windows.
    connect(findChild<QToolButton*>(QStringLiteral("ColorSpeed")), &QToolButton::clicked, this,
            [this] { runCommand([this] { DoColor(6); }); });
}

void TMain::buildLetteredButtons() {
    for (int group = 0; group < 4; ++group) {
        auto* bevel = new QFrame(client_);
        bevel->setObjectName(QStringLiteral("Bevel%1").arg(group + 1));
        bevel->setFrameShape(QFrame::Box);
        bevel->setFrameShadow(QFrame::Sunken);
        bevel->setGeometry(kGroupLeft[group], 4, 12 + kGroupColumns[group] * (kLetteredWidth + 2),
                           76);
        bevels_[group] = bevel;
    }
    for (const LetteredButtonDef& def : kLetteredButtons) {
        auto* button = new QPushButton(QString::fromLatin1(def.caption), client_);
        button->setObjectName(QString::fromLatin1(def.name));
        button->setGeometry(kGroupLeft[def.group] + 6 + def.column * (kLetteredWidth + 2),
                            10 + def.row * (kLetteredHeight + 4), kLetteredWidth, kLetteredHeight);
        connectButton(button, def.operation);
        letteredButtons_.push_back(button);
    }
}

void TMain::SetButtonBar() {
    const int mode = global_.misc.buttonBar;
    const bool lettered = mode == 2;
    action(QStringLiteral("MenuSpeedButtons"))->setChecked(mode == 1);
    action(QStringLiteral("MenuLetteredButtons"))->setChecked(lettered);
    action(QStringLiteral("MenuNoButtons"))->setChecked(mode == 3);

    const QStringList browseLocked = {QStringLiteral("AddButton"), QStringLiteral("CopyButton"),
                                      QStringLiteral("DeleteButton"),
                                      QStringLiteral("ViewerButton")};
    for (QPushButton* button : letteredButtons_) {
        bool enabled = lettered;
        if (browseMode_ && browseLocked.contains(button->objectName())) enabled = false;
        if (button->objectName() == QLatin1String("EndSearchButton"))
            enabled = lettered && searchActive_;
        button->setEnabled(enabled);
        button->setVisible(lettered);
    }
    for (QFrame* bevel : bevels_) bevel->setVisible(lettered);
    NavigatorLabel->setVisible(lettered);
    if (lettered) NavigatorLabel->move(400, 20);
    SpeedPanel->setVisible(mode == 1);
    SpeedPanel->setEnabled(mode == 1);
    FormResize();
}

constexpr int kPicturePaneWidth = 280;

void TMain::FormResize() {
    const int cw = client_->width();
    const int ch = client_->height();
    const ViewerPlacement at = placementFor(global_.misc.buttonBar, cw, ch);
    MyNavigator->setGeometry(at.navigatorLeft, at.navigatorTop, at.navigatorWidth, 25);
    SearchOnLabel->setGeometry(100, at.searchOnTop, 90, 16);
    CountLabel->setGeometry(12, at.countTop, 80, 16);
    Count2Label->setGeometry(12, at.count2Top, 80, 16);
    ViewerBevel->setGeometry(3, at.frameTop, cw - 6, at.frameHeight);
    ViewerLabel->adjustSize();
    ViewerLabel->move((cw - ViewerLabel->width()) / 2, at.headingTop);
    // The picture pane, when shown, takes the right of the grid's place.
    const int pane = picturePaneShown() ? qMin(kPicturePaneWidth, cw / 3) : 0;
    ViewerGrid->setGeometry(7, at.gridTop, cw - 14 - (pane ? pane + 4 : 0), at.gridHeight);
    if (pane) picturePane_->setGeometry(cw - 7 - pane, at.gridTop, pane, at.gridHeight);
}

}  // namespace app
