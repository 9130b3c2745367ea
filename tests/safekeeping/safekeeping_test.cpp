// Backup and restore of the four file groups through a host that records what the program
// around them was asked to do.
#include "safekeeping/safekeeping.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "collection/collection_file.h"
#include "engine/table.h"
#include "safekeeping/safe_copy.h"

namespace safekeeping {
namespace {

struct FakeHost : SafekeepingHost {
    QString collection, programDir, expression;
    bool search = false;
    qint64 free = qint64(1) << 40;
    QStringList calls;

    QString currentCollection() const override { return collection; }
    QString programDirectory() const override { return programDir; }
    QString sortExpression() const override { return expression; }
    bool searchActive() const override { return search; }
    void endSearch() override { search = false, calls << "endSearch"; }
    void resumeSearch() override { search = true, calls << "resumeSearch"; }
    void closeTable() override { calls << "close"; }
    void reopenTable() override { calls << "reopen"; }
    void writeDataLists() override { calls << "writeLists"; }
    void reloadDataLists() override { calls << "reloadLists"; }
    void writeCollectionSettings() override { calls << "writeSettings"; }
    void reloadCollectionSettings() override { calls << "reloadSettings"; }
    void makeCurrent(const QString& path) override { collection = path, calls << "makeCurrent"; }
    void reportsRestored() override { calls << "reportsRestored"; }
    qint64 freeBytes(const QString&) override { return free; }
    void setBusy(bool) override {}
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

TEST_F(SafekeepingTest, FreeSpacePlusTheReplacedCopyMustCoverTheSource) {
    const qint64 size = QFileInfo(host_.collection).size();
    write(path("media/STAMPS.DBF"), QByteArray(100, 'x'));  // an older, smaller backup
    host_.free = size - 101;
    EXPECT_FALSE(backup(SafekeepingGroup::Table, path("media")));
    EXPECT_TRUE(told_.last().startsWith("Error: There is not enough room"));
    EXPECT_EQ(read(path("media/STAMPS.DBF")), QByteArray(100, 'x'));
    EXPECT_EQ(host_.calls.last(), "reopen");
    host_.free = size - 100;
    EXPECT_TRUE(backup(SafekeepingGroup::Table, path("media")));
    EXPECT_EQ(read(path("media/STAMPS.DBF")), read(host_.collection));
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
    host_.expression = "UPPER(COUNTRY)";
    ASSERT_TRUE(restore(SafekeepingGroup::Table, backupTable));
    EXPECT_EQ(told_, QStringList{"Notice: Restore completed successfully."});
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
        EXPECT_EQ(host_.calls, (QStringList{"close", "reopen"}));
    }
    EXPECT_EQ(read(host_.collection), before);
    EXPECT_TRUE(restore(SafekeepingGroup::Table, path("media/STAMPS.DBF")));
    EXPECT_EQ(read(host_.collection).size(), read(path("media/STAMPS.DBF")).size());
}

TEST_F(SafekeepingTest, SettingsOfAnotherCollectionAreCopiedWithoutReloading) {
    write(path("media/OTHER.INI"), "[Sort Order]\r\n");
    write(path("media/STAMPS.INI"), "[Sort Order]\r\nLevel 1=3\r\n");
    ASSERT_TRUE(restore(SafekeepingGroup::Settings, path("media/OTHER.DBF")));
    EXPECT_TRUE(QFileInfo::exists(path("program/OTHER.INI")));
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
