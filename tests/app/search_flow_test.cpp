// Search and End Search as the main window runs them: the search window filled through its grid,
// its buttons, its messages, and what the viewer and the count show afterwards.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app_test_env.h"
#include "editing/my_edit.h"
#include "searching/my_search.h"
#include "searching/search_grid.h"
#include "searching/search_options.h"
#include "engine/table.h"

namespace app::testing {
namespace {

constexpr int kCountry = 3, kYear = 7, kDate = 14;

struct Stamp {
    const char* country;
    int year;
};

const Stamp kStamps[] = {{"France", 1900}, {"Africa", 1901}, {"FRANCE", 1949},
                         {"Italy", 1950},  {"Spain", 1925},  {"Freetown", 1960}};

// The value cell as the grid's masked editor leaves it.
const QString kYearRange = QStringLiteral("> 1900      AND < 1950    ");

class SearchFlowTest : public AppTest {
  protected:
    TMain& startWithStamps() {
        makeCollection(masterPath());
        engine::Table table;
        table.open(masterPath().toStdString(), engine::OpenMode::Exclusive);
        for (const Stamp& s : kStamps) {
            table.append();
            table.setText("Country", s.country);
            table.setInteger(table.requireField("Year"), s.year);
            table.post();
        }
        table.close();
        TMain& w = start();
        w.show();
        return w;
    }

    // Shows the search window through Ctrl+S's command and runs `script` in it.
    void search(const std::function<void(editing::TMySearch&)>& script) {
        platform_.queueModal([script](QDialog& d) { script(static_cast<editing::TMySearch&>(d)); });
        trigger("MenuSearch");
    }

    static void setCell(editing::TMySearch& s, int row, const QString& text) {
        s.SearchGrid->setCurrentCell(row, editing::SearchGridWidget::kValueColumn);
        s.SearchGrid->setCellText(row, editing::SearchGridWidget::kValueColumn, text);
    }

    // Picks operator `op` (1..4) for `row` in the pick window, as a click on "..." does.
    void chooseOperator(editing::TMySearch& s, int row, int op) {
        platform_.queueModal([op](QDialog& d) {
            auto& options = static_cast<editing::TSearchOptions&>(d);
            EXPECT_EQ(options.ListBox1->count(), 4);
            options.ListBox1->setCurrentRow(op - 1);
            options.OkButton->click();
        });
        s.SearchGridMouseDown(row, 1);
        s.SearchGridMouseUp(row, 1);
    }

