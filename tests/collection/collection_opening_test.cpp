#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "collection/collection_paths.h"
#include "collection/data_list_files.h"
#include "collection/recent_files.h"
#include "engine/companion_files.h"

namespace {

using collection::DoLastFiles;
using collection::RecentFiles;

// Switching from `current` to `next`, as the main window does.
void switchTo(RecentFiles& recent, QString& current, const QString& next) {
    DoLastFiles(recent, current, next);
    current = next;
}

TEST(RecentFiles, HoldsThePredecessorsNewestFirst) {
    RecentFiles recent;
    QString current = QStringLiteral("/c/MASTER.DBF");
    switchTo(recent, current, QStringLiteral("/c/A.DBF"));
    switchTo(recent, current, QStringLiteral("/c/B.DBF"));
    switchTo(recent, current, QStringLiteral("/c/C.DBF"));
    EXPECT_EQ(recent, (RecentFiles{"/c/B.DBF", "/c/A.DBF", "/c/MASTER.DBF", "", ""}));

    // A from the list: it leaves its slot, C (the one left) comes first.
    switchTo(recent, current, QStringLiteral("/c/A.DBF"));
    EXPECT_EQ(recent, (RecentFiles{"/c/C.DBF", "/c/B.DBF", "/c/MASTER.DBF", "", ""}));
}

TEST(RecentFiles, ReopeningTheCurrentCollectionPutsItFirst) {
    RecentFiles recent{"/c/B.DBF", "/c/A.DBF", "", "", ""};
    DoLastFiles(recent, QStringLiteral("/c/C.DBF"), QStringLiteral("/c/C.DBF"));
    EXPECT_EQ(recent, (RecentFiles{"/c/C.DBF", "/c/B.DBF", "/c/A.DBF", "", ""}));
}

TEST(RecentFiles, FullListDropsTheOldestAndComparesCaseSensitively) {
    RecentFiles recent{"/1.DBF", "/2.DBF", "/3.DBF", "/4.DBF", "/5.DBF"};
    DoLastFiles(recent, QStringLiteral("/6.DBF"), QStringLiteral("/7.DBF"));
    EXPECT_EQ(recent, (RecentFiles{"/6.DBF", "/1.DBF", "/2.DBF", "/3.DBF", "/4.DBF"}));
    // "/2.dbf" is not "/2.DBF": nothing is removed, the oldest goes.
    DoLastFiles(recent, QStringLiteral("/7.DBF"), QStringLiteral("/2.dbf"));
    EXPECT_EQ(recent, (RecentFiles{"/7.DBF", "/6.DBF", "/1.DBF", "/2.DBF", "/3.DBF"}));
    // A path found in the last slot leaves it, so the move down drops nothing else.
    DoLastFiles(recent, QStringLiteral("/8.DBF"), QStringLiteral("/3.DBF"));
    EXPECT_EQ(recent, (RecentFiles{"/8.DBF", "/7.DBF", "/6.DBF", "/1.DBF", "/2.DBF"}));
}

TEST(RecentFiles, MenuShowsFilledSlotsAndHidesTheSeparatorWhenEmpty) {
    const collection::RecentMenu none = collection::recentMenuItems(RecentFiles{});
    EXPECT_FALSE(none.separatorVisible);
    for (const auto& item : none.items) EXPECT_FALSE(item.visible);

    const collection::RecentMenu some =
        collection::recentMenuItems(RecentFiles{"/c/B.DBF", "", "/c/A.DBF", "", ""});
    EXPECT_TRUE(some.separatorVisible);
    EXPECT_EQ(some.items[0].caption, QStringLiteral("&1   /c/B.DBF"));
    EXPECT_TRUE(some.items[0].visible);
    EXPECT_FALSE(some.items[1].visible);
    EXPECT_EQ(some.items[2].caption, QStringLiteral("&3   /c/A.DBF"));
    EXPECT_TRUE(some.items[2].visible);
}

// Every companion hangs off the name without its last extension, as the engine names the index:
// "stamps.2023" and "stamps.2024" do not share "stamps.INI" or "stamps.001".
TEST(CollectionPaths, CompanionsUseTheNameWithoutItsLastExtension) {
    const collection::CollectionPaths p =
        collection::collectionPaths(QStringLiteral("/data/stamps/stamps.2023.DBF"));
    EXPECT_EQ(p.folder, QStringLiteral("/data/stamps/"));
    EXPECT_EQ(p.tableName, QStringLiteral("stamps.2023"));
    EXPECT_EQ(p.basePath, QStringLiteral("/data/stamps/stamps.2023"));
    EXPECT_EQ(p.indexPath, QStringLiteral("/data/stamps/stamps.2023.MDX"));
    EXPECT_EQ(p.indexPath, QString::fromStdString(
                               engine::companionPath("/data/stamps/stamps.2023.DBF", ".MDX")));
    EXPECT_EQ(p.settingsPath, QStringLiteral("/data/stamps/stamps.2023.INI"));
    EXPECT_EQ(collection::collectionListPath(p.basePath, 1),
              QStringLiteral("/data/stamps/stamps.2023.001"));
    // A name with one dot is addressed as ever.
    EXPECT_EQ(collection::collectionPaths(QStringLiteral("/data/MASTER.DBF")).basePath,
              QStringLiteral("/data/MASTER"));
}

TEST(CollectionPaths, FindsACompanionWrittenInAnotherCase) {
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("MASTER.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.close();
    const collection::CollectionPaths p =
        collection::collectionPaths(dir.filePath(QStringLiteral("MASTER.DBF")));
    EXPECT_EQ(p.settingsPath, dir.filePath(QStringLiteral("MASTER.ini")));
    EXPECT_EQ(p.indexPath, dir.filePath(QStringLiteral("MASTER.MDX")));
}

TEST(CollectionPaths, DbfExtensionTest) {
    const struct {
        const char* path;
        bool dbf;
    } cases[] = {
        {"/a/MASTER.DBF", true},
        {"/a/master.dbf", true},
        {"/a/Master.Dbf", true},
        {"/a/MASTER.DB", false},
        {"/a/MASTER.DBF.bak", false},
        {"/a/MASTERDBF", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(collection::hasDbfExtension(QString::fromLatin1(c.path)), c.dbf) << c.path;
}

}  // namespace
