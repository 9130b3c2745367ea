// Tellico files through the Import and Export windows: the third kind of source and target, the
// plan shown before the run, and the refusal of another collection type.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "collection/collection_settings.h"
#include "engine/table.h"
#include "interchange/import_format.h"
#include "interchange/my_export.h"
#include "interchange/tellico_import_window.h"
#include "interchange/tellico_reader.h"
#include "interchange_test_support.h"
#include "ui/scripted_platform.h"

namespace interchange::testing {
namespace {

std::string collectionOf(int type, const std::string& entries) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<tellico xmlns=\"http://periapsis.org/tellico/\" syntaxVersion=\"11\">\n"
           " <collection title=\"Album\" type=\"" +
           std::to_string(type) +
           "\">\n  <fields>\n   <field name=\"_default\" title=\"\" category=\"\" type=\"1\"/>\n"
           "  </fields>\n" +
           entries + " </collection>\n</tellico>\n";
}

class TellicoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        context_.table = &table_;
        context_.settings = &settings_;
    }
    // Picks the Tellico kind and `source` in the Import Format window; `inImport` drives the
    // Tellico Import window when it comes.
    void runImport(const std::string& source, std::function<void(TTellicoImport&)> inImport) {
        platform_.queueFilePath(QString::fromStdString(source));
        platform_.queueModal([](QDialog& d) {
            auto& format = dynamic_cast<TImportFormat&>(d);
            format.TellicoFile->click();
            format.FileButton->click();
        });
        if (inImport)
            platform_.queueModal(
                [inImport](QDialog& d) { inImport(dynamic_cast<TTellicoImport&>(d)); });
        TImportFormat::ImportData(context_);
    }

    ui::ScriptedPlatform platform_;
    ui::ScopedPlatform installed_{platform_};
    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    engine::Table table_;
    collection::CollectionSettings settings_;
    InterchangeContext context_;
};

TEST_F(TellicoWindowTest, AStampCollectionShowsWhereItsFieldsGoAndImports) {
    const std::string src = scratch_.write(
        "album.xml", collectionOf(9, "  <entry id=\"1\"><description>Penny Black</description>"
                                     "<location>Box 3</location></entry>\n"));
    QStringList plan;
    runImport(src, [&plan](TTellicoImport& w) {
        for (int i = 0; i < w.PlanList->count(); ++i) plan << w.PlanList->item(i)->text();
        w.StartButton->click();
    });
    EXPECT_TRUE(plan.contains(QString::fromUtf8("Description \u2192 Description"))) << plan.join("\n").toStdString();
    EXPECT_TRUE(plan.contains(QString::fromUtf8("Location \u2192 Miscellaneous (as \"Location: value\")")));
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Ok: Import Complete."});
    table_.first();
    EXPECT_EQ(table_.text(table_.requireField("Descriptio")), "Penny Black");
    EXPECT_EQ(table_.text(table_.requireField("Miscellane")), "Location: Box 3");
    EXPECT_EQ(settings_.importOptions.fileType, 3);
}

TEST_F(TellicoWindowTest, ABookCollectionIsRefusedNamingItsType) {
    runImport(scratch_.write("books.xml", collectionOf(2, "")), nullptr);
    ASSERT_EQ(platform_.boxSummary().size(), 1);
    EXPECT_TRUE(platform_.boxSummary()[0].startsWith(
        "Error: The Tellico file holds a Book Collection (collection type 2)"))
        << platform_.boxSummary()[0].toStdString();
    EXPECT_EQ(rows(table_).size(), 0u);
}

TEST_F(TellicoWindowTest, TheExportWindowWritesATellicoStampCollection) {
    table_.append();
    table_.setText(table_.requireField("Country"), "Chile");
    table_.post();
    const std::string out = scratch_.file("album.tc");
    platform_.queueFilePath(QString::fromStdString(out));
    platform_.queueModal([](QDialog& d) {
        auto& w = dynamic_cast<TMyExport&>(d);
        w.TellicoFile->click();
        EXPECT_FALSE(w.FirstRow->isVisible());
        w.StartExportButton->click();
    });
    TMyExport::ExportData(context_);
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Ok: Export Complete."});
    EXPECT_EQ(settings_.exportOptions.fileType, 3);
    tellico::TellicoReader reader(out);
    EXPECT_TRUE(reader.isZip());
    EXPECT_EQ(reader.title(), "STAMPS");
    tellico::Entry entry;
    ASSERT_TRUE(reader.nextEntry(entry));
    EXPECT_EQ(entry.first("country"), "Chile");
}

}  // namespace
}  // namespace interchange::testing
