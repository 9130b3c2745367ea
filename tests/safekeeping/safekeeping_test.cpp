// Backup and restore of the four file groups through a host that records what the program
// around them was asked to do.
#include "safekeeping/safekeeping.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "collection/collection_file.h"
#include "collection/sort_order.h"
#include "engine/error.h"
#include "engine/table.h"
#include "pictures/picture_store.h"
#include "safekeeping/safe_copy.h"
#include "safekeeping/staged_table.h"

namespace safekeeping {
namespace {

struct FakeHost : SafekeepingHost {
    QString collection, programDir;
    bool search = false;
    qint64 free = qint64(1) << 40;
    QStringList calls;
    QString killAt;  // a call at which the process is killed (run in a child process)

    QString currentCollection() const override { return collection; }
    QString programDirectory() const override { return programDir; }
    bool searchActive() const override { return search; }
    void endSearch() override { search = false, calls << "endSearch"; }
    void resumeSearch() override { search = true, calls << "resumeSearch"; }
    void closeTable() override { calls << "close"; }
    void reopenTable() override { calls << "reopen"; }
    void writeDataLists() override { calls << "writeLists"; }
    void reloadDataLists() override { calls << "reloadLists"; }
    void writeCollectionSettings() override { calls << "writeSettings"; }
    void reloadCollectionSettings() override { calls << "reloadSettings"; }
    void makeCurrent(const QString& path) override {
        if (killAt == "makeCurrent") ::_exit(9);
        collection = path, calls << "makeCurrent";
    }
    void reportsRestored() override { calls << "reportsRestored"; }
    qint64 freeBytes(const QString&) override { return free; }
    void setBusy(bool busy) override {
        if (!busy && killAt == "ready") ::_exit(9);
    }
};

class SafekeepingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir(dir_.path()).mkpath(QStringLiteral("program"));
        QDir(dir_.path()).mkpath(QStringLiteral("media"));
        host_.programDir = path("program");
        host_.collection = path("program/STAMPS.DBF");
        ASSERT_TRUE(collection::MakeNewDB(host_.collection, {}));
        addRecords(host_.collection, 3);
    }
    QString path(const char* name) const { return dir_.path() + u'/' + QLatin1String(name); }
    static void addRecords(const QString& table, int n) {
        engine::Table t;
        t.open(table.toStdString(), engine::OpenMode::Shared);
        for (int i = 0; i < n; ++i) {
            t.append();
            t.setText("Catalog", "C" + std::to_string(i));
            t.post();
        }
    }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool backup(SafekeepingGroup g, const QString& folder) {
        return Safekeeping(host_, sink()).backup(g, folder);
    }
    bool restore(SafekeepingGroup g, const QString& chosen) {
        return Safekeeping(host_, sink()).restore(g, chosen);
    }
    SafekeepingSink sink() {
        return [this](const QString& title, const QString& text) { told_ << title + ": " + text; };
    }

    QTemporaryDir dir_;
    FakeHost host_;
    QStringList told_;
};

TEST_F(SafekeepingTest, TableBackupCopiesWhileHeldAndResumesTheSearch) {
    host_.search = true;
    ASSERT_TRUE(backup(SafekeepingGroup::Table, path("media/")));
    EXPECT_EQ(read(path("media/STAMPS.DBF")), read(host_.collection));
    EXPECT_EQ(told_, QStringList{"Notice: Backup completed successfully."});
    EXPECT_EQ(host_.calls, (QStringList{"endSearch", "close", "resumeSearch", "reopen"}));
}

TEST_F(SafekeepingTest, IdenticalFolderIsRefusedAlsoThroughALink) {
    ASSERT_TRUE(QFile::link(path("program"), path("alias")));
    for (const QString& folder : {path("program"), path("alias"), path("program/")}) {
        told_.clear();
        EXPECT_FALSE(backup(SafekeepingGroup::Table, folder));
        ASSERT_EQ(told_.size(), 1);
        EXPECT_TRUE(told_[0].startsWith("Error: Destination File and Source File are identical."));
        EXPECT_TRUE(told_[0].endsWith("directory/folder to backup to."));
    }
    EXPECT_FALSE(restore(SafekeepingGroup::Table, host_.collection));
    EXPECT_TRUE(told_.last().endsWith("directory/folder to restore from."));
}

