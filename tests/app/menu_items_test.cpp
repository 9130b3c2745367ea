// Menu items of the main window: recent-collection captions show their paths as they are, and
// commands whose windows this version does not have yet say so when chosen.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

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

// The letter after a single "&" of a caption, lower-cased; none when it has none.
QChar mnemonicOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] != u'&') return caption[i + 1].toLower();
        ++i;
    }
    return {};
}

TEST_F(MenuItemsTest, ListMaintenanceItemsEachHaveTheirOwnMnemonic) {
    TMain& w = start();
    const QMenu* lists = w.findChild<QMenu*>(QStringLiteral("MenuListMaintenance"));
    ASSERT_NE(lists, nullptr);
    QMap<QChar, QString> seen;
    for (const QAction* item : lists->actions()) {
        if (item->isSeparator()) continue;
        const QChar key = mnemonicOf(item->text());
        SCOPED_TRACE(item->text().toStdString());
        ASSERT_FALSE(key.isNull());
        EXPECT_FALSE(seen.contains(key)) << "shared with " << seen.value(key).toStdString();
        seen.insert(key, item->text());
    }
    EXPECT_EQ(seen.size(), 13);
}

}  // namespace
}  // namespace app::testing
