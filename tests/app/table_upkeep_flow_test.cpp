// Sort Order, Pack Database and Rebuild Indexes through the main window: the grid follows the
// new order at once, the settings keep the levels, a running search stays in force, "No" changes
// nothing, and a second process holding the table makes each command refuse with its message,
// shown only once the table is open again.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app_test_env.h"
#include "collection/other_process.h"
#include "collection/profile_file.h"
#include "collection/sort_order.h"
#include "collection/table_maintenance.h"
#include "engine/table.h"
#include "record_editor_driver.h"

namespace app::testing {
namespace {

struct Stamp {
    const char* catalog;
    const char* country;
    int year;
    const char* description;
};

// Sorted on Country, Year, Description: 5, 2, 3, 4, 1. On Country alone (equal keys in record
// order): 2, 5, 1, 3, 4.
const std::vector<Stamp> kStamps = {{"1", "Spain", 1950, "b"},
                                    {"2", "austria", 1890, "z"},
                                    {"3", "Spain", 1900, "y"},
                                    {"4", "SPAIN", 1950, "a"},
                                    {"5", "Austria", 1890, "a"}};

// Wraps the scripted platform to look at the main window at the moment each box comes up.
class ProbingPlatform : public ui::ScriptedPlatform {
  public:
    std::function<void()> onBox;
    ui::MessageAnswer messageBox(const ui::MessageBoxRequest& request) override {
        if (onBox) onBox();
        return ScriptedPlatform::messageBox(request);
    }
};

class TableUpkeepFlowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ui::setPlatform(&probe_);
        makeCollection(masterPath());
        engine::Table table;
        table.open(masterPath().toStdString(), engine::OpenMode::Exclusive);
        for (const Stamp& s : kStamps) {
            table.append();
            table.setText("Catalog", s.catalog);
            table.setText("Country", s.country);
            table.setInteger(table.requireField("Year"), s.year);
            table.setText("Descriptio", s.description);
            table.post();
        }
    }

    TMain& startShowing() {
        TMain& w = start();
        w.SetViewerOptions();
        return w;
    }
    // The Catalog column of the grid, top to bottom.
    QStringList gridCatalogs() {
        auto* model = main_->findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
        QStringList out;
        for (int row = 0; row < model->rowCount(); ++row) out << gridText(*main_, row, 1);
        return out;
    }
    std::string tagExpression() {
        for (const engine::TagInfo& tag : main_->MyTable.tags())
            if (tag.name == "NEWINDEX") return tag.expression;
        return {};
    }
    QString storedLevel(const char* key) {
        return collection::ProfileFile(programDir() + QStringLiteral("/MASTER.INI"))
            .read(QStringLiteral("Sort Order"), QString::fromLatin1(key));
    }
    // Chooses `levels` in the Sort Order window and presses Ok (then Cancel, should it stay).
    void chooseLevels(std::array<int, 4> levels) {
        probe_.queueModal([levels](QDialog& d) {
            for (int i = 0; i < 4; ++i)
                d.findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(i + 1))
                    ->setCurrentIndex(levels[i]);
            d.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
            if (d.isVisible()) d.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
        });
    }
    // Keeps every record but catalogue "3" while a search is active.
    void searchWithoutThree(TMain& w) {
        w.setSearchCriteria([](const engine::RecordView& r) { return r.text(0) != "3"; });
        w.EnableEndSearch();
        w.OpenMyTable();
        w.SetViewerOptions();
    }
    void deleteCatalog(const std::string& catalog) {
        engine::Table& t = main_->MyTable;
        for (t.first(); !t.eof(); t.next())
            if (t.text("Catalog") == catalog) {
                t.deleteRecord();
                break;
            }
        main_->SetViewerOptions();
    }
    QString countText() { return main_->findChild<QLabel*>(QStringLiteral("CountLabel"))->text(); }

    ProbingPlatform probe_;
};

TEST_F(TableUpkeepFlowTest, SortOrderThreeLevelsReordersTheGridAtOnceAndKeepsTheSearch) {
    TMain& w = startShowing();
    searchWithoutThree(w);
    chooseLevels({3, 7, 2, 0});
    trigger("SpeedSetOrder");
    EXPECT_TRUE(probe_.boxes().empty());
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,26))+STR(Year,12,0)+Upper(Left(Descriptio,26))");
    EXPECT_EQ(w.sortExpression(), QString::fromStdString(tagExpression()));
    EXPECT_TRUE(w.searchActive());
    EXPECT_EQ(gridCatalogs(), (QStringList{"5", "2", "4", "1"}));
    EXPECT_EQ(w.MyTable.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(storedLevel("Primary Sort"), QStringLiteral("3"));
    EXPECT_EQ(storedLevel("Secondary Sort"), QStringLiteral("7"));
    EXPECT_EQ(storedLevel("Third Level Sort"), QStringLiteral("2"));
    EXPECT_EQ(storedLevel("Fourth Level Sort"), QStringLiteral("0"));
    // Ending the search shows every record in the new order.
    trigger("MenuEndSearch");
    EXPECT_EQ(gridCatalogs(), (QStringList{"5", "2", "3", "4", "1"}));
}