// The copy is written whole beside the older one, which is freed only once the copy is in
// place: the room of the older copy does not count, for a backup nor for a restore.
TEST_F(SafekeepingTest, FreeSpaceMustHoldTheWholeCopyBesideTheOlderOne) {
    const qint64 size = QFileInfo(host_.collection).size();
    const QByteArray older(int(size), 'x');
    write(path("media/STAMPS.DBF"), older);
    host_.free = size - 1;
    EXPECT_FALSE(backup(SafekeepingGroup::Table, path("media")));
    EXPECT_EQ(told_.last(),
              "Error: There is not enough room on the destination drive to perform a backup.  If "
              "you are already using blank empty media, then you will need to use the ASCII "
              "Delimited Import/Export functions for backup and restore purposes.");
    EXPECT_EQ(read(path("media/STAMPS.DBF")), older);
    EXPECT_EQ(host_.calls.last(), "reopen");

    const QByteArray current = read(host_.collection);
    ASSERT_TRUE(collection::MakeNewDB(path("media/STAMPS.DBF"), {}));
    addRecords(path("media/STAMPS.DBF"), 2);
    host_.free = QFileInfo(path("media/STAMPS.DBF")).size() - 1;
    EXPECT_FALSE(restore(SafekeepingGroup::Table, path("media/STAMPS.DBF")));
    EXPECT_TRUE(told_.last().startsWith("Error: There is not enough room on the destination "
                                        "drive to perform a restore."));
    EXPECT_EQ(read(host_.collection), current);

    host_.free = size;
    EXPECT_TRUE(backup(SafekeepingGroup::Table, path("media")));
    EXPECT_EQ(read(path("media/STAMPS.DBF")), read(host_.collection));
}

// The backup of an indexed table keeps every byte, the production-index flag among them, though
// the index itself stays behind; a file that is no table is named for what it is.
TEST_F(SafekeepingTest, TableBackupIsAByteCopyAndABadTableIsToldForWhatItIs) {
    {
        engine::Table t;
        t.open(host_.collection.toStdString(), engine::OpenMode::Exclusive);
        collection::buildSortTag(t, QStringLiteral("UPPER(COUNTRY)"));
    }
    const QByteArray table = read(host_.collection);
    ASSERT_EQ(table.at(28), 1);
    ASSERT_TRUE(backup(SafekeepingGroup::Table, path("media")));
    EXPECT_EQ(read(path("media/STAMPS.DBF")), table);
    EXPECT_FALSE(QFileInfo::exists(path("media/STAMPS.MDX")));

    host_.collection = path("program/ZEROS.DBF");
    write(host_.collection, QByteArray(4096, '\0'));
    told_.clear();
    EXPECT_FALSE(backup(SafekeepingGroup::Table, path("media")));
    ASSERT_EQ(told_.size(), 1);
    EXPECT_FALSE(told_[0].contains("exclusive use")) << told_[0].toStdString();
    EXPECT_TRUE(told_[0].contains("ZEROS.DBF")) << told_[0].toStdString();
    EXPECT_TRUE(told_[0].endsWith("Backup not completed.")) << told_[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("media/ZEROS.DBF")));
}

TEST_F(SafekeepingTest, BackupOfATableHeldByAnotherOpenIsRefused) {
    engine::Table other;
    other.open(host_.collection.toStdString(), engine::OpenMode::Exclusive);
    EXPECT_FALSE(backup(SafekeepingGroup::Table, path("media")));
    EXPECT_TRUE(told_.last().startsWith("Error: Backing up the database requires exclusive use"));
    EXPECT_FALSE(QFileInfo::exists(path("media/STAMPS.DBF")));
}

TEST_F(SafekeepingTest, DataListsSkipMissingFilesOnBackupAndWarnPerFileOnRestore) {
    write(path("program/STAMPS.001"), "France\r\n");
    write(path("program/STAMPS.004"), "Mint\r\n");
    ASSERT_TRUE(backup(SafekeepingGroup::DataLists, path("media")));
    EXPECT_EQ(told_, QStringList{"Notice: Backup completed successfully."});
    EXPECT_TRUE(host_.calls.contains("writeLists"));
    EXPECT_EQ(QDir(path("media")).entryList(QDir::Files),
              (QStringList{"STAMPS.001", "STAMPS.004"}));

    told_.clear();
    write(path("media/STAMPS.001"), "Germany\r\n");
    ASSERT_TRUE(restore(SafekeepingGroup::DataLists, path("media/STAMPS.DBF")));
    EXPECT_EQ(read(path("program/STAMPS.001")), "Germany\r\n");
    EXPECT_EQ(told_.size(), 8);  // seven missing files, then the closing notice
    EXPECT_EQ(told_[0],
              "Warning: The following file \"STAMPS.002\" could not be located on the "
              "specified source drive.");
    EXPECT_EQ(told_.last(),
              "Notice: One or more files were not restored.  Restore may not have "
              "completed successfully.");
    EXPECT_EQ(host_.calls.last(), "reloadLists");
}

