// Import and Export from the main window: the speed buttons and menu items open the windows, an
// import shows its records in the count at once, and an export of a search result writes only
// those records while the search stays in force.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app_test_env.h"
#include "import_driver.h"
#include "interchange/import_format.h"
#include "interchange/my_export.h"
#include "interchange/my_import.h"

namespace app::testing {
namespace {

using InterchangeFlowTest = AppTest;

QString countText(TMain& w) {
    return w.findChild<QLabel*>(QStringLiteral("CountLabel"))->text();
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(InterchangeFlowTest, ImportSpeedButtonAddsTheRecordsAndTheCountShowsThem) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = start();
    queueTextImport(platform_, path(QStringLiteral("three.txt")), "\"B1\"\r\n\"B2\"\r\n\"B3\"\r\n");
    trigger("ImportSpeed");
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Ok: Import Complete."});
    EXPECT_EQ(countText(w), QStringLiteral("4"));
    EXPECT_FALSE(w.collectionSettings().importOptions.firstRow);
}

TEST_F(InterchangeFlowTest, ExportOfASearchResultWritesOnlyItsRecordsAndTheSearchStays) {
    makeCollection(masterPath(),
                   {QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("A3")});
    TMain& w = start();
    w.SetViewerOptions();
    w.setSearchCriteria([](const engine::RecordView& r) { return r.text(0).starts_with("A"); });
    w.EnableEndSearch();
    w.DisplayCount();
    ASSERT_EQ(countText(w), QStringLiteral("2"));
    const QString out = path(QStringLiteral("result.txt"));
    platform_.queueFilePath(out);
    platform_.queueModal([](QDialog& d) {
        auto& e = dynamic_cast<interchange::TMyExport&>(d);
        EXPECT_TRUE(e.ExportSearch->isChecked());
        for (int r = 1; r < 25; ++r) e.ExportGridDblClick(r, 1);  // Alpha Catalog only
        e.StartExportButton->click();
    });
    trigger("MenuExport");
    EXPECT_EQ(platform_.boxSummary(), QStringList{"Ok: Export Complete."});
    EXPECT_EQ(fileBytes(out), QByteArray("\"Alpha Catalog\"\r\n\"A1\"\r\n\"A3\"\r\n"));
    EXPECT_TRUE(w.searchActive());
    EXPECT_EQ(countText(w), QStringLiteral("2"));
}

}  // namespace
}  // namespace app::testing
