// The "Collection Statistics" window offscreen: its figures after changes to the collection and
// under a search, the chart's top groups and "Other", sorting, the exports and the double-click
// that shows a stamp in the viewer.
#include <gtest/gtest.h>

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "collection/search_criteria.h"
#include "collection/stamp_table_defs.h"
#include "engine/table.h"
#include "statistics/statistics_window.h"
#include "ui/scripted_platform.h"

namespace statistics {
namespace {

class StatisticsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.filePath("STAMPS.DBF");
        engine::Table::create(path.toStdString(), collection::stampTableFieldDefs());
        engine::Table t;
        t.open(path.toStdString(), engine::OpenMode::Exclusive);
        // 20 countries; country i has i+1 stamps of 2 copies at i+1 each.
        for (int i = 0; i < 20; ++i) {
            for (int n = 0; n <= i; ++n) {
                t.append();
                t.setText("Country", "Land " + std::to_string(i));
                t.setText("Quantity", "2");
                t.setText("MarketValu", std::to_string(i + 1) + ".25");
                t.setText("Cost", "1");
                t.setText("Year", std::to_string(1900 + i));
                t.setText("Date", "2001010" + std::to_string(1 + n % 9));
                t.post();
            }
        }
    }

    std::unique_ptr<TStatisticsWindow> open(std::optional<collection::SearchFilter> filter = {}) {
        StatisticsContext context;
        context.path = path;
        context.filter = std::move(filter);
        context.showRecord = [this](std::uint32_t recNo) { shown.push_back(recNo); };
        auto window = std::make_unique<TStatisticsWindow>(std::move(context));
        EXPECT_TRUE(window->compute());
        return window;
    }

    static QString summaryValue(TStatisticsWindow& w, const QString& caption) {
        for (int row = 0; row < w.SummaryTable->rowCount(); ++row)
            if (w.SummaryTable->item(row, 0)->text() == caption)
                return w.SummaryTable->item(row, 1)->text();
        return QStringLiteral("?");
    }

    ui::ScriptedPlatform platform;
    ui::ScopedPlatform installed{platform};
    QTemporaryDir dir;
    QString path;
    std::vector<std::uint32_t> shown;
};

TEST_F(StatisticsWindowTest, FiguresFollowAnUpdateADeleteAndASearch) {
    auto w = open();
    EXPECT_EQ(w->ScopeLabel->text(), "All the stamps of the collection");
    EXPECT_EQ(summaryValue(*w, "Stamps"), "210");
    EXPECT_EQ(summaryValue(*w, "Copies"), "420");
    // sum over i of (i+1) stamps x 2 x (i+1.25) = 2 x (2870 + 0.25 x 210)
    EXPECT_EQ(summaryValue(*w, "Market Value"), "5,845.00");
    EXPECT_EQ(summaryValue(*w, "Gain"), "5,425.00");
    EXPECT_EQ(summaryValue(*w, "Oldest Year"), "1900");

    {
        engine::Table t;
        t.open(path.toStdString(), engine::OpenMode::Shared);
        ASSERT_TRUE(t.goToRecord(1));  // Land 0: 1.25 -> 100.25
        t.edit();
        t.setText("MarketValu", "100.25");
        t.post();
        ASSERT_TRUE(t.goToRecord(2));  // a Land 1 stamp: 2 x 2.25 gone
        t.deleteRecord();
    }
    w = open();
    EXPECT_EQ(summaryValue(*w, "Stamps"), "209");
    EXPECT_EQ(summaryValue(*w, "Market Value"), "6,038.50");

    collection::SearchCriteria criteria;
    collection::addSearchLevel(criteria, {{3, collection::kOpEqual, "land 1"}},
                               collection::DateFormat{1, false});
    engine::Table t;
    t.open(path.toStdString(), engine::OpenMode::ReadOnly);
    w = open(collection::SearchFilter(criteria, t));
    EXPECT_EQ(w->ScopeLabel->text(), "The stamps of the current search");
    // Land 1 (one left) and Land 10 to Land 19.
    EXPECT_EQ(summaryValue(*w, "Stamps"), QString::number(1 + (11 + 20) * 10 / 2));
    EXPECT_EQ(w->shownGroups().size(), 11u);
}