TEST_F(SafekeepingTest, RestoredTableBecomesCurrentWithAFreshSortIndex) {
    const QString backupTable = path("media/OLDSTAMP.DBF");
    ASSERT_TRUE(collection::MakeNewDB(backupTable, {}));
    addRecords(backupTable, 5);
    write(path("program/OLDSTAMP.MDX"), "stale index");
    write(path("program/OLDSTAMP.INI"), "[Sort Order]\r\nPrimary Sort=3\r\n");
    ASSERT_TRUE(restore(SafekeepingGroup::Table, backupTable));
    EXPECT_EQ(told_, QStringList{"Notice: Restore completed successfully.  The table was restored "
                                 "to \"" + path("program/OLDSTAMP.DBF") + "\"."});
    EXPECT_EQ(host_.collection, path("program/OLDSTAMP.DBF"));
    engine::Table restored;
    restored.open(host_.collection.toStdString(), engine::OpenMode::Shared);
    EXPECT_EQ(restored.recordCount(), 5u);
    ASSERT_EQ(restored.tags().size(), 1u);
    EXPECT_EQ(restored.tags()[0].name, "NEWINDEX");
}

TEST_F(SafekeepingTest, RestoreOverTheOpenCollectionIsAllOrNothing) {
    const QByteArray before = read(host_.collection);
    // A backup that is not a collection is refused before anything changes.
    write(path("media/STAMPS.DBF"), "not a table");
    EXPECT_FALSE(restore(SafekeepingGroup::Table, path("media/STAMPS.DBF")));
    EXPECT_EQ(read(host_.collection), before);
    // Held by another program: refused, the table opened again.
    QFile::remove(path("media/STAMPS.DBF"));
    ASSERT_TRUE(collection::MakeNewDB(path("media/STAMPS.DBF"), {}));
    {
        engine::Table other;
        other.open(host_.collection.toStdString(), engine::OpenMode::Shared);
        host_.calls.clear();
        EXPECT_FALSE(restore(SafekeepingGroup::Table, path("media/STAMPS.DBF")));
        EXPECT_TRUE(told_.last().startsWith("Error: Unable to restore the database."));
        EXPECT_EQ(host_.calls, (QStringList{"writeSettings", "close", "reopen"}));
    }
    EXPECT_EQ(read(host_.collection), before);
    EXPECT_TRUE(restore(SafekeepingGroup::Table, path("media/STAMPS.DBF")));
    EXPECT_EQ(read(host_.collection).size(), read(path("media/STAMPS.DBF")).size());
}

// A backup of the current collection's name goes over the current collection's own file, wherever
// it lies; another name goes beside it. Nothing lands in the program directory.
TEST_F(SafekeepingTest, RestoredTableGoesOverTheCurrentCollectionOrBesideIt) {
    QDir(dir_.path()).mkpath(QStringLiteral("home"));
    host_.collection = path("home/Mine.DBF");
    ASSERT_TRUE(collection::MakeNewDB(host_.collection, {}));
    addRecords(host_.collection, 2);
    ASSERT_TRUE(collection::MakeNewDB(path("media/MINE.DBF"), {}));
    addRecords(path("media/MINE.DBF"), 4);
    ASSERT_TRUE(restore(SafekeepingGroup::Table, path("media/MINE.DBF")));
    EXPECT_EQ(host_.collection, path("home/Mine.DBF"));
    EXPECT_EQ(told_.last(), "Notice: Restore completed successfully.  The table was restored to \"" +
                                path("home/Mine.DBF") + "\".");
    engine::Table restored;
    restored.open(host_.collection.toStdString(), engine::OpenMode::Shared);
    EXPECT_EQ(restored.recordCount(), 4u);
    restored.close();

    ASSERT_TRUE(collection::MakeNewDB(path("media/Spain.DBF"), {}));
    ASSERT_TRUE(restore(SafekeepingGroup::Table, path("media/Spain.DBF")));
    EXPECT_EQ(host_.collection, path("home/Spain.DBF"));
    EXPECT_EQ(QDir(path("program")).entryList({"*.DBF"}), QStringList{"STAMPS.DBF"});
    EXPECT_EQ(QDir(path("home")).entryList({"*.DBF"}), (QStringList{"Mine.DBF", "Spain.DBF"}));
}

