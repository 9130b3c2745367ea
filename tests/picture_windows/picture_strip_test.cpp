#include "picture_windows/picture_strip.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "collection/collection_file.h"
#include "engine/table.h"
#include "pictures/picture_store.h"
#include "ui/scripted_platform.h"

namespace {

using picture_windows::PictureStrip;

class PictureStripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table = dir.filePath("stamps.DBF");
        collection::MakeNewDB(table, {});
        engine::Table t;
        t.open(table.toStdString(), engine::OpenMode::Exclusive);
        for (const char* country : {"Spain", "Chile"}) {
            t.append();
            t.setText("Country", country);
            t.post();
        }
        t.close();
        open.open(table.toStdString(), engine::OpenMode::Shared);
        for (const char* name : {"front.png", "back.png", "cert.png"}) {
            QImage image(30, 20, QImage::Format_RGB32);
            image.fill(QColor(name[0] * 2, name[1], 90));
            image.save(dir.filePath(name));
        }
        strip.setCollection(table, &open);
    }
    QStringList stored(std::uint32_t recno) {
        QStringList out;
        for (const auto& p : pictures::PictureStore(table).pictures(recno)) out << p.originalName;
        return out;
    }

    QTemporaryDir dir;
    QString table;
    engine::Table open;
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform scoped{platform};
    PictureStrip strip;
};

TEST_F(PictureStripTest, PicturesOfANewRecordWaitForItsUpdateAndGoWithoutOne) {
    strip.showRecord(0);
    platform.queueFilePaths({dir.filePath("front.png"), dir.filePath("back.png")});
    strip.addFromDialog();
    QImage pasted(8, 8, QImage::Format_RGB32);
    pasted.fill(Qt::yellow);
    platform.setClipboardImage(pasted);
    strip.pasteFromClipboard();
    EXPECT_EQ(strip.names(), (QStringList{"front.png", "back.png", "Pasted picture.png"}));
    EXPECT_EQ(strip.waiting(), 3);
    EXPECT_TRUE(pictures::PictureStore(table).empty());

    strip.recordPosted(2);  // the Update wrote the new record as number 2
    EXPECT_EQ(stored(2), (QStringList{"front.png", "back.png", "Pasted picture.png"}));
    EXPECT_EQ(strip.waiting(), 0);
    // Linked with the record as written.
    EXPECT_EQ(pictures::PictureStore(table).pictures(2)[0].fingerprint,
              pictures::fingerprintOf(open.record(2)));

    // Another new record whose pictures are never updated: nothing kept.
    strip.showRecord(0);
    strip.addFiles({dir.filePath("cert.png")});
    strip.showRecord(1);
    EXPECT_TRUE(stored(1).isEmpty());
    EXPECT_EQ(pictures::PictureStore(table).all().size(), 3u);
    EXPECT_TRUE(platform.allAnswersUsed());
}

TEST_F(PictureStripTest, AnExistingRecordsPicturesChangeAtOnce) {
    strip.showRecord(1);
    strip.addFiles({dir.filePath("front.png"), dir.filePath("back.png"), dir.filePath("cert.png")});
    EXPECT_EQ(stored(1), (QStringList{"front.png", "back.png", "cert.png"}));
    strip.select(2);
    strip.makeSelectedMain();
    EXPECT_EQ(stored(1), (QStringList{"cert.png", "front.png", "back.png"}));
    strip.select(1);
    strip.removeSelected();
    EXPECT_EQ(stored(1), (QStringList{"cert.png", "back.png"}));
    EXPECT_EQ(strip.names(), stored(1));

    // A file that is no picture is refused with its name; nothing is added.
    QFile text(dir.filePath("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just words");
    text.close();
    strip.addFiles({dir.filePath("front.png"), text.fileName()});
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].title, QStringLiteral("Pictures"));
    EXPECT_TRUE(platform.boxes()[0].text.contains("notes.txt"));
    EXPECT_EQ(stored(1), (QStringList{"cert.png", "back.png"}));

    // An empty clipboard says so.
    strip.pasteFromClipboard();
    EXPECT_EQ(platform.boxes().back().text, QStringLiteral("The clipboard holds no picture."));
}

}  // namespace
