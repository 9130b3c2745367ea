// The Export window driven through the scripted platform: the grid's order and choices and where
// they are kept, Defaults, the scope against the search state, the title line, and the messages.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "collection/collection_settings.h"
#include "engine/table.h"
#include "interchange/my_export.h"
#include "interchange_test_support.h"
#include "ui/scripted_platform.h"

namespace interchange::testing {
namespace {

class ExportWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        for (const char* country : {"Spain", "Austria", "France"}) {
            table_.append();
            table_.setText(table_.requireField("Country"), country);
            table_.setText(table_.requireField("Catalog"), std::string("C-") + country);
            table_.post();
        }
        context_.table = &table_;
        context_.settings = &settings_;
        context_.displayLabel = [this](int field) { return settings_.field(field).label; };
        context_.suspendViewer = [this](bool on) { suspended_.push_back(on); };
    }
    // Shows the window, lets `drive` work in it.
    void run(std::function<void(TMyExport&)> drive) {
        platform_.queueModal([drive](QDialog& d) { drive(dynamic_cast<TMyExport&>(d)); });
        TMyExport::ExportData(context_);
    }
    // Only the first two fields written.
    static void keepFirstTwo(TMyExport& w) {
        for (int r = 2; r < 25; ++r) w.ExportGridDblClick(r, 1);
    }

    ui::ScriptedPlatform platform_;
    ui::ScopedPlatform installed_{platform_};
    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    std::string out_ = scratch_.file("out.txt");
    engine::Table table_;
    collection::CollectionSettings settings_;
    InterchangeContext context_;
    std::vector<bool> suspended_;
};

TEST_F(ExportWindowTest, MovedFieldsAreWrittenInTheirNewPlaceAndKeptForNextTime) {
    platform_.queueFilePath(QString::fromStdString(out_));
    run([&](TMyExport& w) {
        EXPECT_EQ(w.ExportGrid->item(0, 0)->text(), "Alpha Catalog");
        EXPECT_TRUE(w.ExportEntire->isChecked());
        EXPECT_FALSE(w.ExportSearch->isEnabled());
        keepFirstTwo(w);
        w.ExportGrid->setCurrentCell(1, 0);
        w.UpButton->click();  // Description before Alpha Catalog
        w.ExportGrid->setCurrentCell(2, 0);
        w.UpButton->click();         // Country (not written) before Alpha Catalog
        w.ExportGridDblClick(1, 1);  // ... and now written
        w.StartExportButton->click();
    });
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Ok: Export Complete."});
    EXPECT_EQ(readBytes(out_),
              "\"Description\",\"Country\",\"Alpha Catalog\"\r\n"
              "\"\",\"Spain\",\"C-Spain\"\r\n\"\",\"Austria\",\"C-Austria\"\r\n"
              "\"\",\"France\",\"C-France\"\r\n");
    EXPECT_EQ(settings_.field(2).exportOrder, 1);
    EXPECT_EQ(settings_.field(3).exportOrder, 2);
    EXPECT_TRUE(settings_.field(3).exported);
    EXPECT_FALSE(settings_.field(4).exported);
    EXPECT_EQ(suspended_, (std::vector<bool>{true, false}));
    EXPECT_EQ(platform_.fileDialogs()[0].request.title, "Export Data");
    EXPECT_TRUE(platform_.fileDialogs()[0].request.flags & ui::PromptOverwrite);
    run([&](TMyExport& w) {
        EXPECT_EQ(w.ExportGrid->item(0, 0)->text(), "Description");
        EXPECT_EQ(w.ExportGrid->item(1, 1)->text(), "Yes");
        EXPECT_EQ(w.ExportGrid->item(3, 1)->text(), "No");
        w.ExitButton->click();
    });
}

