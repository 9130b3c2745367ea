// The viewer grid with a leading column before the fields (the stamps' pictures): the field
// columns keep their fields, widths and editing, and a picture that comes in late repaints only
// its own cell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSet>
#include <QSignalSpy>

#include "data_grid_test_tables.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/grid_leading_column.h"

namespace {

using gridtest::StampTableFile;

constexpr int kCatalog = 1, kCountry = 3, kYear = 7;

// Answers an image for the records in `ready`, nothing for the others (still being made).
class FakePictures : public ui::GridLeadingColumn {
  public:
    QVariant cell(std::uint32_t recno, int role) override {
        asked.insert(recno);
        if (role != Qt::DecorationRole || !ready.contains(recno)) return {};
        QImage image(80, 40, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image;
    }
    QString title() const override { return QStringLiteral("Picture"); }
    int width() const override { return 70; }
    int rowHeight() const override { return 50; }

    QSet<std::uint32_t> ready;
    QSet<std::uint32_t> asked;
};

class GridLeadingColumnTest : public testing::Test {
  protected:
    void show(const StampTableFile& file) {
        model = gridtest::showInGrid(table, file, grid);
        grid.resize(900, 400);  // wide enough for the picture and several fields
        grid.show();
        QApplication::processEvents();
    }
    int columnOf(int field) const { return gridtest::columnOfField(*model, field); }

    engine::Table table;
    std::unique_ptr<ui::StampTableModel> model;
    ui::DataGrid grid;
    FakePictures pictures;
};

TEST_F(GridLeadingColumnTest, FieldColumnsKeepTheirFieldsWidthsAndTitlesAfterIt) {
    StampTableFile file(gridtest::numberedStamps(3));
    show(file);
    const int fields = model->columnCount();
    const int countryWidth = grid.columnWidth(columnOf(kCountry));
    const int plainRow = grid.rowHeight(0);

    model->setLeadingColumn(&pictures);
    ASSERT_EQ(model->columnCount(), fields + 1);
    EXPECT_EQ(model->firstFieldColumn(), 1);
    EXPECT_EQ(model->fieldAt(0), 0);
    EXPECT_EQ(model->fieldAt(1), kCatalog);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Picture"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(),
              QString::fromUtf8(collection::schemaField(kCatalog).label.data()));
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("C1"));
    EXPECT_EQ(grid.columnWidth(0), 70);
    EXPECT_EQ(grid.columnWidth(columnOf(kCountry)), countryWidth);
    EXPECT_EQ(grid.rowHeight(0), qMax(plainRow, 50));
    // The grid starts on the first field, not on the picture.
    EXPECT_EQ(grid.currentIndex().column(), 1);

    model->setLeadingColumn(nullptr);
    EXPECT_EQ(model->columnCount(), fields);
    EXPECT_EQ(model->fieldAt(0), kCatalog);
    EXPECT_EQ(grid.rowHeight(0), plainRow);
}

TEST_F(GridLeadingColumnTest, CellEditsWriteTheFieldOfTheirColumnAndThePictureIsNotEditable) {
    StampTableFile file({{{kCountry, "Chile"}, {kYear, "1901"}}, {{kCountry, "Peru"}}});
    show(file);
    ui::DataGridOptions o;
    o.cellEditing = true;
    grid.applyOptions(o);
    model->setLeadingColumn(&pictures);

    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->setData(model->index(0, 0), QStringLiteral("x")));

    const QModelIndex country = model->index(1, columnOf(kCountry));
    ASSERT_EQ(country.column(), kCountry);  // one place to the right of its field number - 1
    grid.setCurrentIndex(country);
    grid.edit(country);
    QApplication::processEvents();
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Bolivia"));
    emit grid.itemDelegate()->commitData(editor);
    emit grid.itemDelegate()->closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
    QApplication::processEvents();
    EXPECT_EQ(file.storedText(2, kCountry), "Bolivia");
    EXPECT_EQ(file.storedText(2, kCatalog), "");

    EXPECT_TRUE(model->setData(model->index(0, columnOf(kYear)), QStringLiteral("1955")));
    EXPECT_EQ(file.storedText(1, kYear), "1955");
    EXPECT_EQ(file.storedText(1, kCountry), "Chile");
}

TEST_F(GridLeadingColumnTest, ALatePictureRepaintsOnlyTheCellThatAskedForIt) {
    StampTableFile file(gridtest::numberedStamps(40));
    show(file);
    model->setLeadingColumn(&pictures);
    QApplication::processEvents();
    ASSERT_TRUE(pictures.asked.contains(2));  // painting asked for the rows on screen
    EXPECT_FALSE(pictures.asked.contains(40));

    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    pictures.ready.insert(2);
    emit pictures.cellReady(2);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model->index(1, 0));
    EXPECT_EQ(changed[0][1].toModelIndex(), model->index(1, 0));
    EXPECT_EQ(changed[0][2].value<QList<int>>(), QList<int>{Qt::DecorationRole});
    emit pictures.cellReady(40);  // never on screen: nothing to repaint
    EXPECT_EQ(changed.count(), 1);

    QApplication::processEvents();
    const QRect cell = grid.visualRect(model->index(1, 0));
    const QImage shot = grid.viewport()->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(cell.center())), QColor(Qt::red));
    const QRect empty = grid.visualRect(model->index(2, 0));
    EXPECT_NE(QColor(shot.pixel(empty.center())), QColor(Qt::red));
}

}  // namespace
