#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <memory>
#include <set>

#include "data_grid_test_tables.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/list_combo_box.h"
#include "ui/list_combo_source.h"
#include "ui/typing_limit.h"

namespace {

using gridtest::StampTableFile;

constexpr int kCatalog = 1, kCountry = 3;

class DataGridTest : public testing::Test {
  protected:
    void show(const StampTableFile& file) {
        grid.setListSource(&lists);
        model = gridtest::showInGrid(table, file, grid);
        grid.resize(640, 400);
        grid.show();
        QApplication::processEvents();
    }
    int columnOf(int field) const {
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->fieldAt(c) == field) return c;
        return -1;
    }

    engine::Table table;
    std::unique_ptr<ui::StampTableModel> model;
    QWidget owner;
    ui::ListComboSource lists{&owner};
    ui::DataGrid grid;
};

TEST_F(DataGridTest, OptionsSwitchIndicatorTitlesAndEditing) {
    StampTableFile file(gridtest::numberedStamps(3));
    show(file);
    ui::DataGridOptions o;
    o.rowIndicator = false;
    o.showTitles = false;
    o.cellEditing = true;
    grid.applyOptions(o);
    EXPECT_FALSE(grid.verticalHeader()->isVisibleTo(&grid));
    EXPECT_FALSE(grid.horizontalHeader()->isVisibleTo(&grid));
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectItems);
    EXPECT_NE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(model->isEditable());

    o = ui::DataGridOptions();
    grid.applyOptions(o);
    EXPECT_TRUE(grid.verticalHeader()->isVisibleTo(&grid));
    EXPECT_TRUE(grid.horizontalHeader()->isVisibleTo(&grid));
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(model->isEditable());
}

TEST_F(DataGridTest, TitleAlignmentCodesAndOthersKeepTheLast) {
    StampTableFile file;
    show(file);
    const std::pair<int, Qt::Alignment> cases[] = {{1, Qt::AlignLeft},
                                                   {3, Qt::AlignRight},
                                                   {0, Qt::AlignRight},
                                                   {2, Qt::AlignHCenter},
                                                   {7, Qt::AlignHCenter}};
    for (const auto& [code, expected] : cases) {
        ui::DataGridOptions o;
        o.titleAlignment = code;
        grid.applyOptions(o);
        EXPECT_EQ(grid.horizontalHeader()->defaultAlignment() & Qt::AlignHorizontal_Mask, expected)
            << code;
    }
}

TEST_F(DataGridTest, FontsColoursAndWidthsInCharacters) {
    StampTableFile file;
    show(file);
    ui::DataGridOptions o;
    o.gridFont = QFont(QStringLiteral("Liberation Sans"), 9);
    o.titleFont = QFont(QStringLiteral("Liberation Serif"), 14);
    o.cellColor = QColor(0xC0, 0xC0, 0xC0);
    o.titleColor = QColor(0, 0, 0x80);
    grid.applyOptions(o);
    const int narrow = grid.columnWidth(0);
    EXPECT_EQ(grid.font().pointSize(), 9);
    EXPECT_EQ(grid.horizontalHeader()->font().pointSize(), 14);
    EXPECT_EQ(lists.comboForField(kCountry)->font().pointSize(), 9);
    EXPECT_EQ(grid.palette().color(QPalette::Base), o.cellColor);
    EXPECT_EQ(grid.horizontalHeader()->palette().color(QPalette::Button), o.titleColor);

    o.gridFont.setPointSize(18);
    grid.applyOptions(o);
    EXPECT_GT(grid.columnWidth(0), narrow);
    auto columns = model->columns();
    columns[0].widthChars = 30;
    model->setColumns(columns);
    EXPECT_EQ(grid.columnWidth(0), grid.columnWidthForChars(30));
    EXPECT_GT(grid.columnWidth(0), grid.columnWidth(1));  // 30 characters against 15
}