TEST_F(ExportWindowTest, DefaultsAskFirstAndNoChangesNothing) {
    settings_.field(1).exportOrder = 2;
    settings_.field(2).exportOrder = 1;
    settings_.field(5).exported = false;
    platform_.queueAnswer(ui::MessageAnswer::No);
    platform_.queueAnswer(ui::MessageAnswer::Yes);
    run([&](TMyExport& w) {
        w.DefaultsButton->click();
        EXPECT_EQ(w.ExportGrid->item(0, 0)->text(), "Description");
        w.DefaultsButton->click();
        EXPECT_EQ(w.ExportGrid->item(0, 0)->text(), "Alpha Catalog");
        EXPECT_EQ(w.ExportGrid->item(4, 1)->text(), "Yes");
    });
    ASSERT_EQ(platform_.boxes().size(), 2u);
    EXPECT_EQ(platform_.boxes()[0].title, "Re-Order");
    EXPECT_EQ(platform_.boxes()[0].text,
              "This will set the order of fields to the program defaults.  Continue?");
    EXPECT_EQ(settings_.field(1).exportOrder, 1);  // closing stored the grid
}

TEST_F(ExportWindowTest, TheSearchResultIsWhatTheSearchShows) {
    context_.searchActive = true;
    context_.searchFilter = [](const engine::RecordView& r) { return r.text(2) != "Spain"; };
    settings_.exportOptions.firstRow = false;
    platform_.queueFilePath(QString::fromStdString(out_));
    run([&](TMyExport& w) {
        EXPECT_TRUE(w.ExportSearch->isEnabled());
        EXPECT_TRUE(w.ExportSearch->isChecked());
        EXPECT_FALSE(w.FirstRow->isChecked());
        keepFirstTwo(w);
        w.StartExportButton->click();
    });
    EXPECT_EQ(readBytes(out_), "\"C-Austria\",\"\"\r\n\"C-France\",\"\"\r\n");
    // The whole collection while the search runs: every record; the main table keeps no filter
    // of ours (it never had one here) and its records are untouched.
    platform_.queueFilePath(QString::fromStdString(out_));
    run([&](TMyExport& w) {
        w.ExportEntire->click();
        EXPECT_FALSE(w.ExportSearch->isChecked());
        w.StartExportButton->click();
    });
    EXPECT_EQ(readBytes(out_), "\"C-Spain\",\"\"\r\n\"C-Austria\",\"\"\r\n\"C-France\",\"\"\r\n");
    EXPECT_EQ(table_.recordCount(), 3u);
}

TEST_F(ExportWindowTest, RefusalsLeaveTheWindowOpen) {
    platform_.queueFilePath(scratch_.file("out.txt").c_str());
    run([&](TMyExport& w) {
        for (int r = 0; r < 25; ++r) w.ExportGridDblClick(r, 1);
        w.StartExportButton->click();  // nothing selected
        w.ExportGridDblClick(0, 1);
        w.DBaseFile->click();
        EXPECT_FALSE(w.FirstRow->isVisible());
        w.StartExportButton->click();  // a name without .DBF
        EXPECT_TRUE(w.isVisible());
        w.ExitButton->click();
    });
    EXPECT_EQ(platform_.boxSummary(), (QStringList{"Error: No fields selected for export.",
                                                   "Error: Invalid file type selected."}));
    EXPECT_EQ(settings_.exportOptions.fileType, 2);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out_)));
}

TEST_F(ExportWindowTest, AnEmptySearchResultWritesOnlyTheTitles) {
    context_.searchActive = true;
    context_.searchFilter = [](const engine::RecordView&) { return false; };
    platform_.queueFilePath(QString::fromStdString(out_));
    run([&](TMyExport& w) {
        keepFirstTwo(w);
        w.StartExportButton->click();
    });
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Ok: Export Complete."});
    EXPECT_EQ(readBytes(out_), "\"Alpha Catalog\",\"Description\"\r\n");
}

TEST_F(ExportWindowTest, ADbaseExportWritesANewTable) {
    const std::string target = scratch_.file("OUT.DBF");
    platform_.queueFilePath(QString::fromStdString(target));
    settings_.exportOptions.fileType = 2;
    run([&](TMyExport& w) {
        EXPECT_TRUE(w.DBaseFile->isChecked());
        keepFirstTwo(w);
        w.StartExportButton->click();
    });
    engine::Table t;
    t.open(target, engine::OpenMode::Shared);
    EXPECT_EQ(rows(t), (std::vector<std::string>{"C-Spain|", "C-Austria|", "C-France|"}));
}

}  // namespace
}  // namespace interchange::testing
