#include <gtest/gtest.h>

#include <QApplication>
#include <QToolButton>
#include <memory>

#include "data_grid_test_tables.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/record_navigator.h"

namespace {

using Button = ui::RecordNavigator::Button;
using gridtest::StampTableFile;

constexpr int kCatalog = 1;

class NavigatorTest : public testing::Test {
  protected:
    void bind(const StampTableFile& file) {
        model = gridtest::showInGrid(table, file, grid);
        ui::DataGridOptions o;
        o.cellEditing = true;
        grid.applyOptions(o);
        nav.bind(&grid);
        QObject::connect(&nav, &ui::RecordNavigator::changed, [this] { ++changes; });
        QObject::connect(&nav, &ui::RecordNavigator::errorOccurred,
                         [this](const QString& m) { errors.append(m); });
    }
    void click(Button b) { nav.button(b)->click(); }

    engine::Table table;
    std::unique_ptr<ui::StampTableModel> model;
    ui::DataGrid grid;
    ui::RecordNavigator nav;
    int changes = 0;
    QStringList errors;
};

TEST_F(NavigatorTest, MoveButtonsMoveTheCursorAndTheGrid) {
    StampTableFile file(gridtest::numberedStamps(5));
    bind(file);
    const std::pair<Button, std::uint32_t> steps[] = {{Button::Last, 5},  {Button::Prior, 4},
                                                      {Button::Prior, 3}, {Button::First, 1},
                                                      {Button::Next, 2},  {Button::Refresh, 2}};
    for (const auto& [button, recno] : steps) {
        click(button);
        EXPECT_EQ(table.recNo(), recno);
        EXPECT_EQ(grid.currentIndex().row(), int(recno) - 1);
    }
    EXPECT_EQ(changes, 6);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NavigatorTest, BrowseModeShowsOnlyTheMoves) {
    const Button moves[] = {Button::First, Button::Prior, Button::Next, Button::Last};
    const Button others[] = {Button::Insert, Button::Delete, Button::Edit,
                             Button::Post,   Button::Cancel, Button::Refresh};
    nav.setVisibleButtons(ui::RecordNavigator::moveButtons());
    for (Button b : moves) EXPECT_TRUE(nav.button(b)->isVisibleTo(&nav));
    for (Button b : others) EXPECT_FALSE(nav.button(b)->isVisibleTo(&nav));
    nav.setVisibleButtons(ui::RecordNavigator::allButtons());
    for (Button b : others) EXPECT_TRUE(nav.button(b)->isVisibleTo(&nav));
    for (Button b : others) EXPECT_FALSE(nav.button(b)->toolTip().isEmpty());
    // A screen reader names every button in words, not by its glyph.
    EXPECT_EQ(nav.button(Button::First)->accessibleName(), QStringLiteral("First record"));
    EXPECT_EQ(nav.button(Button::Post)->accessibleName(), QStringLiteral("Post edit"));
    for (Button b : others) EXPECT_EQ(nav.button(b)->accessibleName(), nav.button(b)->toolTip());
}

TEST_F(NavigatorTest, DeleteOnlyAsksAndDeleteCurrentDeletes) {
    StampTableFile file(gridtest::numberedStamps(3));
    bind(file);
    int asked = 0;
    QObject::connect(&nav, &ui::RecordNavigator::deleteRequested, [&asked] { ++asked; });
    click(Button::Next);
    click(Button::Delete);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(model->rowCount(), 3);
    nav.deleteCurrent();
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("C3"));
    EXPECT_EQ(grid.currentIndex().row(), 1);
    engine::Table fresh;
    fresh.open(file.path(), engine::OpenMode::Shared);
    EXPECT_EQ(fresh.recordCount(), 2u);
}

TEST_F(NavigatorTest, InsertShowsAPendingRowThatPostWrites) {
    StampTableFile file(gridtest::numberedStamps(2));
    bind(file);
    click(Button::Insert);
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_TRUE(model->hasPendingInsert());
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_TRUE(model->setData(model->index(2, 0), QStringLiteral("NEW")));
    EXPECT_EQ(model->index(2, 0).data().toString(), QStringLiteral("NEW"));
    {
        engine::Table fresh;
        fresh.open(file.path(), engine::OpenMode::Shared);
        EXPECT_EQ(fresh.recordCount(), 2u);  // not written before Post
    }
    click(Button::Post);
    EXPECT_FALSE(model->hasPendingInsert());
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(file.storedText(3, kCatalog), "NEW");
    EXPECT_EQ(grid.currentIndex().row(), 2);
}

TEST_F(NavigatorTest, CancelDropsAnInsertionAndAnEdit) {
    StampTableFile file(gridtest::numberedStamps(2));
    bind(file);
    click(Button::Insert);
    click(Button::Cancel);
    EXPECT_EQ(model->rowCount(), 2);
    click(Button::Edit);
    EXPECT_EQ(table.state(), engine::EditState::Edit);
    table.setText(kCatalog - 1, "CHANGED");
    click(Button::Cancel);
    EXPECT_EQ(table.state(), engine::EditState::Browse);
    EXPECT_EQ(file.storedText(1, kCatalog), "C1");
}

TEST_F(NavigatorTest, RefreshShowsRecordsAddedElsewhere) {
    StampTableFile file(gridtest::numberedStamps(2));
    bind(file);
    {
        engine::Table other;
        other.open(file.path(), engine::OpenMode::Shared);
        gridtest::appendStamp(other, {{kCatalog, "ELSEWHERE"}});
    }
    click(Button::Refresh);
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(2, 0).data().toString(), QStringLiteral("ELSEWHERE"));
}

TEST_F(NavigatorTest, EngineErrorsAreSignalledNotThrown) {
    StampTableFile file;
    bind(file);
    EXPECT_NO_THROW(nav.deleteCurrent());  // nothing to delete
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(errors[0].isEmpty());
    EXPECT_EQ(changes, 0);
    table.close();
    errors.clear();
    for (Button b : {Button::First, Button::Insert, Button::Post, Button::Refresh})
        EXPECT_NO_THROW(click(b));  // a closed table is not acted on
    EXPECT_TRUE(errors.isEmpty());
}

}  // namespace
