// A click on a column title of the viewer sorts by that field, as the Sort Order window would.
#include <QHeaderView>

#include "app_test_env.h"
#include "collection/sort_order.h"
#include "record_editor_driver.h"

namespace app::testing {
namespace {

using TitleSortFlowTest = AppTest;

int columnOf(TMain& w, int field) {
    auto* model = w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->fieldAt(c) == field) return c;
    return -1;
}

TEST_F(TitleSortFlowTest, ClickingATitleLeadsTheOrderWithItsFieldAndKeepsTheOthers) {
    makeCollection(masterPath(), {QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A")});
    // Sorted on the year, which all share: record order.
    setCollectionKey(masterPath(), QStringLiteral("Sort Order"), QStringLiteral("Primary Sort"),
                     QStringLiteral("7"));
    TMain& w = start();
    w.SetViewerOptions();
    QHeaderView* header = viewerGrid(w)->horizontalHeader();
    const int catalog = columnOf(w, 1);
    ASSERT_GE(catalog, 0);
    ASSERT_EQ(gridCatalogs(w), (QStringList{"B", "C", "A"}));

    emit header->sectionClicked(catalog);
    EXPECT_EQ(w.collectionSettings().sortLevels, (collection::SortLevels{1, 7, 0, 0}));
    EXPECT_EQ(gridCatalogs(w), (QStringList{"A", "B", "C"}));
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), catalog);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);

    // A second click changes nothing, not even the arrow.
    header->setSortIndicator(catalog, Qt::DescendingOrder);  // what the header itself does
    emit header->sectionClicked(catalog);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(gridCatalogs(w), (QStringList{"A", "B", "C"}));
    EXPECT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
}

TEST(LevelsLedBy, TheFieldLeadsAndTheOthersFollowInOrder) {
    using collection::SortLevels;
    EXPECT_EQ(collection::levelsLedBy({3, 7, 0, 0}, 7), (SortLevels{7, 3, 0, 0}));
    EXPECT_EQ(collection::levelsLedBy({3, 7, 0, 0}, 5), (SortLevels{5, 3, 7, 0}));
    EXPECT_EQ(collection::levelsLedBy({3, 7, 9, 12}, 1), (SortLevels{1, 3, 7, 9}));
    EXPECT_EQ(collection::levelsLedBy({0, 0, 0, 0}, 2), (SortLevels{2, 0, 0, 0}));
    EXPECT_EQ(collection::levelsLedBy({3, 0, 8, 0}, 8), (SortLevels{8, 3, 0, 0}));
}

}  // namespace
}  // namespace app::testing
