// The Export and Import windows with pictures: "Pictures in Last Column" is offered for text
// files only and off until ticked; the file it writes comes back through the Import window,
// whose "Pictures" row takes the column, and the completion message counts the pictures.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "collection/collection_settings.h"
#include "engine/table.h"
#include "interchange/import_format.h"
#include "interchange/my_export.h"
#include "interchange/my_import.h"
#include "interchange_test_support.h"
#include "pictures/picture_store.h"
#include "ui/scripted_platform.h"
#include "../pictures/picture_files.h"

namespace interchange::testing {
namespace {

class PictureColumnWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const std::string& path : {collection_, copy_}) makeCollection(path);
        table_.open(collection_, engine::OpenMode::Shared);
        for (const char* country : {"Spain", "Chile"}) {
            table_.append();
            table_.setText(table_.requireField("Country"), country);
            table_.post();
        }
        const QString picture = pictures::testing::writePicture(
            QDir(QString::fromStdString(scratch_.file(""))), "front.png", Qt::red);
        pictures::PictureStore(QString::fromStdString(collection_))
            .add(2, {picture}, pictures::fingerprintOf(table_.record(2)));
        context_.table = &table_;
        context_.settings = &settings_;
        context_.displayLabel = [this](int field) { return settings_.field(field).label; };
    }

    ui::ScriptedPlatform platform_;
    ui::ScopedPlatform installed_{platform_};
    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    std::string copy_ = scratch_.file("COPY.DBF");
    std::string text_ = scratch_.file("out.txt");
    engine::Table table_;
    collection::CollectionSettings settings_;
    InterchangeContext context_;
};

TEST_F(PictureColumnWindowTest, ATickedTextExportComesBackWithItsPicturesThroughTheImportWindow) {
    platform_.queueFilePath(QString::fromStdString(text_));
    platform_.queueModal([](QDialog& d) {
        auto& w = dynamic_cast<TMyExport&>(d);
        EXPECT_EQ(w.PictureColumn->text(), "&Pictures in Last Column");
        EXPECT_FALSE(w.PictureColumn->isChecked());
        w.DBaseFile->click();
        EXPECT_TRUE(w.PictureColumn->isHidden());
        w.TellicoFile->click();
        EXPECT_TRUE(w.PictureColumn->isHidden());
        w.AsciiFile->click();
        EXPECT_FALSE(w.PictureColumn->isHidden());
        w.PictureColumn->click();
        for (int r = 3; r < 25; ++r) w.ExportGridDblClick(r, 1);  // three fields
        w.StartExportButton->click();
    });
    TMyExport::ExportData(context_);
    ASSERT_EQ(platform_.boxSummary(), QStringList{"Ok: Export Complete."});
    EXPECT_NE(readBytes(text_).find("\"Country\",\"Pictures\"\r\n"), std::string::npos);

    // Into the other collection: the "Pictures" column stands in the 26th row, used.
    engine::Table copy;
    copy.open(copy_, engine::OpenMode::Shared);
    context_.table = &copy;
    platform_.queueFilePath(QString::fromStdString(text_));
    platform_.queueModal([](QDialog& d) {
        auto& format = dynamic_cast<TImportFormat&>(d);
        format.AsciiFile->click();
        format.FileButton->click();
    });
    platform_.queueModal([](QDialog& d) {
        auto& w = dynamic_cast<TMyImport&>(d);
        w.SkipFirst->setChecked(true);
        QTableWidget* grid = w.ImportGrid;
        ASSERT_EQ(grid->rowCount(), 26);
        EXPECT_EQ(grid->item(25, 0)->text(), "Pictures");
        EXPECT_EQ(grid->item(25, 1)->text(), "Pictures");
        EXPECT_EQ(grid->item(25, 2)->text(), "Yes");
        EXPECT_EQ(grid->item(3, 1)->text(), "<EMPTY>");
        w.StartButton->click();
    });
    TImportFormat::ImportData(context_);
    EXPECT_EQ(platform_.boxSummary().last(), "Ok: Import Complete.  1 picture was added.");
    pictures::PictureStore store(QString::fromStdString(copy_));
    EXPECT_EQ(store.count(1), 0);
    ASSERT_EQ(store.count(2), 1);
    EXPECT_EQ(store.pictures(2)[0].originalName.right(4), ".png");
}

}  // namespace
}  // namespace interchange::testing