    QString count() const { return main_->findChild<QLabel*>("CountLabel")->text(); }
    bool searchOnShown() const { return !main_->findChild<QLabel*>("SearchOnLabel")->isHidden(); }
};

TEST_F(SearchFlowTest, TextCriterionNarrowsTheViewerUntilEndSearch) {
    startWithStamps();
    search([this](editing::TMySearch& s) {
        EXPECT_EQ(s.SearchGrid->cellText(0, 2), " SEARCH CRITERIA    (Level 1)");
        EXPECT_EQ(s.SearchGrid->cellText(kCountry, 0), " Country");
        setCell(s, kCountry, "fra");
        s.HelpButton->click();
        s.OkButton->click();
    });
    ASSERT_EQ(platform_.helpRequests().size(), 1u);
    EXPECT_EQ(platform_.helpRequests()[0].keyword, "Search Window");
    EXPECT_EQ(count(), "2");  // France, FRANCE (Africa holds "fr" but not "fra")
    EXPECT_TRUE(searchOnShown());
    EXPECT_TRUE(main_->findChild<QAction*>("MenuEndSearch")->isEnabled());
    trigger("EndSearchSpeed");
    EXPECT_EQ(count(), "6");
    EXPECT_FALSE(searchOnShown());
    EXPECT_TRUE(platform_.boxes().empty());
}

TEST_F(SearchFlowTest, RangeBoundsAndLevelsJoinedWithOr) {
    startWithStamps();
    search([this](editing::TMySearch& s) {
        chooseOperator(s, kYear, 4);
        EXPECT_EQ(s.rowOperator(kYear), 4);
        EXPECT_EQ(s.SearchGridGetEditMask(kYear), "\\> ccccccccc \\A\\ND \\< cccccccc");
        setCell(s, kYear, kYearRange);
        s.OkButton->click();
    });
    EXPECT_EQ(count(), "3");  // 1901, 1925, 1949; not 1900 or 1950

    search([this](editing::TMySearch& s) {
        EXPECT_EQ(s.rowOperator(kYear), 4);  // kept for the run
        chooseOperator(s, kYear, 1);
        setCell(s, kCountry, "France");
        setCell(s, kYear, "= 1900");
        s.MoreButton->click();
        EXPECT_EQ(s.SearchGrid->cellText(0, 2), " SEARCH CRITERIA    (Level 2)");
        EXPECT_TRUE(s.SearchGrid->cellText(kCountry, 2).trimmed().isEmpty());
        setCell(s, kCountry, "italy");
        s.OkButton->click();
    });
    EXPECT_EQ(count(), "2");
}

TEST_F(SearchFlowTest, RefusedLevelsKeepNothingOfTheLevelAndTellWhy) {
    startWithStamps();
    search([this](editing::TMySearch& s) {
        setCell(s, kCountry, "Italy");
        s.MoreButton->click();
        chooseOperator(s, kYear, 4);
        setCell(s, kCountry, "Spain");
        setCell(s, kYear, "> 1900      AND <         ");
        s.OkButton->click();
        EXPECT_EQ(s.criteria().count(), 1);
        EXPECT_EQ(s.SearchGrid->currentRow(), kYear);
        setCell(s, kYear, "");
        setCell(s, kCountry, "");
        // A date row at its mask's empty text adds nothing.
        setCell(s, kDate, "=   /  /    ");
        s.MoreButton->click();
        EXPECT_EQ(s.level(), 2);
        s.ExitButton->click();
    });
    EXPECT_EQ(platform_.boxSummary(),
              QStringList({"Error: Invalid search criteria entered.  Please correct.",
                           "Error: No search criteria entered."}));
    EXPECT_FALSE(main_->searchActive());
    EXPECT_EQ(count(), "6");
}

TEST_F(SearchFlowTest, TenthLevelDisablesFindMoreAndOkStillRuns) {
    startWithStamps();
    search([this](editing::TMySearch& s) {
        for (int level = 1; level < 10; ++level) {
            setCell(s, kCountry, "nowhere");
            s.MoreButton->click();
        }
        EXPECT_EQ(s.level(), 10);
        EXPECT_FALSE(s.MoreButton->isEnabled());
        setCell(s, kCountry, "spain");
        s.OkButton->click();
    });
    EXPECT_EQ(count(), "1");
}

TEST_F(SearchFlowTest, NoMatchLeavesTheViewerUnfiltered) {
    startWithStamps();
    search([this](editing::TMySearch& s) {
        setCell(s, kCountry, "zzz");
        s.OkButton->click();
        EXPECT_TRUE(s.isVisible());
        EXPECT_EQ(s.level(), 1);
        EXPECT_TRUE(s.SearchGrid->cellText(kCountry, 2).trimmed().isEmpty());
        s.ExitButton->click();
    });
    EXPECT_EQ(platform_.boxSummary(),
              QStringList("Notice: No valid matches found.  Search criteria will be cleared."));
    EXPECT_FALSE(main_->searchActive());
    EXPECT_FALSE(searchOnShown());
    EXPECT_EQ(count(), "6");
}

TEST_F(SearchFlowTest, ExitKeepsTheSearchInForce) {
    startWithStamps();
    search([this](editing::TMySearch& s) {
        setCell(s, kCountry, "italy");
        s.OkButton->click();
    });
    search([](editing::TMySearch& s) { s.ExitButton->click(); });
    EXPECT_TRUE(main_->searchActive());
    EXPECT_EQ(count(), "1");
    EXPECT_EQ(main_->MyTable.recordCount(), 1u);
}

TEST_F(SearchFlowTest, PickListRowTakesTheRecordEditorsItem) {
    startWithStamps();
    main_->recordEditor()->dataLists().editorBox(1)->addItem("Italy");  // list 1: Country
    search([this](editing::TMySearch& s) {
        EXPECT_TRUE(s.hasPickWindow(kCountry));
        EXPECT_TRUE(s.hasPickWindow(kYear));
        EXPECT_TRUE(s.hasPickWindow(kDate));
        EXPECT_FALSE(s.hasPickWindow(1));   // Catalog
        EXPECT_FALSE(s.hasPickWindow(17));  // Color has no pick list here
        platform_.queueModal([](QDialog& d) {
            auto& options = static_cast<editing::TSearchOptions&>(d);
            const auto found = options.ListBox1->findItems("Italy", Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            options.ListBox1->setCurrentItem(found[0]);
            options.OkButton->click();
        });
        s.SearchGridMouseDown(kCountry, 1);
        s.SearchGridMouseUp(kCountry, 1);
        EXPECT_EQ(s.SearchGrid->currentRow(), kCountry);
        s.OkButton->click();
    });
    EXPECT_EQ(count(), "1");
}

TEST_F(SearchFlowTest, TheSeventySixthCriterionClearsTheSearch) {
    startWithStamps();
    std::vector<int> textRows;
    for (int row = 1; row <= collection::kFieldCount; ++row)
        if (collection::searchRowKind(row) == collection::SearchRowKind::Text)
            textRows.push_back(row);
    ASSERT_EQ(textRows.size(), 19u);  // four full levels make 76
    search([&](editing::TMySearch& s) {
        for (int level = 1; level <= 4; ++level) {
            for (int row : textRows) setCell(s, row, "x");
            s.MoreButton->click();
        }
        EXPECT_EQ(s.level(), 1);
        EXPECT_TRUE(s.criteria().empty());
        EXPECT_EQ(s.SearchGrid->cellText(0, 2), " SEARCH CRITERIA    (Level 1)");
        EXPECT_TRUE(s.SearchGrid->cellText(textRows[0], 2).trimmed().isEmpty());
        s.ExitButton->click();
    });
    EXPECT_EQ(platform_.boxSummary(),
              QStringList("Error: More than 75 search items have been entered.  This exceeds the "
                          "maximum allowable.  Search criteria will be cleared."));
}

}  // namespace
}  // namespace app::testing
