// Switching collections through the main window: the recent list and its menu, re-opening the
// current collection over itself, the sort tag made on opening (missing index, no levels, a file
// another process holds), and New over a file another process holds.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>

#include "app_test_env.h"
#include "collection/other_process.h"
#include "collection/profile_file.h"

namespace app::testing {
namespace {

class CollectionSwitchFlowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        for (const char* name : {"A", "B", "C"})
            makeCollection(dbf(name),
                           {QStringLiteral("z"), QStringLiteral("m"), QStringLiteral("a")});
        setGlobal("Misc", "Last Database", dbf("A"));
    }
    QString dbf(const char* name) const { return path(QString::fromLatin1(name) + ".DBF"); }
    QString mdx(const char* name) const { return path(QString::fromLatin1(name) + ".MDX"); }
    void open(const QString& file) {
        platform_.queueFilePath(file);
        trigger("MenuOpen");
    }
    QAction* recentItem(int slot) {
        return main_->menuBar()->findChild<QAction*>(QStringLiteral("MenuLastFile%1").arg(slot));
    }
    QStringList recent() {
        const auto& files = main_->globalSettings().misc.lastFiles;
        return QStringList(files.begin(), files.end());
    }
    std::string tagExpression() {
        for (const engine::TagInfo& tag : main_->MyTable.tags())
            if (tag.name == "NEWINDEX") return tag.expression;
        return {};
    }
    std::vector<std::string> catalogsInOrder() {
        std::vector<std::string> out;
        engine::Table& t = main_->MyTable;
        for (t.first(); !t.eof(); t.next()) out.push_back(t.text("Catalog"));
        return out;
    }
};

TEST_F(CollectionSwitchFlowTest, RecentListAfterABCThenAFromTheList) {
    TMain& w = start();
    open(dbf("B"));
    open(dbf("C"));
    EXPECT_EQ(recent(), (QStringList{dbf("B"), dbf("A"), "", "", ""}));
    EXPECT_EQ(recentItem(1)->text(), QStringLiteral("&1   ") + dbf("B"));
    EXPECT_EQ(recentItem(2)->text(), QStringLiteral("&2   ") + dbf("A"));
    EXPECT_TRUE(recentItem(2)->isVisible());
    EXPECT_FALSE(recentItem(3)->isVisible());

    trigger("MenuLastFile2");
    EXPECT_EQ(w.currentCollection(), dbf("A"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (A)"));
    EXPECT_EQ(recent(), (QStringList{dbf("C"), dbf("B"), "", "", ""}));
    EXPECT_EQ(recentItem(1)->text(), QStringLiteral("&1   ") + dbf("C"));
    EXPECT_TRUE(platform_.boxes().empty());
}

TEST_F(CollectionSwitchFlowTest, ReopeningTheCurrentCollectionSavesRereadsAndRebuildsItsTag) {
    setGlobal("Misc", "Last File 1", dbf("B"));
    TMain& w = start();
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,80))");
    // Changed in memory only: re-opening writes it and reads it back.
    w.collectionSettings().sortLevels = {0, 0, 0, 0};
    w.collectionSettings().field(1).label = QStringLiteral("Number");
    open(dbf("A"));
    collection::ProfileFile own(path(QStringLiteral("A.INI")));
    EXPECT_EQ(own.read(QStringLiteral("Sort Order"), QStringLiteral("Primary Sort")),
              QStringLiteral("0"));
    EXPECT_EQ(w.collectionSettings().field(1).label, QStringLiteral("Number"));
    EXPECT_TRUE(w.sortExpression().isEmpty());
    EXPECT_EQ(w.MyTable.selectedIndex(), "");
    EXPECT_EQ(catalogsInOrder(), (std::vector<std::string>{"z", "m", "a"}));
    EXPECT_EQ(recent(), (QStringList{dbf("A"), dbf("B"), "", "", ""}));
}

TEST_F(CollectionSwitchFlowTest, MissingIndexIsMadeAfreshOnOpening) {
    {
        engine::Table table;  // B gets an index of its own, then loses it
        table.open(dbf("B").toStdString(), engine::OpenMode::Exclusive);
        table.addIndexTag("NewIndex", "Catalog");
    }
    ASSERT_TRUE(QFile::remove(mdx("B")));
    start();
    open(dbf("B"));
    EXPECT_TRUE(platform_.boxes().empty());
    EXPECT_TRUE(QFileInfo::exists(mdx("B")));
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,80))");
    EXPECT_EQ(main_->MyTable.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(catalogsInOrder(), (std::vector<std::string>{"a", "m", "z"}));
}

