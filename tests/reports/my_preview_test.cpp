// The preview window: page and zoom fields, zoom steps and bounds, the page range dialog,
// printing from the recorded pages, and the window's remembered bounds.
#include "reports/my_preview.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

#include "collection/profile_file.h"
#include "report_test_collection.h"
#include "reports/preview_page.h"
#include "reports/print_range.h"
#include "ui/scripted_platform.h"

using namespace report_testing;
using reports::TMyPreview;

namespace {

// `count` stamps of one country, numbered.
std::vector<StampRow> numberedStamps(int count) {
    static std::vector<std::string> names;
    names.clear();
    for (int i = 0; i < count; ++i) names.push_back("S" + std::to_string(1000 + i));
    std::vector<StampRow> rows;
    for (const std::string& name : names)
        rows.push_back({name.c_str(), "Austria", "1900", "1 c", "1", "2", "1", name.c_str()});
    return rows;
}

// A report recorded for the preview; `bodyPoints` large makes few records fit on a page.
class Recorded {
  public:
    Recorded(int stamps, int bodyPoints) : collection_(numberedStamps(stamps)) {
        reports::ReportDefinition definition = reports::defaultReports()[1];
        definition.font(reports::kBodyFont).size = bodyPoints;
        reports::ReportJob job(definition, collection_.table, collection_.settings(),
                               reports::letterPage());
        EXPECT_EQ(job.runToPages(pages), reports::RunResult::Completed);
    }
    QString file(const QString& name) const { return collection_.file(name); }

    reports::RecordedReport pages;

  private:
    ReportCollection collection_;
};

void type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(edit, &erase);
    for (QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &key);
    }
}

void pressEnter(QLineEdit* edit) {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
}

void leave(QLineEdit* edit) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
}

