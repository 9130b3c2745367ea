// Tools "&Search and Replace" through the main window: the entry boxes follow the field's class,
// refusals keep the window open, the question per match, the completion box, and afterwards the
// grid in sort order with a running search in force again.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app_test_env.h"
#include "searching/search_replace.h"
#include "engine/table.h"
#include "record_editor_driver.h"
#include "ui/data_grid_model.h"
#include "ui/masked_edit.h"

namespace app::testing {
namespace {

class SearchReplaceFlowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        // Catalogue i holds country i; sorted on Country: 4, 1, 5, 3, 2.
        makeCollection(masterPath());
        engine::Table table;
        table.open(masterPath().toStdString(), engine::OpenMode::Exclusive);
        const char* countries[] = {"Chile", "Zambia", "CHILE", "Austria", "chile"};
        for (int i = 0; i < 5; ++i) {
            table.append();
            table.setText("Catalog", std::to_string(i + 1));
            table.setText("Country", countries[i]);
            table.post();
        }
    }
    TMain& startShowing() {
        TMain& w = start();
        w.SetViewerOptions();
        return w;
    }
    // Fills the window and presses Start; presses Cancel when the window stays open.
    void replace(int field, const QString& search, const QString& replacement,
                 bool confirm = false) {
        platform_.queueModal([=, this](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Search and Replace"));
            d.findChild<QComboBox*>(QStringLiteral("FieldBox"))->setCurrentIndex(field - 1);
            d.findChild<ui::MaskedEdit*>(QStringLiteral("SearchText"))->setMaskedText(search);
            d.findChild<ui::MaskedEdit*>(QStringLiteral("ReplaceText"))->setMaskedText(replacement);
            d.findChild<QCheckBox*>(QStringLiteral("ConfirmBox"))->setChecked(confirm);
            d.findChild<QPushButton*>(QStringLiteral("StartButton"))->click();
            counters = d.findChild<QLabel*>(QStringLiteral("ProcessedCount"))->text() + " " +
                       d.findChild<QLabel*>(QStringLiteral("FoundCount"))->text() + " " +
                       d.findChild<QLabel*>(QStringLiteral("ChangedCount"))->text();
            stayedOpen = d.isVisible();
            if (stayedOpen) d.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
        });
        trigger(QStringLiteral("MenuSearchReplace"));
    }

    QString counters;
    bool stayedOpen = false;
};

TEST_F(SearchReplaceFlowTest, ReplacesDuringASearchAndLeavesTheGridSortedWithTheSearchOn) {
    TMain& w = startShowing();
    w.setSearchCriteria([](const engine::RecordView& r) { return r.text(0) != "4"; });
    w.EnableEndSearch();
    w.OpenMyTable();
    w.SetViewerOptions();
    replace(3, QStringLiteral("chile"), QStringLiteral("Bolivia"));
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral("Finished: Global Search and Replace Complete.")});
    EXPECT_EQ(counters, QStringLiteral("5 3 3"));
    EXPECT_FALSE(stayedOpen);
    EXPECT_TRUE(w.searchActive());
    EXPECT_EQ(w.MyTable.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(gridCatalogs(w), (QStringList{"1", "3", "5", "2"}));
    EXPECT_EQ(gridText(w, 0, 3), QStringLiteral("Bolivia"));
}

TEST_F(SearchReplaceFlowTest, NoToEveryQuestionChangesNothing) {
    TMain& w = startShowing();
    for (int i = 0; i < 3; ++i) platform_.queueAnswer(ui::MessageAnswer::No);
    replace(3, QStringLiteral("Chile"), QStringLiteral("Peru"), true);
    const QStringList boxes = platform_.boxSummary();
    ASSERT_EQ(boxes.size(), 4);
    EXPECT_EQ(boxes[0], QStringLiteral("Confirm: Item = \"1\".  Change this record?"));
    EXPECT_EQ(boxes[2], QStringLiteral("Confirm: Item = \"5\".  Change this record?"));
    EXPECT_EQ(counters, QStringLiteral("5 3 0"));
    EXPECT_EQ(platform_.busyDepth(), 0);
    EXPECT_EQ(gridText(w, 1, 3), QStringLiteral("Chile"));
}

TEST_F(SearchReplaceFlowTest, RefusalsKeepTheWindowOpenAndChangeNothing) {
    startShowing();
    replace(14, QString(), QStringLiteral("01/02/1999"));
    EXPECT_TRUE(stayedOpen);
    replace(6, QStringLiteral("5"), QStringLiteral("five"));
    EXPECT_TRUE(stayedOpen);
    replace(0, QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_EQ(platform_.boxSummary(),
              (QStringList{QStringLiteral("Error: ") + editing::kBadSearchDate,
                           QStringLiteral("Error: ") + editing::kBadReplaceValue,
                           QStringLiteral("Error: ") + editing::kNoFieldSelected}));
}

TEST_F(SearchReplaceFlowTest, TheEntryBoxesFollowTheFieldClass) {
    startShowing();
    platform_.queueModal([](QDialog& d) {
        auto* field = d.findChild<QComboBox*>(QStringLiteral("FieldBox"));
        auto* search = d.findChild<ui::MaskedEdit*>(QStringLiteral("SearchText"));
        EXPECT_EQ(field->count(), 25);
        EXPECT_EQ(field->currentIndex(), -1);
        field->setCurrentIndex(2);  // Country, 20 characters
        search->setText(QStringLiteral("Chile"));
        EXPECT_EQ(search->maxLength(), 20);
        EXPECT_TRUE(search->editMask().isEmpty());
        field->setCurrentIndex(13);  // the date
        EXPECT_EQ(search->editMask(), QStringLiteral("99/99/0000;1"));
        EXPECT_EQ(search->maskedText().trimmed(), QStringLiteral("/  /"));
        field->setCurrentIndex(4);  // Market Value
        EXPECT_EQ(search->editMask(), QStringLiteral("ccccccccc;1"));
    });
    trigger(QStringLiteral("MenuSearchReplace"));
}

}  // namespace
}  // namespace app::testing
