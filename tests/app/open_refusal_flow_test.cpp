// Collections that cannot be opened or replaced, through the main window: each refusal tells its
// true reason and leaves the collection the user came from open as it was (caption, table, order,
// settings, recent list); nothing is written into a file that turned out not to be a collection.
// Also the companions of names with two dots, and viewer positions that are no permutation.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <algorithm>

#include "app_test_env.h"
#include "collection/other_process.h"
#include "ui/data_grid_model.h"

namespace app::testing {
namespace {

class OpenRefusalFlowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        for (const char* name : {"A", "B"})
            makeCollection(dbf(name),
                           {QStringLiteral("z"), QStringLiteral("m"), QStringLiteral("a")});
        setGlobal("Misc", "Last Database", dbf("A"));
        setGlobal("Misc", "Last File 1", dbf("B"));
        setCollectionKey(dbf("A"), "Field Names", "Catalog", "Number");
    }
    void TearDown() override {
        // Permissions taken away by a test are given back so the folder can be removed.
        for (const QString& file :
             QDir(path({})).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            QFile::setPermissions(path(file), QFile::permissions(path(file)) | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOwner);
        AppTest::TearDown();
    }
    QString dbf(const char* name) const { return path(QString::fromLatin1(name) + ".DBF"); }
    void open(const QString& file) {
        platform_.queueFilePath(file);
        trigger("MenuOpen");
    }
    QStringList recent() const {
        const auto& files = main_->globalSettings().misc.lastFiles;
        return QStringList(files.begin(), files.end());
    }
    std::vector<std::string> catalogsInOrder() {
        std::vector<std::string> out;
        engine::Table& t = main_->MyTable;
        for (t.first(); !t.eof(); t.next()) out.push_back(t.text("Catalog"));
        return out;
    }
    static QByteArray bytesOf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A as start() left it: open, sorted by country, its own settings, B in the recent list.
    void expectStillOnA() {
        TMain& w = *main_;
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (A)"));
        EXPECT_EQ(w.currentCollection(), dbf("A"));
        EXPECT_EQ(w.collectionBasePath(), path(QStringLiteral("A")));
        ASSERT_TRUE(w.MyTable.isOpen());
        EXPECT_EQ(QString::fromStdString(w.MyTable.path()), dbf("A"));
        EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
        EXPECT_EQ(catalogsInOrder(), (std::vector<std::string>{"a", "m", "z"}));
        EXPECT_EQ(w.collectionSettings().field(1).label, QStringLiteral("Number"));
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("CountLabel"))->text(), QStringLiteral("3"));
        EXPECT_EQ(recent(), (QStringList{dbf("B"), "", "", "", ""}));
    }
};

QString readOnlyRefusal(const QString& file) {
    return QStringLiteral("Error: The collection \"") + file +
           QStringLiteral(
               "\" is read-only: its file or its folder cannot be written.  It has not "
               "been opened.  Copy its files to a folder you can write to and open the "
               "copy.");
}

TEST_F(OpenRefusalFlowTest, ReadOnlyCollectionIsRefusedByOpenAndByTheRecentList) {
    start();
    ASSERT_TRUE(QFile::setPermissions(dbf("B"), QFile::ReadOwner | QFile::ReadGroup));
    open(dbf("B"));
    trigger("MenuLastFile1");
    EXPECT_EQ(platform_.boxSummary(),
              (QStringList{readOnlyRefusal(dbf("B")), readOnlyRefusal(dbf("B"))}));
    expectStillOnA();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("B.MDX"))));
}

// At start a read-only last collection is told as such, not as "not a valid Tessellon file".
TEST_F(OpenRefusalFlowTest, StartWithAReadOnlyLastCollectionTellsOnlyThat) {
    ASSERT_TRUE(QFile::setPermissions(dbf("A"), QFile::ReadOwner | QFile::ReadGroup));
    platform_.queueFilePath(dbf("B"));
    TMain& w = start();
    ASSERT_FALSE(w.startFailed());
    EXPECT_EQ(platform_.boxSummary(), QStringList{readOnlyRefusal(dbf("A"))});
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (B)"));
}

// A failure after the checks (here the new index cannot be made) opens the collection the user
// came from again as it was, and tells the engine's message.
TEST_F(OpenRefusalFlowTest, FailureWhileOpeningReturnsToTheCollectionItCameFrom) {
    start();
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("B.MDX"))));
    open(dbf("B"));
    ASSERT_EQ(platform_.boxes().size(), 1u);
    EXPECT_EQ(platform_.boxes()[0].title, QStringLiteral("Error"));
    expectStillOnA();
}