TEST_F(StatisticsWindowTest, ChartShowsTheTopFifteenAndOtherAddingUpToTheTotal) {
    auto w = open();
    const Tally total = w->summary().total;
    for (Measure m : {Measure::Value, Measure::Stamps}) {
        w->chooseChart(ChartKind::Bar, m);
        ASSERT_EQ(w->chartGroups().size(), 16u);
        EXPECT_EQ(w->chartGroups().back().name, "Other");
        EXPECT_EQ(totalOf(w->chartGroups()), total);
        EXPECT_EQ(w->chartGroups().front().name, "Land 19");
        EXPECT_EQ(w->BreakdownChart->chart()->series().size(), 1);
    }
    w->chooseChart(ChartKind::Pie, Measure::Copies);
    EXPECT_EQ(w->ChartKindCombo->currentText(), "Pie Chart");
    EXPECT_EQ(totalOf(w->chartGroups()), total);

    // Another field: the decades of Year.
    w->chooseBreakdown(Breakdown::Decade);
    ASSERT_EQ(w->shownGroups().size(), 2u);
    EXPECT_EQ(totalOf(w->shownGroups()), total);
    EXPECT_EQ(w->BreakdownTable->horizontalHeaderItem(0)->text(), "Decade");
}

TEST_F(StatisticsWindowTest, SortedTableIsWhatTheCsvExportWrites) {
    auto w = open();
    w->chooseBreakdown(Breakdown::Country);
    EXPECT_EQ(w->BreakdownTable->item(0, 0)->text(), "Land 19");
    w->BreakdownTable->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->BreakdownTable->item(0, 0)->text(), "Land 0");
    EXPECT_EQ(w->shownGroups().front().name, "Land 0");

    const QString csv = dir.filePath("countries.csv");
    platform.queueFilePath(csv);
    w->ExportTableButton->click();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[1], "Land 0,1,2,2.50,2.00,0.50,0.04");
    EXPECT_TRUE(lines[20].startsWith("Land 19,20,40,"));

    // Charts as picture, drawing and document; an unknown type is refused with a message.
    w->resize(900, 600);
    for (const char* name : {"chart.png", "chart.svg", "chart.pdf"}) {
        platform.queueFilePath(dir.filePath(name));
        w->ExportChartButton->click();
        EXPECT_GT(QFile(dir.filePath(name)).size(), 100) << name;
    }
    EXPECT_TRUE(platform.boxes().empty());
    platform.queueFilePath(dir.filePath("chart.bmp"));
    w->ExportChartButton->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_TRUE(platform.boxes()[0].text.endsWith("Charts are saved as .png, .svg or .pdf files."));
}

TEST_F(StatisticsWindowTest, MostValuableStampOpensInTheViewer) {
    auto w = open();
    ASSERT_EQ(w->ValuableTable->rowCount(), 20);
    EXPECT_EQ(w->ValuableTable->item(0, 0)->text(), "40.50");
    EXPECT_EQ(w->ValuableTable->item(0, 3)->text(), "Land 19");
    emit w->ValuableTable->cellDoubleClicked(0, 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], 191u);  // the first Land 19 stamp
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST_F(StatisticsWindowTest, HelpOpensAtTheSectionTheHelpDocumentHas) {
    auto w = open();
    w->HelpButton->click();
    ASSERT_EQ(platform.helpRequests().size(), 1u);
    EXPECT_EQ(platform.helpRequests()[0].keyword, "Collection Statistics");
    QFile help(QStringLiteral(TESS_SOURCE_DIR "/data/TESSELON.HLP"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(help.readAll());
    EXPECT_TRUE(html.contains("<a name=\"Collection Statistics\">"));
    EXPECT_TRUE(html.contains("href=\"#Collection Statistics\""));
}

TEST_F(StatisticsWindowTest, UnreadableTableIsToldAndNoWindowShown) {
    StatisticsContext context;
    context.path = dir.filePath("MISSING.DBF");
    TStatisticsWindow::Execute(std::move(context), nullptr);
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].title, "Error");
    EXPECT_TRUE(platform.modals().empty());
}

}  // namespace
}  // namespace statistics