// A restore killed once the new table and index are complete beside the collection leaves the
// collection's table and index as they were; killed after they are in place, both are the new
// ones. The hidden folder of the first is cleared by the next restore.
TEST_F(SafekeepingTest, KilledRestoreLeavesTheOldOrTheNewTableWithItsIndex) {
    write(path("program/STAMPS.INI"), "[Sort Order]\r\nPrimary Sort=1\r\n");
    {
        engine::Table t;
        t.open(host_.collection.toStdString(), engine::OpenMode::Exclusive);
        collection::buildSortTag(t, sortExpressionOf(host_.collection));
    }
    const QByteArray table = read(host_.collection), index = read(path("program/STAMPS.MDX"));
    ASSERT_FALSE(index.isEmpty());
    ASSERT_TRUE(collection::MakeNewDB(path("media/STAMPS.DBF"), {}));
    addRecords(path("media/STAMPS.DBF"), 7);
    auto killedAt = [&](const char* point) {
        const pid_t child = ::fork();
        if (child == 0) {
            host_.killAt = point;
            restore(SafekeepingGroup::Table, path("media/STAMPS.DBF"));
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(killedAt("ready"), 9);
    EXPECT_EQ(read(host_.collection), table);
    EXPECT_EQ(read(path("program/STAMPS.MDX")), index);

    ASSERT_EQ(killedAt("makeCurrent"), 9);
    EXPECT_EQ(QDir(path("program")).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{});
    engine::Table restored;
    restored.open(host_.collection.toStdString(), engine::OpenMode::Shared);
    EXPECT_EQ(restored.indexNotice(), "");
    ASSERT_EQ(restored.tags().size(), 1u);
    restored.selectIndex("NEWINDEX");
    EXPECT_EQ(restored.recordCount(), 7u);
}

// Records added all or nothing (the conversion of an earlier version): a run stopped half-way
// leaves the collection and its index as they were, so the next run adds every record once.
TEST_F(SafekeepingTest, RecordsAddedAllOrNothingLeaveNothingOfAStoppedRun) {
    const QString expression = QStringLiteral("UPPER(CATALOG)");
    {
        engine::Table t;
        t.open(host_.collection.toStdString(), engine::OpenMode::Exclusive);
        collection::buildSortTag(t, expression);
    }
    const QByteArray table = read(host_.collection), index = read(path("program/STAMPS.MDX"));
    auto add = [](int records, bool stop) {
        return [=](engine::Table& target) {
            for (int i = 0; i < records; ++i) {
                target.append();
                target.setText("Catalog", "A" + std::to_string(i));
                target.post();
            }
            if (stop) throw engine::EngineError("stopped");
        };
    };
    EXPECT_THROW(addRecordsAllOrNothing(host_.collection, expression, add(2, true)),
                 engine::EngineError);
    EXPECT_EQ(read(host_.collection), table);
    EXPECT_EQ(read(path("program/STAMPS.MDX")), index);
    EXPECT_EQ(QDir(path("program")).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{});

    addRecordsAllOrNothing(host_.collection, expression, add(4, false));
    engine::Table done;
    done.open(host_.collection.toStdString(), engine::OpenMode::Shared);
    EXPECT_EQ(done.indexNotice(), "");
    done.selectIndex("NEWINDEX");
    EXPECT_EQ(done.recordCount(), 7u);
    done.first();
    EXPECT_EQ(done.text(done.requireField("Catalog")), "A0");
}

// The table's picture store goes with it into the backup, and comes back with it on restore in
// place of the store there, leaving no hidden folder behind.
TEST_F(SafekeepingTest, PicturesTravelWithTheTableBothWays) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(path("red.png")));
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(path("blue.png")));
    pictures::PictureStore(host_.collection).add(2, {path("red.png")}, {});
    ASSERT_TRUE(backup(SafekeepingGroup::Table, path("media")));
    EXPECT_EQ(pictures::PictureStore(path("media/STAMPS.DBF")).records(),
              std::vector<std::uint32_t>{2});

    {
        pictures::PictureStore changed(host_.collection);
        changed.removeAll(2);
        changed.add(3, {path("blue.png")}, {});
    }
    {
        // Refused once the pictures are copied: the store there stays as it was.
        engine::Table other;
        other.open(host_.collection.toStdString(), engine::OpenMode::Shared);
        EXPECT_FALSE(restore(SafekeepingGroup::Table, path("media/STAMPS.DBF")));
        EXPECT_EQ(pictures::PictureStore(host_.collection).records(),
                  std::vector<std::uint32_t>{3});
    }
    ASSERT_TRUE(restore(SafekeepingGroup::Table, path("media/STAMPS.DBF")));
    pictures::PictureStore restored(host_.collection);
    EXPECT_EQ(restored.records(), std::vector<std::uint32_t>{2});
    ASSERT_EQ(restored.pictures(2).size(), 1u);
    EXPECT_EQ(restored.pictures(2)[0].originalName, "red.png");
    EXPECT_TRUE(QFileInfo::exists(restored.pictures(2)[0].path));
    EXPECT_EQ(QDir(path("program")).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"STAMPS-pictures"});
}

