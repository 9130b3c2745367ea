// The status bar's totals and View "Collection Statistics" in the main window: the totals
// follow an update, a delete and a search, and the window counts what the viewer shows.
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include "app_test_env.h"
#include "searching/search_grid.h"
#include "searching/my_search.h"
#include "engine/table.h"
#include "record_editor_driver.h"
#include "statistics/statistics_window.h"

namespace app::testing {
namespace {

class StatisticsFlowTest : public AppTest {
  protected:
    TMain& startWithStamps() {
        makeCollection(masterPath());
        engine::Table table;
        table.open(masterPath().toStdString(), engine::OpenMode::Exclusive);
        const struct {
            const char* country;
            int quantity;
            const char* value;
        } stamps[] = {{"France", 2, "1.50"}, {"Italy", 1, "10.00"}, {"FRANCE", 3, "0.25"},
                      {"Spain", 1, "1234.56"}};
        for (const auto& s : stamps) {
            table.append();
            table.setText("Country", s.country);
            table.setText("Quantity", std::to_string(s.quantity));
            table.setText("MarketValu", s.value);
            table.setText("Cost", "1");
            table.post();
        }
        table.close();
        TMain& w = start();
        w.show();
        return w;
    }

    QString statusText() const {
        return main_->statusBar()->findChild<QLabel*>("StatusTotalsLabel")->text();
    }
    // Waits for the totals to leave "…" and returns them.
    QString totals() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return statusText().startsWith("Stamps:"); }, 5000))
            << statusText().toStdString();
        return statusText();
    }
};

TEST_F(StatisticsFlowTest, StatusBarTotalsFollowUpdateDeleteAndSearch) {
    TMain& w = startWithStamps();
    EXPECT_EQ(totals(), "Stamps: 4    Copies: 7    Market Value: 1,248.31    Purchase Price: 7.00");

    // Update: the record editor changes the first stamp's market value.
    platform_.queueModal([](QDialog& d) {
        typeInto(d, "MarketValue", QStringLiteral("2.50"));
        press(d, "UpdateExitButton");
    });
    trigger("MenuEdit");
    EXPECT_EQ(statusText(), "\u2026");  // shown at once, computed off the interface thread
    EXPECT_EQ(totals(), "Stamps: 4    Copies: 7    Market Value: 1,250.31    Purchase Price: 7.00");

    // Delete the current (first) stamp.
    platform_.queueAnswer(ui::MessageAnswer::Yes);
    trigger("MenuDelete");
    EXPECT_EQ(totals(), "Stamps: 3    Copies: 5    Market Value: 1,245.31    Purchase Price: 5.00");

    // A search narrows the totals to the stamps in view; End Search brings the rest back.
    platform_.queueModal([](QDialog& d) {
        auto& s = static_cast<editing::TMySearch&>(d);
        s.SearchGrid->setCurrentCell(3, editing::SearchGridWidget::kValueColumn);
        s.SearchGrid->setCellText(3, editing::SearchGridWidget::kValueColumn, "fra");
        s.OkButton->click();
    });
    trigger("MenuSearch");
    EXPECT_EQ(totals(), "Stamps: 1    Copies: 3    Market Value: 0.75    Purchase Price: 3.00");

    // The statistics window counts the same records and says so.
    platform_.queueModal([](QDialog& d) {
        auto& s = static_cast<statistics::TStatisticsWindow&>(d);
        EXPECT_EQ(s.ScopeLabel->text(), "The stamps of the current search");
        EXPECT_EQ(s.summary().total.stamps, 1);
        EXPECT_EQ(s.shownGroups().at(0).name, "FRANCE");
    });
    trigger("MenuStatistics");
    ASSERT_FALSE(platform_.modals().empty());
    EXPECT_EQ(platform_.modals().back().title, "Collection Statistics");

    trigger("MenuEndSearch");
    EXPECT_EQ(totals(), "Stamps: 3    Copies: 5    Market Value: 1,245.31    Purchase Price: 5.00");
    EXPECT_EQ(w.findChild<QAction*>("MenuStatistics")->shortcut(), QKeySequence("Ctrl+K"));
}

TEST_F(StatisticsFlowTest, MostValuableDoubleClickShowsTheStampInTheViewer) {
    TMain& w = startWithStamps();
    platform_.queueModal([](QDialog& d) {
        auto& s = static_cast<statistics::TStatisticsWindow&>(d);
        ASSERT_EQ(s.ValuableTable->item(0, 3)->text(), "Spain");
        emit s.ValuableTable->cellDoubleClicked(0, 0);
    });
    trigger("MenuStatistics");
    EXPECT_EQ(w.MyTable.text("Country"), "Spain");
}

}  // namespace
}  // namespace app::testing