TEST_F(OpenRefusalFlowTest, BrowseModeOpensAReadOnlyCollectionInTheOrderItsIndexHas) {
    {
        engine::Table b;
        b.open(dbf("B").toStdString(), engine::OpenMode::Exclusive);
        b.addIndexTag("NewIndex", "Catalog");
    }
    setCollectionKey(dbf("B"), "Sort Order", "Primary Sort", "7");
    for (const QString& file : {dbf("B"), path(QStringLiteral("B.MDX"))})
        ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));
    const QByteArray before = bytesOf(dbf("B"));
    TMain& w = start({QStringLiteral("/BROWSE")});
    open(dbf("B"));
    EXPECT_TRUE(platform_.boxes().empty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (B)"));
    EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(catalogsInOrder(), (std::vector<std::string>{"a", "m", "z"}));
    EXPECT_EQ(bytesOf(dbf("B")), before);
}

TEST_F(OpenRefusalFlowTest, OpeningATextFileNamedDbfTellsTheEngineMessageAndWritesNothing) {
    const QString notes = path(QStringLiteral("notes.DBF"));
    {
        QFile f(notes);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Want list: Penny Black, Basel Dove, Mauritius Post Office, Inverted Jenny.\n");
    }
    const QByteArray before = bytesOf(notes);
    start();
    open(notes);
    ASSERT_EQ(platform_.boxes().size(), 1u);
    EXPECT_TRUE(platform_.boxes()[0].text.contains(QStringLiteral("is not a readable dBase table")))
        << platform_.boxes()[0].text.toStdString();
    EXPECT_EQ(bytesOf(notes), before);
    expectStillOnA();
}

TEST_F(OpenRefusalFlowTest, NewOverTheOpenCollectionSaysItIsTheOpenOne) {
    start();
    platform_.queueFilePath(dbf("A"));
    trigger("MenuNew");
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral("Error: The table \"") + dbf("A") +
                          QStringLiteral("\" is the collection that is open now.  New table "
                                         "creation will be aborted.  To replace it, open another "
                                         "collection first.")});
    expectStillOnA();
}

// After the save dialog's overwrite question, an empty or damaged file is replaced by the new
// collection: it is not in use by anybody.
TEST_F(OpenRefusalFlowTest, NewReplacesAnEmptyOrDamagedFile) {
    TMain& w = start();
    for (const char* name : {"EMPTY.DBF", "DAMAGED.DBF"}) {
        QFile f(path(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        if (name[0] == 'D') f.write("\x03garbage, not a header");
        f.close();
        platform_.queueFilePath(f.fileName());
        trigger("MenuNew");
        EXPECT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
        EXPECT_EQ(w.currentCollection(), f.fileName());
        EXPECT_EQ(w.MyTable.recordCount(), 0u);
    }
}

TEST_F(OpenRefusalFlowTest, StartWhileAnotherProgramHoldsTheLastCollectionTellsOnlyThat) {
    collection::testing::OtherProcessHolding other(dbf("A"), engine::OpenMode::Exclusive);
    ASSERT_TRUE(other.holds());
    platform_.queueFilePath(dbf("B"));
    TMain& w = start();
    ASSERT_FALSE(w.startFailed());
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral("Error: The table \"") + dbf("A") +
                          QStringLiteral("\" is in use by another program.  You will need to "
                                         "choose a new file.")});
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (B)"));
}

// "stamps.2023" and "stamps.2024" each keep their own settings and pick lists.
TEST_F(OpenRefusalFlowTest, NamesWithTwoDotsKeepTheirOwnCompanions) {
    const QString y2023 = path(QStringLiteral("stamps.2023.DBF"));
    const QString y2024 = path(QStringLiteral("stamps.2024.DBF"));
    makeCollection(y2023);
    makeCollection(y2024);
    TMain& w = start();
    open(y2023);
    w.collectionSettings().field(3).label = QStringLiteral("Land");
    open(y2024);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (stamps.2024)"));
    EXPECT_EQ(w.collectionSettings().field(3).label, QStringLiteral("Country"));
    for (const char* written : {"stamps.2023.INI", "stamps.2023.001", "stamps.2024.MDX"})
        EXPECT_TRUE(QFileInfo::exists(path(QString::fromLatin1(written)))) << written;
    for (const char* shared : {"stamps.INI", "stamps.001", "stamps.MDX"})
        EXPECT_FALSE(QFileInfo::exists(path(QString::fromLatin1(shared)))) << shared;
}

// Two fields on one stored position: every field still gets exactly one column.
TEST_F(OpenRefusalFlowTest, EveryFieldGetsOneColumnWhateverTheStoredPositions) {
    setCollectionKey(dbf("A"), "Field Order", "Country", "2");
    setCollectionKey(dbf("A"), "Field Order", "Year", "forty");
    start().SetViewerOptions();
    const auto* model = main_->findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    ASSERT_NE(model, nullptr);
    std::vector<int> fields;
    for (const ui::GridColumn& column : model->columns()) fields.push_back(column.field);
    ASSERT_EQ(fields.size(), 25u);
    EXPECT_EQ(fields[1], 2);
    EXPECT_EQ(fields[2], 3);
    EXPECT_EQ(fields.back(), 7);
    std::sort(fields.begin(), fields.end());
    EXPECT_EQ(std::unique(fields.begin(), fields.end()), fields.end());
}

}  // namespace
}  // namespace app::testing
