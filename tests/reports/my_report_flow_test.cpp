// The Reports window, its status window and the printer selection, driven offscreen through the
// scripted platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "pictures/picture_store.h"
#include "report_test_collection.h"
#include "reports/album_window.h"
#include "reports/my_preview.h"
#include "reports/my_report.h"
#include "reports/print_select.h"
#include "reports/printer_choice.h"
#include "reports/report_file.h"
#include "reports/report_form.h"
#include "ui/scripted_platform.h"

using namespace report_testing;
using namespace reports;

namespace {

class MyReportFlowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureReportFile(program.path());
        // The status window runs its report when the scripted platform shows it; the preview
        // is only looked at.
        platform.setDefaultModal([this](QDialog& d) {
            if (auto* form = qobject_cast<TReportForm*>(&d)) {
                form->FormActivate();
                status = form->StatusLabel->text();
                form->BitBtn1Click();
            } else if (auto* viewer = qobject_cast<TMyPreview*>(&d)) {
                viewerPages = viewer->PageLabel->text();
            }
        });
    }

    ReportContext context() {
        ReportContext c;
        c.programDirectory = program.path();
        c.table = &stamps.table;
        c.settings = &settings;
        c.sortLevels = {3, 0, 0, 0};
        for (const QString& label : defaultFieldLabels()) c.labels << label;
        c.labels[2] = QStringLiteral("Land");
        c.searchActive = [this] { return search; };
        c.endSearch = [this] {
            search = false;
            ++ended;
        };
        c.restoreSearch = [this] {
            search = true;
            ++restored;
        };
        return c;
    }

    QTemporaryDir program;
    ReportCollection stamps{sixStamps()};
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform scoped{platform};
    collection::ReportSettings settings;
    bool search = false;
    int ended = 0, restored = 0;
    QString status, viewerPages;
};

}  // namespace

TEST_F(MyReportFlowTest, ShowsTheReportsTheRememberedOneAndTheSortOrder) {
    settings.lastReport = 2;
    TMyReport window(context());
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Reports"));
    ASSERT_EQ(window.ReportBox->count(), 6);
    EXPECT_EQ(window.ReportBox->item(2)->text(), QStringLiteral("Full Report"));
    EXPECT_EQ(window.selectedReport(), 2);
    EXPECT_EQ(window.SortOrderLabel->text(), QStringLiteral("Land"));
    // No search in force: only the entire collection can be printed.
    EXPECT_TRUE(window.ExportEntire->isChecked());
    EXPECT_FALSE(window.ExportSearch->isEnabled());
    window.ReportBox->setCurrentRow(4);
    window.close();
    EXPECT_EQ(settings.lastReport, 4);
}

TEST_F(MyReportFlowTest, PrintToFileRunsTheReportAndReportsCompletion) {
    TMyReport window(context());
    window.show();
    window.ReportBox->setCurrentRow(0);
    const QString out = program.filePath(QStringLiteral("LIST.TXT"));
    platform.queueFilePath(out);
    window.PrintFileButton->click();
    ASSERT_EQ(platform.fileDialogs().size(), 1u);
    EXPECT_EQ(platform.fileDialogs()[0].request.title,
              QStringLiteral("Save Report As a Text File"));
    EXPECT_EQ(status, QStringLiteral("\nReport Completed!"));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("GRAND TOTALS"));
    EXPECT_TRUE(text.contains("Coat of arms"));
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(MyReportFlowTest, RefusesWithoutAReportOrAReadableFile) {
    TMyReport window(context());
    window.show();
    window.ReportBox->clearSelection();
    window.ReportBox->setCurrentRow(-1);
    window.ViewButton->click();
    window.ModifyButton->click();
    ASSERT_EQ(platform.boxes().size(), 2u);
    for (const ui::ShownBox& box : platform.boxes()) {
        EXPECT_EQ(box.title, QStringLiteral("Error"));
        EXPECT_EQ(box.text, kNoReportSelected);
        EXPECT_TRUE(box.beeped);
    }
    window.ReportBox->setCurrentRow(1);
    QFile::remove(ReportFile::inFolder(program.path()).path());
    window.PrintButton->click();
    EXPECT_EQ(platform.boxes().back().text, kReportNotFound);
}

TEST_F(MyReportFlowTest, ViewShowsThePagesUnlessCanceled) {
    TMyReport window(context());
    window.show();
    window.ReportBox->setCurrentRow(0);
    window.ViewButton->click();
    EXPECT_EQ(viewerPages, QStringLiteral("Page 1 of 1"));

    viewerPages.clear();
    platform.queueModal([this](QDialog& d) {
        auto& form = static_cast<TReportForm&>(d);
        form.BitBtn1Click();  // Cancel before the first page
        form.FormActivate();
        status = form.StatusLabel->text();
    });
    window.ViewButton->click();
    EXPECT_EQ(status, QStringLiteral("\nReport Canceled!"));
    EXPECT_TRUE(viewerPages.isEmpty());
}