// Pages in a PDF file written by Qt.
int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QString all = QString::fromLatin1(file.readAll());
    return int(all.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

class PreviewTest : public ::testing::Test {
  protected:
    // Prints into PDF files pdf1.pdf, pdf2.pdf, ... of `r`'s folder.
    reports::PrintDeviceOpener pdfOpener(const Recorded& r) {
        return [this, &r](QWidget*) -> std::unique_ptr<QPagedPaintDevice> {
            printed << r.file(QStringLiteral("pdf%1.pdf").arg(printed.size() + 1));
            return std::make_unique<QPdfWriter>(printed.last());
        };
    }

    ui::ScriptedPlatform platform;
    ui::ScopedPlatform scoped{platform};
    collection::ReportSettings settings;
    QStringList printed;
};

TEST_F(PreviewTest, OnePageReportOffersOnlyPageOne) {
    Recorded r(3, 8);
    ASSERT_EQ(r.pages.pageCount(), 1);
    TMyPreview preview(r.pages, QStringLiteral("Short"), &settings);
    preview.setDeviceOpener(pdfOpener(r));
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Short"));
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 1 of 1"));
    EXPECT_EQ(preview.PageEdit->text(), QStringLiteral("1"));
    EXPECT_FALSE(preview.SBPrevPage->isEnabled());
    EXPECT_FALSE(preview.SBNextPage->isEnabled());

    // The range dialog starts at 1 to 1 and refuses page 2 at either end.
    platform.queueModal([](QDialog& d) {
        auto& range = static_cast<reports::TPrintRange&>(d);
        EXPECT_EQ(range.windowTitle(), QStringLiteral("Page Printing"));
        EXPECT_EQ(range.StartPage->text(), QStringLiteral("1"));
        EXPECT_EQ(range.EndPage->text(), QStringLiteral("1"));
        range.StartPage->setText(QStringLiteral("2"));
        range.PrintButton->click();
        range.StartPage->setText(QStringLiteral(" 1"));
        range.EndPage->setText(QStringLiteral("2"));
        range.PrintButton->click();
        EXPECT_TRUE(range.isVisible());
        range.EndPage->setText(QStringLiteral("1 "));
        range.PrintButton->click();
        EXPECT_FALSE(range.isVisible());
    });
    preview.printRange();
    EXPECT_EQ(platform.boxSummary(),
              QStringList({QStringLiteral("Error: ") + reports::kInvalidStartPage,
                           QStringLiteral("Error: ") + reports::kInvalidEndPage}));
    ASSERT_EQ(printed.size(), 1);
    EXPECT_EQ(pdfPages(printed[0]), 1);
}

TEST_F(PreviewTest, RangeEndingBeforeItsStartIsRefusedAndCancelPrintsNothing) {
    Recorded r(60, 40);
    const int count = r.pages.pageCount();
    ASSERT_GE(count, 4);
    TMyPreview preview(r.pages, QStringLiteral("Long"), &settings);
    preview.setDeviceOpener(pdfOpener(r));

    platform.queueModal([count](QDialog& d) {
        auto& range = static_cast<reports::TPrintRange&>(d);
        EXPECT_EQ(range.EndPage->text(), QString::number(count));
        range.StartPage->setText(QStringLiteral("3"));
        range.EndPage->setText(QStringLiteral("2"));
        range.PrintButton->click();
        EXPECT_TRUE(range.isVisible());
        range.StartPage->setText(QStringLiteral("x"));  // not a number: no page
        range.PrintButton->click();
        range.StartPage->setText(QStringLiteral("2"));
        range.EndPage->setText(QStringLiteral("3"));
        range.PrintButton->click();
    });
    preview.printRange();
    EXPECT_EQ(platform.boxSummary(),
              QStringList({QStringLiteral("Error: ") + reports::kInvalidEndPage,
                           QStringLiteral("Error: ") + reports::kInvalidStartPage}));
    ASSERT_EQ(printed.size(), 1);
    EXPECT_EQ(pdfPages(printed[0]), 2);

    platform.queueModal(
        [](QDialog& d) { static_cast<reports::TPrintRange&>(d).CancelButton->click(); });
    preview.printRange();
    EXPECT_EQ(printed.size(), 1);

    preview.printReport();
    preview.printPage();
    ASSERT_EQ(printed.size(), 3);
    EXPECT_EQ(pdfPages(printed[1]), count);
    EXPECT_EQ(pdfPages(printed[2]), 1);
}

TEST_F(PreviewTest, PrintWhileThePreviousPrintIsGoingOnIsRefused) {
    Recorded r(60, 40);
    TMyPreview preview(r.pages, QStringLiteral("Long"), &settings);
    int opened = 0;
    // The user presses Print Page again while the first print is still under way.
    preview.setDeviceOpener([&](QWidget*) -> std::unique_ptr<QPagedPaintDevice> {
        ++opened;
        preview.printPage();
        preview.printReport();
        return std::make_unique<QPdfWriter>(r.file(QStringLiteral("busy.pdf")));
    });
    preview.printPage();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(platform.boxSummary(),
              QStringList({QStringLiteral("Error: ") + reports::kPrintBusy,
                           QStringLiteral("Error: ") + reports::kPrintBusy}));
    EXPECT_EQ(pdfPages(r.file(QStringLiteral("busy.pdf"))), 1);
    platform.clearRecords();
    preview.setDeviceOpener([](QWidget*) { return std::unique_ptr<QPagedPaintDevice>(); });
    preview.printPage();  // the first print has ended
    EXPECT_TRUE(platform.boxSummary().isEmpty());
}

TEST_F(PreviewTest, PageFieldMovesOnEnterOrLeaveAndIgnoresTheCurrentOrInvalidPage) {
    Recorded r(60, 40);
    const int count = r.pages.pageCount();
    ASSERT_GE(count, 4);
    TMyPreview preview(r.pages, QStringLiteral("Long"), &settings);
    preview.show();
    const QString of = QStringLiteral(" of %1").arg(count);

    preview.SBNextPage->click();
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 2") + of);
    EXPECT_EQ(preview.PageEdit->text(), QStringLiteral("2"));
    EXPECT_TRUE(preview.SBPrevPage->isEnabled());

    const int redraws = preview.view().redraws();
    type(preview.PageEdit, QStringLiteral("2"));
    pressEnter(preview.PageEdit);
    EXPECT_EQ(preview.view().redraws(), redraws) << "the current page is not drawn again";

    for (const char* bad : {"abc", "0", "999", ""}) {
        type(preview.PageEdit, QString::fromLatin1(bad));
        pressEnter(preview.PageEdit);
        EXPECT_EQ(preview.currentPage(), 2) << bad;
        EXPECT_EQ(preview.PageEdit->text(), QStringLiteral("2")) << bad;
    }
    EXPECT_EQ(preview.view().redraws(), redraws);

    type(preview.PageEdit, QStringLiteral("4"));
    pressEnter(preview.PageEdit);
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 4") + of);
    type(preview.PageEdit, QStringLiteral("3"));
    leave(preview.PageEdit);
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 3") + of);
    EXPECT_EQ(preview.view().redraws(), redraws + 2);

    preview.findChild<QAction*>(QStringLiteral("LastPageItem"))->trigger();
    EXPECT_EQ(preview.currentPage(), count);
    EXPECT_FALSE(preview.SBNextPage->isEnabled());
    preview.nextPage();
    EXPECT_EQ(preview.currentPage(), count);
    preview.findChild<QAction*>(QStringLiteral("FirstPageItem"))->trigger();
    EXPECT_EQ(preview.PageLabel->text(), QStringLiteral("Page 1") + of);
    preview.prevPage();
    EXPECT_EQ(preview.currentPage(), 1);
}

TEST_F(PreviewTest, ZoomStepsStayWithinBoundsAndTypedZoomFollowsTheFieldRules) {
    Recorded r(3, 8);
    TMyPreview preview(r.pages, QStringLiteral("Short"), &settings);
    preview.show();
    EXPECT_EQ(preview.ZoomEdit->text(), QStringLiteral("100.0"));
    const QSize at100 = preview.view().size();

    preview.SBZoomIn->click();
    EXPECT_EQ(preview.ZoomEdit->text(), QStringLiteral("110.0"));
    EXPECT_NEAR(preview.view().width(), at100.width() * 1.1, 2);
    preview.findChild<QAction*>(QStringLiteral("ZoomOut3Item"))->trigger();
    EXPECT_EQ(preview.ZoomEdit->text(), QStringLiteral("33.3"));
    for (int i = 0; i < 5; ++i) preview.SBZoomOut->click();
    EXPECT_EQ(preview.zoom(), reports::kMinZoom);
    EXPECT_FALSE(preview.SBZoomOut->isEnabled());
    preview.findChild<QAction*>(QStringLiteral("ZoomIn2Item"))->trigger();
    EXPECT_EQ(preview.ZoomEdit->text(), QStringLiteral("200.0"));

    type(preview.ZoomEdit, QStringLiteral("1000"));
    pressEnter(preview.ZoomEdit);
    EXPECT_EQ(preview.zoom(), reports::kMaxZoom);
    EXPECT_EQ(preview.ZoomEdit->text(), QStringLiteral("400.0"));
    EXPECT_FALSE(preview.SBZoomIn->isEnabled());

    const int redraws = preview.view().redraws();
    for (const char* ignored : {"400", "12,5%", "", "abc"}) {
        type(preview.ZoomEdit, QString::fromLatin1(ignored));
        pressEnter(preview.ZoomEdit);
        EXPECT_EQ(preview.ZoomEdit->text(), QStringLiteral("400.0")) << ignored;
    }
    EXPECT_EQ(preview.view().redraws(), redraws);
    type(preview.ZoomEdit, QStringLiteral("62.5"));
    leave(preview.ZoomEdit);
    EXPECT_EQ(preview.zoom(), 62.5);
    EXPECT_EQ(preview.view().redraws(), redraws + 1);
}

TEST_F(PreviewTest, PageWidthAndWholePageFitTheView) {
    Recorded r(3, 8);
    TMyPreview preview(r.pages, QStringLiteral("Short"), &settings);
    preview.show();
    const QWidget* viewport = preview.ScrollBox1->viewport();

    preview.SBZoomPage->click();
    QApplication::processEvents();
    EXPECT_LE(preview.view().width(), viewport->width());
    EXPECT_LE(preview.view().height(), viewport->height() + 1);
    EXPECT_TRUE(preview.view().width() >= viewport->width() - 2 ||
                preview.view().height() >= viewport->height() - 2);

    preview.SBZoomPageWidth->click();
    QApplication::processEvents();
    EXPECT_NEAR(preview.view().width(), viewport->width(), 2);
    EXPECT_GT(preview.view().height(), viewport->height());
}

TEST_F(PreviewTest, UseColorSwitchesMonochromeAndIsCheckedOnlyForColour) {
    Recorded r(3, 8);
    TMyPreview preview(r.pages, QStringLiteral("Short"), &settings);
    EXPECT_TRUE(preview.monochrome());
    EXPECT_FALSE(preview.UseColorItem->isChecked());
    preview.UseColorItem->trigger();
    EXPECT_FALSE(preview.monochrome());
    EXPECT_TRUE(preview.UseColorItem->isChecked());
    preview.UseColorItem->trigger();
    EXPECT_TRUE(preview.monochrome());
    EXPECT_FALSE(preview.UseColorItem->isChecked());
}

TEST_F(PreviewTest, MenusCarryTheirShortcuts) {
    Recorded r(3, 8);
    TMyPreview preview(r.pages, QStringLiteral("Short"), &settings);
    const std::pair<const char*, const char*> items[] = {
        {"PrintPageItem", "Ctrl+P"}, {"PrintReportItem", "Ctrl+R"}, {"PrintRangeItem", "Ctrl+G"},
        {"ExitItem", "Ctrl+X"},      {"PrevPageItem", "Ctrl+E"},    {"NextPageItem", "Ctrl+N"},
        {"FirstPageItem", "Ctrl+F"}, {"LastPageItem", "Ctrl+L"},    {"UseColorItem", "Ctrl+C"},
        {"ZoomInItem", "Ctrl+I"},    {"ZoomOutItem", "Ctrl+O"},     {"PageWidthItem", "Ctrl+Z"},
        {"WholePageItem", "Ctrl+W"},
    };
    for (const auto& [name, key] : items) {
        const QAction* item = preview.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_EQ(item->shortcut().toString(), QLatin1String(key)) << name;
    }
    // The zoom submenus' own shortcuts step the zoom.
    preview.findChild<QAction*>(QStringLiteral("ZoomInItem"))->trigger();
    EXPECT_EQ(preview.zoom(), 100.0 + reports::kZoomStep);
}

TEST_F(PreviewTest, WindowOpensWhereItWasClosedThroughTheCollectionsSettingsFile) {
    Recorded r(3, 8);
    const QString ini = r.file(QStringLiteral("STAMPS.INI"));
    collection::CollectionSettings stored = collection::readCollection(ini);
    {
        TMyPreview preview(r.pages, QStringLiteral("Short"), &stored.reports);
        EXPECT_EQ(preview.pos(), QPoint(0, 0));
        EXPECT_EQ(preview.size(), QSize(640, 480));
        preview.show();
        preview.move(120, 80);
        preview.resize(700, 500);
        preview.SBDone->click();
        EXPECT_FALSE(preview.isVisible());
    }
    collection::writeCollection(ini, stored);
    const collection::ProfileFile file(ini);
    const QString section = QStringLiteral("Reports");
    EXPECT_EQ(file.read(section, QStringLiteral("Report Viewing Window Left")), "120");
    EXPECT_EQ(file.read(section, QStringLiteral("Report Viewing Window Top")), "80");
    EXPECT_EQ(file.read(section, QStringLiteral("Report Viewing Window Width")), "700");
    EXPECT_EQ(file.read(section, QStringLiteral("Report Viewing Window Height")), "500");

    collection::CollectionSettings again = collection::readCollection(ini);
    TMyPreview reopened(r.pages, QStringLiteral("Short"), &again.reports);
    EXPECT_EQ(reopened.pos(), QPoint(120, 80));
    EXPECT_EQ(reopened.size(), QSize(700, 500));
}

}  // namespace

