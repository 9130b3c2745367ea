#include "picture_windows/picture_pane.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "collection/collection_file.h"
#include "engine/table.h"
#include "pictures/picture_store.h"
#include "ui/scripted_platform.h"

namespace {

using picture_windows::PicturePane;

class PicturePaneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table = dir.filePath("stamps.DBF");
        collection::MakeNewDB(table, {});
        engine::Table t;
        t.open(table.toStdString(), engine::OpenMode::Exclusive);
        const char* countries[] = {"Spain", "Chile", "Peru"};
        for (int i = 0; i < 3; ++i) {
            t.append();
            t.setText("Catalog", std::to_string(i + 1));
            t.setText("Country", countries[i]);
            t.setInteger(t.requireField("Year"), 1900 + i);
            t.post();
        }
        t.close();
        open.open(table.toStdString(), engine::OpenMode::Shared);
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(dir.filePath("front.jpg"));
        pane.resize(280, 400);
        pane.setCollection(table);
    }
    QLabel* imageLabel() { return pane.findChild<QLabel*>("PicturePaneImage"); }
    void waitForPicture() {
        QTRY_VERIFY_WITH_TIMEOUT(!imageLabel()->pixmap().isNull(), 5000);
    }

    QTemporaryDir dir;
    QString table;
    engine::Table open;
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform scoped{platform};
    PicturePane pane;
};

TEST_F(PicturePaneTest, ShowsTheMainPictureAndTellsTheCount) {
    pictures::PictureStore store(table);
    store.add(2, {dir.filePath("front.jpg")}, pictures::fingerprintOf(open.record(2)));
    open.goToRecord(1);
    pane.showRecord(open);
    EXPECT_EQ(pane.accessibleName(), QStringLiteral("Pictures"));
    EXPECT_EQ(pane.accessibleDescription(), QStringLiteral("No pictures of this stamp"));
    open.goToRecord(2);
    pane.showRecord(open);
    EXPECT_EQ(pane.accessibleDescription(), QStringLiteral("1 picture of this stamp"));
    EXPECT_EQ(pane.captionText(), QStringLiteral("1 picture of this stamp"));
    waitForPicture();
    EXPECT_TRUE(imageLabel()->toolTip().isEmpty());

    QSignalSpy opened(&pane, &PicturePane::openRequested);
    QTest::mouseDClick(&pane, Qt::LeftButton);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened[0][0].value<std::uint32_t>(), 2u);
}

TEST_F(PicturePaneTest, ADamagedPictureShowsThePlaceholderWithTheReason) {
    pictures::PictureStore store(table);
    const auto p = store.add(1, {dir.filePath("front.jpg")}, pictures::fingerprintOf(open.record(1)));
    QFile file(p.at(0).path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(60);
    file.close();
    open.goToRecord(1);
    pane.showRecord(open);
    waitForPicture();
    EXPECT_TRUE(imageLabel()->toolTip().startsWith("The picture file is damaged"))
        << imageLabel()->toolTip().toStdString();
}

TEST_F(PicturePaneTest, PicturesOfAMovedRecordAreFlaggedAndRelinkedToTheOneMatch) {
    pictures::PictureStore store(table);
    // As after another program's pack: record 1's pictures were added to record 3.
    store.add(1, {dir.filePath("front.jpg")}, pictures::fingerprintOf(open.record(3)));
    open.goToRecord(1);
    pane.showRecord(open);
    auto* relink = pane.findChild<QPushButton*>("PicturePaneRelink");
    EXPECT_FALSE(relink->isHidden());
    platform.queueAnswer(ui::MessageAnswer::Yes);
    relink->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_TRUE(platform.boxes()[0].text.contains("record 3")) << platform.boxes()[0].text.toStdString();
    EXPECT_EQ(store.count(1), 0);
    EXPECT_EQ(store.count(3), 1);
    EXPECT_TRUE(relink->isHidden());
}

}  // namespace