TEST_F(MyReportFlowTest, PrintingTheEntireCollectionDuringASearchRestoresTheSearch) {
    search = true;
    TMyReport window(context());
    window.show();
    EXPECT_TRUE(window.ExportSearch->isChecked());
    window.ReportBox->setCurrentRow(0);
    platform.queueFilePath(program.filePath(QStringLiteral("A.TXT")));
    window.DoPrintToFile();
    EXPECT_EQ(ended, 0);  // the search result was printed

    window.ExportEntire->setChecked(true);
    platform.queueFilePath(program.filePath(QStringLiteral("B.TXT")));
    window.DoPrintToFile();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(restored, 1);
    EXPECT_TRUE(search);
}

TEST_F(MyReportFlowTest, PrintWithoutAnyPrinterSaysSoAndPdfFileWritesAPdf) {
    platform.setPrinters({}, 0);
    TMyReport window(context());
    window.show();
    window.ReportBox->setCurrentRow(0);
    window.PrintButton->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].text, kNoPrinterMessage);

    // Printer Setup: "Other Printer", the PDF entry.
    platform.queueModal([](QDialog& d) {
        auto& select = static_cast<TPrintSelect&>(d);
        EXPECT_EQ(select.windowTitle(), QStringLiteral("Printer Selection"));
        EXPECT_TRUE(select.DefaultPrinter->isChecked());
        ASSERT_EQ(select.PrinterList->count(), 1);
        select.OtherPrinter->setChecked(true);
        select.PrinterList->setCurrentIndex(0);
        select.OkButton->click();
    });
    window.DoPrinterSetup();
    EXPECT_FALSE(settings.defaultPrinter);
    EXPECT_EQ(settings.printerIndex, 0);

    const QString pdf = program.filePath(QStringLiteral("OUT.PDF"));
    platform.queueFilePath(pdf);
    window.PrintButton->click();
    EXPECT_EQ(status, QStringLiteral("\nReport Completed!"));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
}

TEST_F(MyReportFlowTest, ResolvesTheRememberedPrinter) {
    const QStringList names = {"Laser", "Inkjet", ui::kPdfPrinterName};
    EXPECT_EQ(resolvePrinter(names, 1, true, 0).name, QStringLiteral("Inkjet"));
    EXPECT_EQ(resolvePrinter(names, 2, true, 0).name, QStringLiteral("Laser"));  // no default
    EXPECT_EQ(resolvePrinter(names, 1, false, 0).name, QStringLiteral("Laser"));
    EXPECT_EQ(resolvePrinter(names, 1, false, 2).kind, PrinterChoice::PdfFile);
    EXPECT_EQ(resolvePrinter(names, 1, false, 9).name, QStringLiteral("Inkjet"));  // gone
    EXPECT_EQ(resolvePrinter({ui::kPdfPrinterName}, 0, true, 0).kind, PrinterChoice::NoPrinter);
}

TEST_F(MyReportFlowTest, HelpAndTheDesignerCommands) {
    TMyReport window(context());
    window.show();
    window.HelpButton->click();
    ASSERT_EQ(platform.helpRequests().size(), 1u);
    EXPECT_EQ(platform.helpRequests()[0].keyword, QStringLiteral("Report Window"));
    window.ReportBox->setCurrentRow(1);
    window.NewButton->click();
    EXPECT_EQ(window.report(), newReportTemplate());
    window.ModifyButton->click();
    EXPECT_EQ(window.report().name, QStringLiteral("120 Column 2 Line Report"));
    // Both open the designer; closed without saving, the file and the list stay as they were.
    ASSERT_EQ(platform.modals().size(), 2u);
    EXPECT_EQ(platform.modals()[0].title, QStringLiteral("Report Definition"));
    EXPECT_EQ(platform.modals()[1].title, QStringLiteral("Report Definition"));
    EXPECT_TRUE(platform.boxSummary().isEmpty());
    EXPECT_EQ(window.ReportBox->count(), 6);
}

TEST_F(MyReportFlowTest, AlbumPagesAreViewedFromTheFileMenuOrRefusedWithoutPictures) {
    TMyReport window(context());
    QAction* album = window.findChild<QAction*>(QStringLiteral("MenuAlbum"));
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(album->text(), QStringLiteral("&Album Pages..."));

    const auto chooseView = [this](int perRow) {
        platform.queueModal([perRow](QDialog& d) {
            auto& options = dynamic_cast<TAlbumPages&>(d);
            options.PerRow->setValue(perRow);
            options.ViewButton->click();
        });
    };
    // No stamp has a picture: told so, nothing run.
    chooseView(2);
    album->trigger();
    ASSERT_FALSE(platform.boxes().empty());
    EXPECT_EQ(platform.boxes().back().text, kNoAlbumPictures);
    EXPECT_TRUE(viewerPages.isEmpty());

    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString file = stamps.file(QStringLiteral("a1.jpg"));
    ASSERT_TRUE(image.save(file, "JPG"));
    pictures::PictureStore(stamps.dbfPath()).add(4, {file}, pictures::Fingerprint());  // A1
    chooseView(2);
    album->trigger();
    EXPECT_EQ(status, QLatin1Char('\n') + kReportCompleted);
    EXPECT_EQ(viewerPages, QStringLiteral("Page 1 of 1"));
}
