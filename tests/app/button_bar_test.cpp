// The speed-button and lettered-button bars and the placement of the viewer for each mode.
#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "app_test_env.h"

namespace app::testing {
namespace {

using ButtonBarTest = AppTest;

QWidget* child(TMain& w, const char* name) {
    QWidget* found = w.findChild<QWidget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

TEST_F(ButtonBarTest, SpeedButtonsLeftToRightWithHints) {
    TMain& w = start();
    const std::pair<const char*, const char*> expected[] = {
        {"NewSpeed", "New Database"},
        {"OpenSpeed", "Open Database"},
        {"AddSpeed", "Add Record"},
        {"EditSpeed", "Edit Record"},
        {"CopySpeed", "Copy Record"},
        {"DeleteSpeed", "Delete Record"},
        {"ImportSpeed", "Import Records"},
        {"ExportSpeed", "Export Records"},
        {"SearchSpeed", "Search Records"},
        {"EndSearchSpeed", "End Search"},
        {"LocateSpeed", "Locate Record"},
        {"LocateNextSpeed", "Locate Next Record"},
        {"ReportSpeed", "Reports"},
        {"ViewerSpeed", "Viewer Configuration"},
        {"ColorSpeed", "Color Setup"},
        {"SpeedSetOrder", "Set Sorting Order"},
        {"HelpSpeed", "Help"},
    };
    int previousLeft = -1;
    for (const auto& [name, hint] : expected) {
        auto* button = w.findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->parentWidget()->objectName(), QStringLiteral("SpeedPanel"));
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint));
        EXPECT_EQ(button->accessibleName(), QString::fromLatin1(hint));
        EXPECT_EQ(button->size(), QSize(25, 25));
        EXPECT_GT(button->x(), previousLeft) << name;
        EXPECT_FALSE(button->icon().isNull());
        previousLeft = button->x();
    }
}

TEST_F(ButtonBarTest, LetteredButtonsDuringASearchEnableEndSearch) {
    TMain& w = start();
    w.EnableEndSearch();
    trigger("MenuLetteredButtons");
    EXPECT_EQ(w.buttonBar(), 2);
    for (const char* name :
         {"AddButton", "EditButton", "CopyButton", "DeleteButton", "SearchButton",
          "EndSearchButton", "ReportButton", "ViewerButton", "HelpButton", "ButtonExit"}) {
        EXPECT_TRUE(child(w, name)->isEnabled()) << name;
        EXPECT_FALSE(child(w, name)->isHidden()) << name;
    }
    for (const char* name : {"Bevel1", "Bevel2", "Bevel3", "Bevel4", "NavigatorLabel"})
        EXPECT_FALSE(child(w, name)->isHidden()) << name;
    EXPECT_TRUE(child(w, "SpeedPanel")->isHidden());
    EXPECT_FALSE(child(w, "SpeedPanel")->isEnabled());
    EXPECT_EQ(child(w, "NavigatorLabel")->y(), 20);
    EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuLetteredButtons"))->isChecked());
    EXPECT_FALSE(w.findChild<QAction*>(QStringLiteral("MenuSpeedButtons"))->isChecked());

    w.DoEndSearch();
    EXPECT_FALSE(child(w, "EndSearchButton")->isEnabled());
    EXPECT_FALSE(w.findChild<QAction*>(QStringLiteral("MenuEndSearch"))->isEnabled());
}

TEST_F(ButtonBarTest, LetteredButtonsInBrowseModeKeepChangingButtonsDisabled) {
    TMain& w = start({QStringLiteral("/BROWSE")});
    trigger("MenuLetteredButtons");
    for (const char* name : {"AddButton", "CopyButton", "DeleteButton", "ViewerButton"})
        EXPECT_FALSE(child(w, name)->isEnabled()) << name;
    for (const char* name :
         {"EditButton", "SearchButton", "ReportButton", "HelpButton", "ButtonExit"})
        EXPECT_TRUE(child(w, name)->isEnabled()) << name;
    EXPECT_FALSE(child(w, "EndSearchButton")->isEnabled());
}

TEST_F(ButtonBarTest, NoButtonsHidesBothBars) {
    TMain& w = start();
    trigger("MenuNoButtons");
    EXPECT_TRUE(child(w, "SpeedPanel")->isHidden());
    EXPECT_FALSE(child(w, "SpeedPanel")->isEnabled());
    for (const char* name : {"AddButton", "ButtonExit", "Bevel1", "NavigatorLabel"})
        EXPECT_TRUE(child(w, name)->isHidden()) << name;
    EXPECT_FALSE(child(w, "AddButton")->isEnabled());
    EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuNoButtons"))->isChecked());
}

// Positions for a client area of CW x CH in each mode.
TEST_F(ButtonBarTest, ViewerPlacementFollowsTheModeAndTheClientSize) {
    setGlobal("Misc", "Show Tips", "No");
    TMain& w = start();
    w.show();
    w.resize(800, 560);
    QCoreApplication::processEvents();
    QWidget* client = w.centralWidget();
    const int cw = client->width();
    const int ch = client->height();
    ASSERT_GT(cw, 100);

    struct Row {
        const char* menu;
        QRect navigator;  // left, top, width (height not checked)
        int searchTop, countTop, count2Top, frameTop, frameHeight, headingTop, gridTop, gridHeight;
    };
    const Row rows[] = {
        {"MenuSpeedButtons", {424, 3, 241, 1}, 44, 38, 52, 34, ch - 37, 38, 70, ch - 77},
        {"MenuLetteredButtons", {400, 47, 221, 1}, 96, 90, 105, 86, ch - 89, 90, 122, ch - 129},
        {"MenuNoButtons", {cw - 207, 8, 201, 1}, 14, 8, 23, 4, ch - 7, 8, 40, ch - 47},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.menu);
        trigger(r.menu);
        QWidget* nav = child(w, "MyNavigator");
        EXPECT_EQ(nav->pos(), r.navigator.topLeft());
        EXPECT_EQ(nav->width(), r.navigator.width());
        EXPECT_EQ(child(w, "SearchOnLabel")->y(), r.searchTop);
        EXPECT_EQ(child(w, "CountLabel")->y(), r.countTop);
        EXPECT_EQ(child(w, "Count2Label")->y(), r.count2Top);
        EXPECT_EQ(child(w, "ViewerBevel")->geometry(), QRect(3, r.frameTop, cw - 6, r.frameHeight));
        QWidget* heading = child(w, "ViewerLabel");
        EXPECT_EQ(heading->y(), r.headingTop);
        EXPECT_LE(std::abs(heading->x() + heading->width() / 2 - cw / 2), 1);
        EXPECT_EQ(child(w, "ViewerGrid")->geometry(), QRect(7, r.gridTop, cw - 14, r.gridHeight));
    }

    // Resizing re-applies the placement of the current mode.
    w.resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(child(w, "ViewerGrid")->width(), client->width() - 14);
    EXPECT_EQ(child(w, "ViewerGrid")->height(), client->height() - 47);
    EXPECT_EQ(child(w, "MyNavigator")->x(), client->width() - 207);
}

}  // namespace
}  // namespace app::testing
