// The Import Format and import windows driven as the user drives them, through the scripted
// platform: the file dialogs, the first-line refusals, matching fields in the grid, the run and
// its messages, and the settings the windows keep.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "collection/collection_settings.h"
#include "engine/table.h"
#include "interchange/import_format.h"
#include "interchange/my_import.h"
#include "interchange_test_support.h"
#include "ui/scripted_platform.h"

namespace interchange::testing {
namespace {

class ImportWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        context_.table = &table_;
        context_.settings = &settings_;
        context_.lastImportFile = &lastFolder_;
        collection::applyDateFormat(7, false);
    }
    // Runs the Import Format window; `inImport` drives the import window when it comes up.
    void runImport(const std::string& source, std::function<void(TMyImport&)> inImport,
                   bool dbase = false) {
        platform_.queueFilePath(QString::fromStdString(source));
        platform_.queueModal([dbase](QDialog& d) {
            auto& format = dynamic_cast<TImportFormat&>(d);
            (dbase ? format.DBaseFile : format.AsciiFile)->click();
            format.FileButton->click();
        });
        platform_.queueModal([inImport](QDialog& d) { inImport(dynamic_cast<TMyImport&>(d)); });
        TImportFormat::ImportData(context_);
    }
    std::string field(const char* name) { return table_.text(table_.requireField(name)); }

    ui::ScriptedPlatform platform_;
    ui::ScopedPlatform installed_{platform_};
    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    engine::Table table_;
    collection::CollectionSettings settings_;
    QString lastFolder_;
    InterchangeContext context_;
};

TEST_F(ImportWindowTest, GridRowsDecideWhereValuesGoAndTheRunReportsCompletion) {
    const std::string src =
        scratch_.write("stamps.txt",
                       "\"Nr\",\"Land\",\"Skip\"\r\n\"A-1\",\"France\",\"x\"\r\n"
                       "\"A-2\",\"Spain\",\"y\"\r\n\r\n\"A-3\",\"Italy\",\"z\"\r\n");
    QString countShown;
    runImport(src, [&](TMyImport& w) {
        EXPECT_EQ(w.windowTitle(), "Ascii Delimited Text Import");
        QTableWidget* grid = w.ImportGrid;
        ASSERT_EQ(grid->rowCount(), 25);
        EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "TESSERA FIELDS");
        EXPECT_EQ(grid->item(0, 0)->text(), "Alpha Catalog");
        EXPECT_EQ(grid->item(1, 1)->text(), "Land");
        EXPECT_EQ(grid->item(3, 1)->text(), "<EMPTY>");
        EXPECT_EQ(grid->item(3, 2)->text(), "");
        // "Land" down to row 3 (Country); "Skip" toggled to No; a blank USE cell stays blank.
        grid->setCurrentCell(1, 1);
        w.DownButton->click();
        EXPECT_EQ(grid->item(2, 1)->text(), "Land");
        EXPECT_EQ(grid->currentRow(), 2);
        w.ImportGridDblClick(1, 2);
        EXPECT_EQ(grid->item(1, 1)->text(), "Skip");
        EXPECT_EQ(grid->item(1, 2)->text(), "No");
        w.ImportGridDblClick(5, 2);
        EXPECT_EQ(grid->item(5, 2)->text(), "");
        grid->setCurrentCell(0, 1);
        w.UpButton->click();  // nothing above row 1
        EXPECT_EQ(grid->item(0, 1)->text(), "Nr");
        w.StartButton->click();
        countShown = w.CountBox->text();
    });
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Ok: Import Complete."});
    EXPECT_EQ(countShown, "3");
    EXPECT_EQ(rows(table_).size(), 3u);
    table_.first();
    EXPECT_EQ(field("Catalog"), "A-1");
    EXPECT_EQ(field("Country"), "France");
    EXPECT_EQ(field("Descriptio"), "");
    EXPECT_EQ(lastFolder_.toStdString(), scratch_.file("").substr(0, scratch_.file("").size() - 1));
    EXPECT_EQ(platform_.modals().size(), 2u);
}

TEST_F(ImportWindowTest, SkipFirstIsASettingChangedAtOnce) {
    settings_.importOptions.firstRow = false;
    const std::string src = scratch_.write("s.txt", "\"Title\"\r\n\"Value\"\r\n");
    runImport(src, [&](TMyImport& w) {
        EXPECT_FALSE(w.SkipFirst->isChecked());
        w.ExitButton->click();
    });
    EXPECT_EQ(rows(table_).size(), 0u);  // Exit imports nothing
    runImport(src, [&](TMyImport& w) {
        w.SkipFirst->click();
        EXPECT_TRUE(settings_.importOptions.firstRow);
        w.SkipFirst->click();
        w.StartButton->click();
    });
    EXPECT_EQ(rows(table_).size(), 2u);  // the title line is data too
    EXPECT_FALSE(settings_.importOptions.firstRow);
}

