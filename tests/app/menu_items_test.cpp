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

TEST_F(MenuItemsTest, CommandsNotAvailableYetSaySo) {
    start();
    const struct {
        const char* item;
        const char* command;
    } cases[] = {
        {"MenuImport", "Import"},
        {"MenuExport", "Export"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        platform_.clearRecords();
        trigger(QString::fromLatin1(c.item));
        EXPECT_EQ(platform_.boxSummary(),
                  QStringList{QStringLiteral("Notice: %1 is not available yet.").arg(c.command)});
    }
}

}  // namespace
}  // namespace app::testing