TEST_F(CollectionSwitchFlowTest, ADamagedIndexIsToldOnceAndMadeAfreshOnOpening) {
    {
        engine::Table table;
        table.open(dbf("B").toStdString(), engine::OpenMode::Exclusive);
        table.addIndexTag("NewIndex", "Upper(Left(Country,80))");
    }
    QFile index(mdx("B"));
    ASSERT_TRUE(index.open(QIODevice::ReadWrite));
    index.write(QByteArray(4096, 'x'));  // nothing of it can be read
    index.close();
    start();
    open(dbf("B"));
    ASSERT_EQ(platform_.boxes().size(), 1u) << platform_.boxSummary().join('\n').toStdString();
    EXPECT_EQ(platform_.boxes()[0].title, QStringLiteral("Notice"));
    EXPECT_TRUE(platform_.boxes()[0].text.contains(mdx("B")));
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,80))");
    EXPECT_EQ(catalogsInOrder(), (std::vector<std::string>{"a", "m", "z"}));
    trigger("MenuUpdateDatabase");
    EXPECT_EQ(platform_.boxes().size(), 1u);
}

TEST_F(CollectionSwitchFlowTest, NoSortLevelsOpensInRecordOrderWithoutMakingATag) {
    setCollectionKey(dbf("B"), "Sort Order", "Primary Sort", "0");
    start();
    open(dbf("B"));
    EXPECT_TRUE(main_->MyTable.tags().empty());
    EXPECT_EQ(catalogsInOrder(), (std::vector<std::string>{"z", "m", "a"}));
}

TEST_F(CollectionSwitchFlowTest, CollectionHeldByAnotherProcessOpensWithItsTagAsItWas) {
    {
        engine::Table table;
        table.open(dbf("B").toStdString(), engine::OpenMode::Exclusive);
        table.addIndexTag("NewIndex", "Upper(Left(Country,80))");
    }
    setCollectionKey(dbf("B"), "Sort Order", "Primary Sort", "7");
    start();
    collection::testing::OtherProcessHolding other(dbf("B"));
    ASSERT_TRUE(other.holds());
    open(dbf("B"));
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("Tessellon (B)"));
    EXPECT_EQ(main_->sortExpression(), QStringLiteral("STR(Year,12,0)"));
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,80))");
    EXPECT_EQ(main_->MyTable.selectedIndex(), "NEWINDEX");
    EXPECT_TRUE(platform_.boxes().empty());
}

TEST_F(CollectionSwitchFlowTest, NewOverAFileAnotherProcessHoldsIsRefused) {
    TMain& w = start();
    collection::testing::OtherProcessHolding other(dbf("B"));
    ASSERT_TRUE(other.holds());
    platform_.queueFilePath(dbf("B"));
    trigger("MenuNew");
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral("Error: The table \"") + dbf("B") +
                          QStringLiteral("\" is currently in use by another program.  New table "
                                         "creation will be aborted.")});
    EXPECT_EQ(w.currentCollection(), dbf("A"));
    EXPECT_TRUE(w.MyTable.isOpen());
    other.letGo();
    engine::Table b;
    b.open(dbf("B").toStdString(), engine::OpenMode::Shared);
    EXPECT_EQ(b.recordCount(), 3u);
}

TEST_F(CollectionSwitchFlowTest, NewReplacesAnUnheldFileAndGetsItsTagWithoutTheInUseTest) {
    TMain& w = start();
    platform_.queueFilePath(dbf("B"));
    trigger("MenuNew");
    EXPECT_TRUE(platform_.boxes().empty());
    EXPECT_EQ(w.currentCollection(), dbf("B"));
    EXPECT_EQ(w.MyTable.recordCount(), 0u);
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,80))");
    EXPECT_EQ(recent(), (QStringList{dbf("A"), "", "", "", ""}));
}

TEST_F(CollectionSwitchFlowTest, WrongExtensionIsRefusedAndTheCollectionStays) {
    TMain& w = start();
    for (const char* command : {"MenuOpen", "MenuNew"}) {
        platform_.queueFilePath(path(QStringLiteral("B.TXT")));
        trigger(command);
    }
    EXPECT_EQ(platform_.boxSummary(),
              QStringList(2, QStringLiteral("Error: Invalid file type selected.")));
    EXPECT_EQ(w.currentCollection(), dbf("A"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("B.TXT"))));
}

}  // namespace
}  // namespace app::testing