TEST_F(ImportWindowTest, AFirstLineThatFailsIsRefusedAndTheWindowStays) {
    const std::string bad = scratch_.write("bad.txt", "\"a\",\"b\r\n");
    const std::string good = scratch_.write("good.txt", "\"a\"\r\n\"b\"\r\n");
    platform_.queueFilePath(QString::fromStdString(bad));
    platform_.queueFilePath(QString::fromStdString(good));
    platform_.queueModal([](QDialog& d) {
        auto& format = dynamic_cast<TImportFormat&>(d);
        format.FileButton->click();
        EXPECT_TRUE(format.isVisible());
        format.FileButton->click();
    });
    platform_.queueModal([](QDialog& d) { dynamic_cast<TMyImport&>(d).StartButton->click(); });
    TImportFormat::ImportData(context_);
    ASSERT_EQ(platform_.boxes().size(), 2u);
    EXPECT_EQ(platform_.boxes()[0].title, "Error");
    EXPECT_EQ(platform_.boxes()[0].text, TImportFormat::firstLineMessage(2));
    EXPECT_TRUE(platform_.boxes()[0].text.endsWith(
        "separated by a comma.  The selected file had an unexpected end of a line most likely "
        "due to an unmatched quote."));
    EXPECT_EQ(rows(table_).size(), 1u);
    EXPECT_EQ(platform_.fileDialogs()[0].request.title, "Import Data");
}

TEST_F(ImportWindowTest, DbaseSourcesNeedTheDbfEndingAndShowTheirFieldNames) {
    const std::string src = scratch_.file("SOURCE.DBF");
    engine::Table::create(src, {{"LAND", engine::FieldType::Character, 20, 0},
                                {"NUMMER", engine::FieldType::Character, 12, 0}});
    {
        engine::Table s;
        s.open(src, engine::OpenMode::Exclusive);
        s.append();
        s.setText(0, "Schweiz");
        s.setText(1, "B-2");
        s.post();
    }
    const std::string renamed = scratch_.file("source.tab");
    QFile::copy(QString::fromStdString(src), QString::fromStdString(renamed));
    platform_.queueFilePath(QString::fromStdString(renamed));
    platform_.queueModal([](QDialog& d) {
        auto& format = dynamic_cast<TImportFormat&>(d);
        format.DBaseFile->click();
        format.FileButton->click();
    });
    TImportFormat::ImportData(context_);
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Error: Invalid file type selected."});
    EXPECT_EQ(settings_.importOptions.fileType, 2);  // the kind selected is remembered

    platform_.clearRecords();
    platform_.queueFilePath(QString::fromStdString(src));
    platform_.queueModal([](QDialog& d) { dynamic_cast<TImportFormat&>(d).FileButton->click(); });
    platform_.queueModal([](QDialog& d) {
        auto& w = dynamic_cast<TMyImport&>(d);
        EXPECT_EQ(w.windowTitle(), "DBase File Import");
        EXPECT_FALSE(w.SkipFirst->isVisible());
        EXPECT_EQ(w.ImportGrid->item(0, 1)->text(), "LAND");
        w.ImportGrid->setCurrentCell(0, 1);
        w.DownButton->click();
        w.DownButton->click();  // LAND to Country; NUMMER moved up to Alpha Catalog
        w.StartButton->click();
    });
    TImportFormat::ImportData(context_);
    table_.first();
    EXPECT_EQ(field("Country"), "Schweiz");
    EXPECT_EQ(field("Catalog"), "B-2");
}

TEST_F(ImportWindowTest, TheCompletionMessageCountsValuesStoredWithStandIns) {
    const std::string src = scratch_.write("pl.txt",
                                           "\"\xC5\x81\xC3\xB3"
                                           "d\xC5\xBA\"\r\n");
    settings_.importOptions.firstRow = false;
    runImport(src, [](TMyImport& w) { w.StartButton->click(); });
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{"Ok: Import Complete.  1 values held characters this collection cannot "
                          "store; a stand-in character took their place."});
}

TEST_F(ImportWindowTest, HelpOpensAtImportWindow) {
    TMyImport w(context_, 1, QString(), {"a"});
    w.HelpButton->click();
    ASSERT_EQ(platform_.helpRequests().size(), 1u);
    EXPECT_EQ(platform_.helpRequests()[0].keyword, "Import Window");
}

}  // namespace
}  // namespace interchange::testing