// With only one kind of line switched on, only that kind is drawn.
TEST_F(DataGridTest, RowAndColumnLinesAreDrawnSeparately) {
    StampTableFile file({{}, {}, {}});
    show(file);
    ui::DataGridOptions o;
    o.cellColor = Qt::white;
    const QRgb white = QColor(Qt::white).rgb();
    const struct {
        bool rows, columns;
    } cases[] = {{true, false}, {false, true}, {false, false}, {true, true}};
    for (const auto& c : cases) {
        o.rowLines = c.rows;
        o.columnLines = c.columns;
        grid.applyOptions(o);
        const QRect cell = grid.visualRect(model->index(1, 1));  // not the current row
        const QImage image = grid.viewport()->grab().toImage();
        EXPECT_EQ(image.pixel(cell.center().x(), cell.bottom()) != white, c.rows);
        EXPECT_EQ(image.pixel(cell.right(), cell.center().y()) != white, c.columns);
    }
}

TEST_F(DataGridTest, ListFieldsEditWithACopyOfTheirComboBox) {
    StampTableFile file({{{kCountry, "Chile"}}});
    show(file);
    ui::DataGridOptions o;
    o.cellEditing = true;
    o.gridFont = QFont(QStringLiteral("Liberation Sans"), 11);
    grid.applyOptions(o);
    lists.comboForField(kCountry)->setItems({QStringLiteral("Chile"), QStringLiteral("Peru")});
    lists.comboForField(kCountry)->appendItem(QStringLiteral("France"));

    QStyleOptionViewItem option;
    option.font = grid.font();
    QAbstractItemDelegate* delegate = grid.itemDelegate();
    const QModelIndex country = model->index(0, columnOf(kCountry));
    std::unique_ptr<QWidget> editor(delegate->createEditor(grid.viewport(), option, country));
    auto* box = qobject_cast<QComboBox*>(editor.get());
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(2), QStringLiteral("France"));
    EXPECT_EQ(box->font().pointSize(), 11);
    EXPECT_EQ(ui::typingLimit(box->lineEdit()), 20);
    delegate->setEditorData(box, country);
    EXPECT_EQ(box->currentText(), QStringLiteral("Chile"));
    box->setEditText(QStringLiteral("France"));
    delegate->setModelData(box, model.get(), country);
    EXPECT_EQ(file.storedText(1, kCountry), "France");

    const QModelIndex catalog = model->index(0, columnOf(kCatalog));
    std::unique_ptr<QWidget> plain(delegate->createEditor(grid.viewport(), option, catalog));
    auto* line = qobject_cast<QLineEdit*>(plain.get());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(ui::typingLimit(line), 12);
}

TEST_F(DataGridTest, CurrentRowAndCursorFollowEachOther) {
    StampTableFile file(gridtest::numberedStamps(6));
    show(file);
    int moved = 0;
    QObject::connect(&grid, &ui::DataGrid::currentRecordChanged, [&moved] { ++moved; });
    grid.setCurrentIndex(model->index(3, 2));
    EXPECT_EQ(table.recNo(), 4u);
    EXPECT_EQ(moved, 1);
    table.moveTo(1);
    grid.syncToCursor();
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_EQ(grid.currentIndex().column(), 2);  // the column stays
    EXPECT_EQ(moved, 1);                         // following the cursor does not move it again
}

TEST_F(DataGridTest, RowIndicatorMarksTheCurrentRow) {
    StampTableFile file(gridtest::numberedStamps(6));
    show(file);
    grid.setCurrentIndex(model->index(2, 0));
    QHeaderView* rows = grid.verticalHeader();
    const QImage image = rows->grab().toImage();
    auto darkIn = [&](int row) {
        int dark = 0;
        const int top = rows->sectionViewportPosition(row);
        for (int y = top; y < top + rows->sectionSize(row); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 100) ++dark;
        return dark;
    };
    EXPECT_GT(darkIn(2), 4);
    EXPECT_EQ(darkIn(1), 0);
    EXPECT_EQ(darkIn(3), 0);
}