TEST_F(TableUpkeepFlowTest, SortOrderAllNoneShowsRecordOrderAndSameFieldTwiceRepeatsTheTerm) {
    TMain& w = startShowing();
    chooseLevels({0, 0, 0, 0});
    trigger("MenuSortOrder");
    EXPECT_TRUE(w.sortExpression().isEmpty());
    EXPECT_EQ(w.MyTable.selectedIndex(), "");
    EXPECT_EQ(gridCatalogs(), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(storedLevel("Primary Sort"), QStringLiteral("0"));

    chooseLevels({3, 3, 0, 0});
    trigger("MenuSortOrder");
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,40))+Upper(Left(Country,40))");
    EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(gridCatalogs().mid(0, 2), (QStringList{"2", "5"}));
    EXPECT_TRUE(probe_.boxes().empty());
}

TEST_F(TableUpkeepFlowTest, SortOrderWhileAnotherProcessHoldsTheTableChangesNothing) {
    TMain& w = startShowing();
    collection::testing::OtherProcessHolding other(masterPath());
    ASSERT_TRUE(other.holds());
    bool openAtBox = false;
    probe_.onBox = [&] { openAtBox = w.MyTable.isOpen(); };
    chooseLevels({1, 0, 0, 0});
    trigger("MenuSortOrder");
    EXPECT_EQ(probe_.boxSummary(), QStringList{QStringLiteral("Error: ") + collection::kSortInUse});
    EXPECT_EQ(probe_.boxes().back().icon, ui::MessageIcon::Error);
    EXPECT_TRUE(openAtBox);
    EXPECT_EQ(w.collectionSettings().sortLevels, (collection::SortLevels{3, 0, 0, 0}));
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,80))");
    EXPECT_EQ(gridCatalogs().size(), 5);
}

TEST_F(TableUpkeepFlowTest, PackAsksFirstAndRemovesDeletedRecordsForGood) {
    TMain& w = startShowing();
    deleteCatalog("2");
    probe_.queueAnswer(ui::MessageAnswer::No);
    trigger("MenuPackDatabase");
    EXPECT_EQ(w.MyTable.physicalCount(), 5u);

    searchWithoutThree(w);
    for (int round = 0; round < 2; ++round) {  // with deleted records, then without any
        probe_.queueAnswer(ui::MessageAnswer::Yes);
        trigger("MenuPackDatabase");
        EXPECT_EQ(w.MyTable.physicalCount(), 4u);
        EXPECT_EQ(countText(), QStringLiteral("3"));
        EXPECT_EQ(gridCatalogs(), (QStringList{"5", "1", "4"}));
        EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
        EXPECT_TRUE(w.searchActive());
    }
    EXPECT_EQ(probe_.boxSummary(),
              QStringList(3, QStringLiteral("Confirm: ") + collection::kPackQuestion));
}

TEST_F(TableUpkeepFlowTest, RebuildAsksFirstAndKeepsOrderAndSearch) {
    TMain& w = startShowing();
    searchWithoutThree(w);
    probe_.queueAnswer(ui::MessageAnswer::No);
    trigger("MenuRebuildIndexes");
    probe_.queueAnswer(ui::MessageAnswer::Yes);
    trigger("MenuRebuildIndexes");
    EXPECT_EQ(probe_.boxSummary(),
              QStringList(2, QStringLiteral("Confirm: ") + collection::kRebuildQuestion));
    EXPECT_EQ(w.MyTable.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(gridCatalogs(), (QStringList{"2", "5", "1", "4"}));
    EXPECT_TRUE(w.searchActive());
}

TEST_F(TableUpkeepFlowTest, PackAndRebuildRefuseWhileAnotherProcessHoldsTheTable) {
    const struct {
        const char* command;
        QString question;
        QString refusal;
    } cases[] = {{"MenuPackDatabase", collection::kPackQuestion, collection::kPackFailed},
                 {"MenuRebuildIndexes", collection::kRebuildQuestion, collection::kReindexFailed}};
    TMain& w = startShowing();
    deleteCatalog("2");
    collection::testing::OtherProcessHolding other(masterPath());
    ASSERT_TRUE(other.holds());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        probe_.clearRecords();
        // At the refusal the table is open again and the grid shows it.
        std::vector<int> rowsAtBoxes;
        probe_.onBox = [&] {
            const bool shared = w.MyTable.isOpen() && w.MyTable.mode() == engine::OpenMode::Shared;
            rowsAtBoxes.push_back(shared ? int(gridCatalogs().size()) : -1);
        };
        probe_.queueAnswer(ui::MessageAnswer::Yes);
        trigger(c.command);
        EXPECT_EQ(probe_.boxSummary(), (QStringList{QStringLiteral("Confirm: ") + c.question,
                                                    QStringLiteral("Error: ") + c.refusal}));
        EXPECT_EQ(probe_.boxes().back().icon, ui::MessageIcon::Error);
        EXPECT_EQ(rowsAtBoxes, (std::vector<int>{4, 4}));
        EXPECT_EQ(w.MyTable.physicalCount(), 5u);
        EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
    }
}

}  // namespace
}  // namespace app::testing
