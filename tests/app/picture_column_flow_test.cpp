// View "&Thumbnail Column" in the main window: off by default, remembered in the collection's
// settings, and the grid's cells keep editing their own fields while the column is shown.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QComboBox>
#include <QMenuBar>
#include <QTest>

#include "app_test_env.h"
#include "collection/profile_file.h"
#include "engine/table.h"
#include "pictures/picture_store.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"

namespace app::testing {
namespace {

using PictureColumnFlowTest = AppTest;

constexpr int kCountry = 3;

TEST_F(PictureColumnFlowTest, TheColumnIsRememberedAndCellsStillEditTheirFields) {
    makeCollection(masterPath(), {QStringLiteral("A1"), QStringLiteral("B2")});
    setCollectionKey(masterPath(), "Grid Options", "Field Editing", "Yes");
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    ASSERT_TRUE(image.save(path("front.jpg")));
    pictures::PictureStore(masterPath())
        .add(2, {path("front.jpg")}, pictures::fingerprintOf("", "", "", ""));

    TMain& w = start();
    w.show();
    QApplication::processEvents();
    auto* model = w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    auto* grid = w.findChild<ui::DataGrid*>(QStringLiteral("ViewerGrid"));
    auto* item = w.menuBar()->findChild<QAction*>(QStringLiteral("MenuThumbnailColumn"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("&Thumbnail Column"));
    const int fields = model->columnCount();
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(model->fieldAt(0), 1);

    trigger("MenuThumbnailColumn");
    EXPECT_TRUE(w.thumbnailColumnShown());
    EXPECT_TRUE(item->isChecked());
    ASSERT_EQ(model->columnCount(), fields + 1);
    collection::ProfileFile own(programDir() + QStringLiteral("/MASTER.INI"));
    EXPECT_EQ(own.read(QStringLiteral("Pictures"), QStringLiteral("Show Thumbnails")),
              QStringLiteral("1"));

    // Record 2's picture arrives in its cell; record 1 has none.
    QApplication::processEvents();
    QTRY_VERIFY_WITH_TIMEOUT(!model->index(1, 0).data(Qt::DecorationRole).isNull(), 5000);
    EXPECT_TRUE(model->index(0, 0).data(Qt::DecorationRole).isNull());

    // A cell edit in the Country column writes Country.
    int country = -1;
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->fieldAt(c) == kCountry) country = c;
    const QModelIndex cell = model->index(0, country);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    QApplication::processEvents();
    auto* editor = grid->viewport()->findChild<QComboBox*>();  // Country is a list field
    ASSERT_NE(editor, nullptr);
    editor->setEditText(QStringLiteral("Norway"));
    emit grid->itemDelegate()->commitData(editor);
    emit grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
    QApplication::processEvents();
    EXPECT_EQ(w.MyTable.record(1).text(kCountry - 1), "Norway");
    EXPECT_EQ(w.MyTable.record(1).text(0), "A1");

    w.close();
    main_.reset();
    TMain& again = start();
    again.show();
    QApplication::processEvents();
    EXPECT_TRUE(again.thumbnailColumnShown());
    trigger("MenuThumbnailColumn");
    EXPECT_FALSE(again.thumbnailColumnShown());
    collection::ProfileFile after(programDir() + QStringLiteral("/MASTER.INI"));
    EXPECT_EQ(after.read(QStringLiteral("Pictures"), QStringLiteral("Show Thumbnails")),
              QStringLiteral("0"));
}

}  // namespace
}  // namespace app::testing