TEST_F(DataGridTest, DoubleClickAsksForTheRecordEditor) {
    StampTableFile file(gridtest::numberedStamps(2));
    show(file);
    int activated = 0;
    QObject::connect(&grid, &ui::DataGrid::recordActivated, [&activated] { ++activated; });
    const QPoint at = grid.visualRect(model->index(1, 0)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, grid.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, grid.viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, grid.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &press);
    QApplication::sendEvent(grid.viewport(), &release);
    QApplication::sendEvent(grid.viewport(), &twice);
    EXPECT_EQ(activated, 1);
    EXPECT_EQ(table.recNo(), 2u);
}

// Scrolling to the end of a large table reads only the rows that come into view.
TEST_F(DataGridTest, ScrollingToTheEndReadsOnlyVisibleRows) {
    constexpr int kRows = 200000;
    StampTableFile file;
    {
        engine::Table filler;
        filler.open(file.path(), engine::OpenMode::Shared);
        for (int n = 1; n <= kRows; ++n)
            gridtest::appendStamp(filler, {{kCatalog, std::to_string(n)}});
    }
    show(file);
    grid.viewport()->grab();
    std::set<int> rows;
    model->setRowReadHook([&rows](int row) { rows.insert(row); });
    grid.scrollToBottom();
    QApplication::processEvents();
    grid.viewport()->grab();
    const int visible = grid.viewport()->height() / grid.verticalHeader()->defaultSectionSize() + 2;
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(int(rows.size()), visible);
    EXPECT_GE(*rows.begin(), kRows - visible);
    EXPECT_EQ(*rows.rbegin(), kRows - 1);
    EXPECT_EQ(model->index(kRows - 1, 0).data().toString(), QStringLiteral("200000"));
}

TEST_F(DataGridTest, TitlesKeepTheirFontWhenARowIsSelected) {
    StampTableFile file(gridtest::numberedStamps(3));
    show(file);
    QHeaderView* titles = grid.horizontalHeader();
    grid.selectionModel()->clearSelection();
    const QImage unselected = titles->grab().toImage();
    grid.selectRow(1);
    ASSERT_TRUE(grid.selectionModel()->isRowSelected(1, {}));
    EXPECT_EQ(titles->grab().toImage(), unselected);
}

TEST_F(DataGridTest, CellTextTheCollectionCannotStoreIsRefusedAndStaysInTheCell) {
    StampTableFile file({{{kCountry, "Chile"}}, {{kCountry, "Peru"}}});
    show(file);
    ui::DataGridOptions o;
    o.cellEditing = true;
    grid.applyOptions(o);
    QStringList refusals;
    QObject::connect(&grid, &ui::DataGrid::errorOccurred,
                     [&refusals](const QString& message) { refusals << message; });
    const QModelIndex country = model->index(0, columnOf(kCountry));
    grid.setCurrentIndex(country);
    grid.edit(country);
    auto* box = grid.viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    QAbstractItemDelegate* delegate = grid.itemDelegate();
    const auto pressEnter = [&] {  // what the cell's editor does on Enter
        emit delegate->commitData(box);
        emit delegate->closeEditor(box, QAbstractItemDelegate::SubmitModelCache);
        QApplication::processEvents();
    };
    const QString refusal = QStringLiteral(
        "\"Country\" contains characters this collection's code page, Western European "
        "(Windows-1252), cannot store: Ε λ ά δ α.  Please correct.");

    box->setEditText(QStringLiteral("Ελλάδα"));
    pressEnter();
    EXPECT_EQ(refusals, QStringList{refusal});
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->currentText(), QStringLiteral("Ελλάδα"));
    EXPECT_EQ(file.storedText(1, kCountry), "Chile");

    // Moving to another record is refused the same way and comes back to the cell.
    grid.setCurrentIndex(model->index(1, columnOf(kCountry)));
    QApplication::processEvents();
    EXPECT_EQ(refusals.size(), 2);
    EXPECT_EQ(grid.currentIndex(), country);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(file.storedText(2, kCountry), "Peru");

    box->setEditText(QStringLiteral("Hellas"));
    pressEnter();
    EXPECT_EQ(refusals.size(), 2);
    EXPECT_EQ(file.storedText(1, kCountry), "Hellas");
}

}  // namespace
