// Menu items of the main window: recent-collection captions show their paths as they are, and
// commands whose windows this version does not have yet say so when chosen.
#include <QAction>

#include "app_test_env.h"

namespace app::testing {
namespace {

using MenuItemsTest = AppTest;

TEST_F(MenuItemsTest, AnAmpersandInARecentPathIsShownNotTakenAsAnAccelerator) {
    const QString other = path(QStringLiteral("C & D.DBF"));
    makeCollection(other, {QStringLiteral("X")});
    setGlobal(QStringLiteral("Misc"), QStringLiteral("Last File 1"), other);
    TMain& w = start();
    QAction* item = w.findChild<QAction*>(QStringLiteral("MenuLastFile1"));
    ASSERT_TRUE(item->isVisible());
    // The menu shows the caption without its accelerator marks: "1   <path>".
    EXPECT_EQ(item->iconText(), QStringLiteral("1   ") + other);
    trigger("MenuLastFile1");
    EXPECT_EQ(w.currentCollection(), other);
}

// Every command has its window now: Import and Export, the last to come, open theirs and say
// nothing about being unavailable.
TEST_F(MenuItemsTest, ImportAndExportOpenTheirWindows) {
    start();
    for (const char* item : {"MenuImport", "MenuExport"}) {
        SCOPED_TRACE(item);
        platform_.clearRecords();
        trigger(QString::fromLatin1(item));
        EXPECT_TRUE(platform_.boxes().empty());
        ASSERT_EQ(platform_.modals().size(), 1u);
    }
}

}  // namespace
}  // namespace app::testing
