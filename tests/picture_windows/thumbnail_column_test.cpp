// The grid's picture column: nothing is decoded while the grid asks, the thumbnail comes later
// with a signal for each record waiting on it, and a damaged picture shows the placeholder.
#include "picture_windows/thumbnail_column.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "collection/collection_file.h"
#include "engine/table.h"
#include "pictures/picture_reading.h"
#include "pictures/picture_store.h"
#include "pictures/thumbnail_loader.h"

namespace {

using picture_windows::ThumbnailColumn;

class ThumbnailColumnTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table = dir.filePath("stamps.DBF");
        collection::MakeNewDB(table, {});
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(dir.filePath("front.jpg"));
        image.fill(Qt::blue);
        image.save(dir.filePath("back.png"));
        column.setCollection(table);
    }
    pictures::Fingerprint none() const { return pictures::fingerprintOf("", "", "", ""); }
    QString accessible(std::uint32_t recno) {
        return column.cell(recno, Qt::AccessibleTextRole).toString();
    }

    QTemporaryDir dir;
    QString table;
    ThumbnailColumn column;
};

TEST_F(ThumbnailColumnTest, TheMainPictureComesLaterForEveryRecordShowingIt) {
    pictures::PictureStore store(table);
    store.add(2, {dir.filePath("front.jpg"), dir.filePath("back.png")}, none());
    store.add(3, {dir.filePath("front.jpg")}, none());  // the same file, stored once
    EXPECT_TRUE(column.cell(1, Qt::DecorationRole).isNull());
    EXPECT_EQ(accessible(1), QStringLiteral("No picture"));

    QSignalSpy ready(&column, &ThumbnailColumn::cellReady);
    EXPECT_TRUE(column.cell(2, Qt::DecorationRole).isNull());  // asked, not waited for
    EXPECT_TRUE(column.cell(3, Qt::DecorationRole).isNull());
    EXPECT_TRUE(column.cell(2, Qt::DecorationRole).isNull());  // a repaint asks again
    EXPECT_EQ(accessible(2), QStringLiteral("Loading picture"));
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 2, 5000);
    EXPECT_EQ(ready[0][0].value<std::uint32_t>() + ready[1][0].value<std::uint32_t>(), 5u);

    const QImage thumbnail = column.cell(2, Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(thumbnail.size(), QSize(64, 48));
    EXPECT_EQ(QColor(thumbnail.pixel(32, 24)).green() > 80, true);
    EXPECT_EQ(accessible(2), QStringLiteral("Picture"));
    EXPECT_EQ(column.cell(2, Qt::ToolTipRole).toString(), QStringLiteral("front.jpg (2 pictures)"));
    EXPECT_EQ(column.cell(3, Qt::ToolTipRole).toString(), QStringLiteral("front.jpg"));
    EXPECT_TRUE(QFileInfo::exists(
        pictures::thumbnailCachePath(store.pictures(2).front(), ThumbnailColumn::kThumbnailSize)));

    // Made main in the editor: the next paint asks for the other picture.
    store.moveToFirst(2, 1);
    EXPECT_TRUE(column.cell(2, Qt::DecorationRole).isNull());
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 3, 5000);
    EXPECT_EQ(column.cell(2, Qt::ToolTipRole).toString(), QStringLiteral("back.png (2 pictures)"));
}

TEST_F(ThumbnailColumnTest, ADamagedPictureShowsThePlaceholderWithItsReason) {
    pictures::PictureStore store(table);
    const auto added = store.add(1, {dir.filePath("front.jpg")}, none());
    QFile file(added.at(0).path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(60);
    file.close();
    QSignalSpy ready(&column, &ThumbnailColumn::cellReady);
    column.cell(1, Qt::DecorationRole);
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 5000);
    const QImage placeholder = column.cell(1, Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(placeholder.size(), QSize(64, 64));
    EXPECT_TRUE(column.cell(1, Qt::ToolTipRole).toString().startsWith("The picture file is damaged"));
    EXPECT_EQ(accessible(1), column.cell(1, Qt::ToolTipRole).toString());
    // Shown from memory from now on: no second attempt, no loop.
    column.cell(1, Qt::DecorationRole);
    column.loader()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(ready.count(), 1);
}

}  // namespace