TEST_F(PreviewTest, PageLabelIsWholeAtTheOpeningWidthEvenInALargerFont) {
    // A 500-point body puts each record on a page of its own: over a thousand pages.
    Recorded r(1100, 500);
    ASSERT_GE(r.pages.pageCount(), 1000);
    for (const int points : {0, 13}) {
        SCOPED_TRACE(points);
        TMyPreview preview(r.pages, QStringLiteral("Long"), nullptr);
        if (points > 0) {
            QFont larger = preview.font();
            larger.setPointSize(points);
            preview.setFont(larger);
        }
        preview.show();
        QApplication::processEvents();
        ASSERT_EQ(preview.width(), 640);
        EXPECT_EQ(preview.PageLabel->text(),
                  QStringLiteral("Page 1 of %1").arg(r.pages.pageCount()));
        // Every control of the tool bar is shown whole inside it.
        for (QWidget* w : preview.ToolPanel->findChildren<QWidget*>()) {
            if (!w->isVisible()) continue;
            SCOPED_TRACE(w->objectName().toStdString());
            EXPECT_GE(w->width(), std::min(w->sizeHint().width(), w->maximumWidth()));
            EXPECT_LE(w->geometry().right(), preview.ToolPanel->width());
        }
    }
}

TEST_F(PreviewTest, MenuShortcutsWorkWhileTheZoomOrPageFieldHasFocus) {
    Recorded r(60, 40);
    TMyPreview preview(r.pages, QStringLiteral("Long"), &settings);
    preview.show();
    QApplication::setActiveWindow(&preview);
    preview.goToPage(3);
    preview.setZoom(150.0);

    preview.PageEdit->setFocus();
    QTest::keyClick(preview.PageEdit, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(preview.currentPage(), 2);
    preview.ZoomEdit->setFocus();
    QTest::keyClick(preview.ZoomEdit, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(preview.currentPage(), 1);
    QTest::keyClick(preview.ZoomEdit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(preview.zoom(), 150.0) << "Zoom Page Width";
    EXPECT_EQ(preview.ZoomEdit->text(), QString::number(preview.zoom(), 'f', 1));
    QTest::keyClick(preview.PageEdit, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(preview.currentPage(), 2);
    // Copying the field's text still copies it.
    preview.PageEdit->selectAll();
    QTest::keyClick(preview.PageEdit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(preview.UseColorItem->isChecked());
}
