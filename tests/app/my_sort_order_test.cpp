#include "app/my_sort_order.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "app_test_env.h"
#include "collection/other_process.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "engine/table.h"
#include "ui/window_colors.h"

namespace app::testing {
namespace {

using collection::SortLevels;
using collection::testing::catalogsInOrder;

class MySortOrderTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        dbf = path(QStringLiteral("STAMPS.DBF"));
        collection::testing::makeStampCollection(dbf, {{"b", "Spain", 1950, "19970307"},
                                                       {"A", "austria", 1890, "19961231"},
                                                       {"c", "France", 1920, "19970225"}});
        collection::rebuildSortTagOnOpen(table, dbf, collection::BuildSortString(levels));
    }

    SortOrderContext context() {
        SortOrderContext c;
        c.table = &table;
        c.collectionPath = dbf;
        c.levels = &levels;
        for (int n = 1; n <= collection::kFieldCount; ++n)
            c.labels.append(QStringLiteral("Field %1").arg(n));
        c.labels[2] = QStringLiteral("Land");
        c.writeSettings = [this] { ++writes; };
        c.reapplyViewer = [this] { ++reapplied; };
        c.colors[collection::ColorRole::ComboBackground] = 0x00FFFF;  // yellow
        return c;
    }

    static QComboBox* combo(QDialog& d, int n) {
        return d.findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(n));
    }
    static void click(QDialog& d, const char* button) {
        d.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }

    QString dbf;
    engine::Table table;
    SortLevels levels{3, 7, 0, 0};
    int writes = 0;
    int reapplied = 0;
};

TEST_F(MySortOrderTest, ShowsTheLevelsAmongTheLabelsAndCancelChangesNothing) {
    platform_.queueModal([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Sort Order"));
        for (int n = 1; n <= 4; ++n) {
            ASSERT_NE(combo(d, n), nullptr);
            EXPECT_EQ(combo(d, n)->count(), 26);
            EXPECT_EQ(combo(d, n)->itemText(0), QStringLiteral("<NONE>"));
            EXPECT_EQ(combo(d, n)->itemText(3), QStringLiteral("Land"));
            EXPECT_EQ(combo(d, n)->itemText(25), QStringLiteral("Field 25"));
        }
        EXPECT_EQ(combo(d, 1)->currentIndex(), 3);
        EXPECT_EQ(combo(d, 2)->currentIndex(), 7);
        EXPECT_EQ(combo(d, 3)->currentIndex(), 0);
        EXPECT_EQ(combo(d, 1)->palette().color(QPalette::Base), QColor(Qt::yellow));
        // Centred on the scripted 1024 x 768 screen.
        EXPECT_EQ(d.pos(), ui::centredPosition(d.frameGeometry().size(), QSize(1024, 768), false));
        combo(d, 1)->setCurrentIndex(1);
        click(d, "CancelButton");
    });
    EXPECT_FALSE(TMySortOrder::ChooseSortOrder(context()));
    EXPECT_EQ(levels, (SortLevels{3, 7, 0, 0}));
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
    EXPECT_TRUE(platform_.boxes().empty());
}

TEST_F(MySortOrderTest, OkRebuildsTheOrderAndCloses) {
    platform_.queueModal([](QDialog& d) {
        combo(d, 1)->setCurrentIndex(14);
        combo(d, 2)->setCurrentIndex(0);
        click(d, "OkButton");
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_TRUE(TMySortOrder::ChooseSortOrder(context()));
    EXPECT_EQ(levels, (SortLevels{14, 0, 0, 0}));
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(reapplied, 1);
    EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"A", "c", "b"}));
    EXPECT_TRUE(platform_.boxes().empty());
}

TEST_F(MySortOrderTest, OkWhileAnotherProgramHoldsTheTableKeepsTheWindowOpen) {
    collection::testing::OtherProcessHolding other(dbf);
    ASSERT_TRUE(other.holds());
    platform_.queueModal([](QDialog& d) {
        combo(d, 1)->setCurrentIndex(1);
        click(d, "OkButton");
        EXPECT_TRUE(d.isVisible());
        click(d, "CancelButton");
    });
    EXPECT_FALSE(TMySortOrder::ChooseSortOrder(context()));
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral("Error: ") + collection::kSortInUse});
    EXPECT_EQ(levels, (SortLevels{3, 7, 0, 0}));
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(reapplied, 1);
    ASSERT_TRUE(table.isOpen());
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"A", "c", "b"}));
}

TEST_F(MySortOrderTest, ScalesByTheScreenFactor) {
    SortOrderContext c = context();
    c.show.scaleFactor = 1.25;
    int width = 0;
    platform_.queueModal([&](QDialog& d) { width = d.width(); });
    TMySortOrder::ChooseSortOrder(c);
    EXPECT_EQ(width, 425);
}

}  // namespace
}  // namespace app::testing