TEST_F(SafekeepingTest, SettingsOfAnotherCollectionAreCopiedWithoutReloading) {
    QDir(dir_.path()).mkpath(QStringLiteral("home"));
    host_.collection = path("home/STAMPS.DBF");
    ASSERT_TRUE(collection::MakeNewDB(host_.collection, {}));
    write(path("media/OTHER.INI"), "[Sort Order]\r\n");
    write(path("media/STAMPS.INI"), "[Sort Order]\r\nLevel 1=3\r\n");
    ASSERT_TRUE(restore(SafekeepingGroup::Settings, path("media/OTHER.DBF")));
    // Beside the current collection, where the table of OTHER is restored too.
    EXPECT_TRUE(QFileInfo::exists(path("home/OTHER.INI")));
    EXPECT_FALSE(QFileInfo::exists(path("program/OTHER.INI")));
    EXPECT_FALSE(host_.calls.contains("reloadSettings"));
    ASSERT_TRUE(restore(SafekeepingGroup::Settings, path("media/STAMPS.DBF")));
    EXPECT_TRUE(host_.calls.contains("reloadSettings"));
    EXPECT_EQ(told_.last(), "Notice: Configuration File restored successfully.");
    EXPECT_FALSE(restore(SafekeepingGroup::Settings, path("media/NONE.DBF")));
    EXPECT_EQ(told_.last(),
              "Warning: The following file \"NONE.INI\" could not be located on the "
              "specified source drive.");
}

TEST_F(SafekeepingTest, ReportDefinitionsComeFromTheChosenFolder) {
    EXPECT_FALSE(restore(SafekeepingGroup::Reports, path("media/ANY.URP")));
    EXPECT_EQ(told_.last(),
              "Error: The Report Definitions file \"TESSELON.URP\" could not be  "
              "located on the specified source drive.");
    write(path("media/TESSELON.URP"), "layouts");
    ASSERT_TRUE(restore(SafekeepingGroup::Reports, path("media/ANY.URP")));
    EXPECT_EQ(read(path("program/TESSELON.URP")), "layouts");
    EXPECT_TRUE(host_.calls.contains("reportsRestored"));
    EXPECT_FALSE(backup(SafekeepingGroup::Reports, path("program")));
    EXPECT_TRUE(told_.last().endsWith("Please choose a different directory to backup to."));
}

TEST(SafeCopyTest, AFailedCopyKeepsTheOldFileAndLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString target = dir.path() + "/B.DBF";
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old backup");
    }
    EXPECT_EQ(copyFileSafely(dir.path() + "/missing.DBF", target), CopyOutcome::SourceUnreadable);
    EXPECT_EQ(copyFileSafely(target, dir.path() + "/no/such/folder/B.DBF"),
              CopyOutcome::DestinationUnwritable);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "old backup");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"B.DBF"});
}

TEST(SafeCopyTest, CopyThroughALinkReplacesTheFileItPointsTo) {
    QTemporaryDir dir;
    const QString real = dir.path() + "/real.DBF", link = dir.path() + "/link.DBF";
    const QString source = dir.path() + "/new.DBF";
    for (const QString& p : {real, source}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(p.toUtf8());
    }
    ASSERT_TRUE(QFile::link(real, link));
    // A leftover of a copy killed half-way is cleared by the next one.
    QFile(dir.path() + "/.real.DBF.tess-copy-abc123").open(QIODevice::WriteOnly);
    ASSERT_EQ(copyFileSafely(source, link), CopyOutcome::Copied);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    QFile f(real);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), source.toUtf8());
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/.real.DBF.tess-copy-abc123"));
    EXPECT_TRUE(sameFile(real, link));
    EXPECT_FALSE(sameFile(real, dir.path() + "/absent.DBF"));
}

}  // namespace
}  // namespace safekeeping
