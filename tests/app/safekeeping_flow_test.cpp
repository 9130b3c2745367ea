// The main window's Back Up and Restore commands through their windows.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app_test_env.h"
#include "engine/table.h"
#include "safekeeping/my_backup.h"

namespace app::testing {
namespace {

class SafekeepingFlowTest : public AppTest {
  protected:
    QString media() {
        QDir().mkpath(path(QStringLiteral("media")));
        return path(QStringLiteral("media"));
    }
    QString countText() { return main_->findChild<QLabel*>(QStringLiteral("CountLabel"))->text(); }
};

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
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Notice: Restore completed successfully."});
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
