// The main window's Back Up and Restore commands through their windows.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app_test_env.h"
#include "collection/profile_file.h"
#include "engine/table.h"
#include "safekeeping/my_backup.h"
#include "safekeeping/my_restore.h"
#include "ui/window_colors.h"

namespace app::testing {
namespace {

class SafekeepingFlowTest : public AppTest {
  protected:
    QString media() {
        QDir().mkpath(path(QStringLiteral("media")));
        return path(QStringLiteral("media"));
    }
    QString countText() { return main_->findChild<QLabel*>(QStringLiteral("CountLabel"))->text(); }
    // Restores `group` from `chosen` through the Restore window.
    void restore(TMain& w, const char* radio, const QString& chosen) {
        platform_.queueModal([&](QDialog& d) {
            d.findChild<QRadioButton*>(QLatin1String(radio))->setChecked(true);
            platform_.queueFilePath(chosen);
            d.findChild<QPushButton*>(QStringLiteral("StartButton"))->click();
        });
        w.DoRestore();
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
};

// The headings of both windows, in the Major Title colour of the configure set.
TEST_F(SafekeepingFlowTest, BothWindowsShowTheirHeadingsInTheMajorTitleColour) {
    makeCollection(masterPath());
    setCollectionKey(masterPath(), QStringLiteral("Configure Window Color"),
                     QStringLiteral("Major Title"), QStringLiteral("255"));
    TMain& w = start();
    QStringList seen;
    auto headings = [&](QDialog& d) {
        for (const char* name : {"WhatHeading", "WhereHeading"}) {
            auto* label = d.findChild<QLabel*>(QLatin1String(name));
            if (!label) continue;
            seen << label->text();
            EXPECT_TRUE(label->isVisibleTo(&d));
            // Red reads at 2.2:1 on the default silver: it is drawn in the legible shade of red.
            EXPECT_EQ(label->palette().color(QPalette::WindowText),
                      ui::legibleOn(QColor(192, 192, 192), Qt::red))
                << name;
            EXPECT_EQ(ui::legibleOn(QColor(192, 192, 192), Qt::red).hue(), QColor(Qt::red).hue());
        }
    };
    platform_.queueModal(headings);
    w.DoBackup();
    platform_.queueModal(headings);
    w.DoRestore();
    EXPECT_EQ(seen, (QStringList{"What To Back Up", "Where To Back Up To", "What To Restore"}));
}

// With ~/Mine.DBF open, the table restored from Mine.DBF goes over ~/Mine.DBF itself: reopening
// it by name shows the stamps of the backup.
TEST_F(SafekeepingFlowTest, RestoredTableReplacesTheOpenCollectionsOwnFile) {
    QDir().mkpath(path(QStringLiteral("home")));
    const QString mine = path(QStringLiteral("home/Mine.DBF"));
    makeCollection(mine, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    const QString backup = media() + QStringLiteral("/Mine.DBF");
    ASSERT_TRUE(QFile::copy(mine, backup));
    makeCollection(mine, {QStringLiteral("A"), QStringLiteral("B")});  // a stamp lost since
    TMain& w = start({mine});
    ASSERT_EQ(w.currentCollection(), mine);
    restore(w, "DatabaseRadio", backup);
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{"Notice: Restore completed successfully.  The table was restored to \"" +
                          mine + "\"."});
    EXPECT_EQ(w.currentCollection(), mine);
    EXPECT_EQ(w.MyTable.recordCount(), 3u);
    EXPECT_FALSE(QFileInfo::exists(programDir() + QStringLiteral("/Mine.DBF")));
    main_.reset();
    EXPECT_EQ(start({mine}).MyTable.recordCount(), 3u);
}

// Settings and lists restored for a collection, then its table: the restored table reads them,
// and leaving the program writes them back as they are, not the previous collection's.
TEST_F(SafekeepingFlowTest, RestoredTableKeepsItsRestoredSettingsAndLists) {
    makeCollection(masterPath(), {QStringLiteral("A")});
    write(programDir() + QStringLiteral("/MASTER.001"), "Germany\r\n");
    const QString backup = media() + QStringLiteral("/stamps.DBF");
    makeCollection(backup, {QStringLiteral("X"), QStringLiteral("Y")});
    write(media() + QStringLiteral("/stamps.INI"), "[Field Names]\r\nCountry=Land\r\n");
    write(programDir() + QStringLiteral("/stamps.001"), "Atlantis\r\n");
    TMain& w = start();
    restore(w, "ConfigRadio", backup);
    restore(w, "DatabaseRadio", backup);
    EXPECT_EQ(w.currentCollection(), programDir() + QStringLiteral("/stamps.DBF"));
    EXPECT_EQ(w.collectionSettings().field(3).label, QStringLiteral("Land"));
    w.close();
    const collection::ProfileFile settings(programDir() + QStringLiteral("/stamps.INI"));
    EXPECT_EQ(settings.read(QStringLiteral("Field Names"), QStringLiteral("Country"), {}),
              QStringLiteral("Land"));
    EXPECT_TRUE(read(programDir() + QStringLiteral("/stamps.001")).startsWith("Atlantis"));
    EXPECT_TRUE(read(programDir() + QStringLiteral("/MASTER.001")).startsWith("Germany"));
}

TEST_F(SafekeepingFlowTest, BackUpTheTableToAFolderThenCloseTurnsUp) {
    makeCollection(masterPath(), {QStringLiteral("A"), QStringLiteral("B")});
    TMain& w = start();
    const QString folder = media();
    QString cancelCaption;
    platform_.queueModal([&](QDialog& d) {
        auto& backup = dynamic_cast<safekeeping::TMyBackup&>(d);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Backup"));
        EXPECT_TRUE(backup.findChild<QRadioButton*>(QStringLiteral("DatabaseRadio"))->isChecked());
        backup.selectFolder(folder);
        EXPECT_EQ(backup.selectedFolder(), folder);
        backup.StartButton->click();
        cancelCaption = backup.CancelButton->text();
        backup.HelpButton->click();
    });
    w.DoBackup();
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Notice: Backup completed successfully."});
    EXPECT_EQ(cancelCaption, QStringLiteral("&Close"));
    ASSERT_EQ(platform_.helpRequests().size(), 1u);
    EXPECT_EQ(platform_.helpRequests()[0].keyword, QStringLiteral("Backup and Restore"));
    engine::Table copy;
    copy.open((folder + QStringLiteral("/MASTER.DBF")).toStdString(), engine::OpenMode::Shared);
    EXPECT_EQ(copy.recordCount(), 2u);
    EXPECT_TRUE(w.MyTable.isOpen());
}

TEST_F(SafekeepingFlowTest, RestoredTableBecomesTheCurrentCollection) {
    makeCollection(masterPath(), {QStringLiteral("A")});
    const QString backup = media() + QStringLiteral("/SPAIN.DBF");
    makeCollection(backup, {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    TMain& w = start();
    platform_.queueModal([&](QDialog& d) {
        platform_.queueFilePath(backup);
        d.findChild<QPushButton*>(QStringLiteral("StartButton"))->click();
    });
    w.DoRestore();
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{"Notice: Restore completed successfully.  The table was restored to \"" +
                          programDir() + "/SPAIN.DBF\"."});
    ASSERT_EQ(platform_.fileDialogs().size(), 1u);
    EXPECT_EQ(platform_.fileDialogs()[0].request.title, QStringLiteral("Restore Database File"));
    EXPECT_EQ(w.currentCollection(), programDir() + QStringLiteral("/SPAIN.DBF"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (SPAIN)"));
    EXPECT_EQ(w.MyTable.recordCount(), 3u);
    EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
    EXPECT_TRUE(QFileInfo::exists(programDir() + QStringLiteral("/SPAIN.MDX")));
}

TEST_F(SafekeepingFlowTest, CancelledRestoreDialogChangesNothing) {
    makeCollection(masterPath(), {QStringLiteral("A")});
    TMain& w = start();
    platform_.queueModal([&](QDialog& d) {
        d.findChild<QRadioButton*>(QStringLiteral("ReportsRadio"))->setChecked(true);
        platform_.queueFilePath(QString());
        d.findChild<QPushButton*>(QStringLiteral("StartButton"))->click();
        EXPECT_EQ(d.findChild<QPushButton*>(QStringLiteral("CancelButton"))->text(),
                  QStringLiteral("&Cancel"));
    });
    w.DoRestore();
    EXPECT_TRUE(platform_.boxes().empty());
    ASSERT_EQ(platform_.fileDialogs().size(), 1u);
    EXPECT_EQ(platform_.fileDialogs()[0].request.title, QStringLiteral("Restore URP File"));
    EXPECT_EQ(platform_.fileDialogs()[0].request.initialPath, QStringLiteral("TESSELON.URP"));
    EXPECT_EQ(w.currentCollection(), masterPath());
}

}  // namespace
}  // namespace app::testing
