#include "pictures/picture_reading.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "picture_files.h"
#include "pictures/picture_store.h"
#include "pictures/thumbnail_loader.h"

namespace {

using pictures::testing::writePicture;

// A JPEG of `w` x `h` whose EXIF orientation (6: turn 90 degrees clockwise to show) is set.
QString writeTurnedJpeg(const QDir& dir, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    // An APP1 segment with a little-endian TIFF header and one entry: Orientation = 6.
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0", 8) + QByteArray("\x01\0", 2) +
                            QByteArray("\x12\x01\x03\0\x01\0\0\0\x06\0\0\0", 12) +
                            QByteArray("\0\0\0\0", 4);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    const int length = static_cast<int>(payload.size()) + 2;
    app1.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    jpeg.insert(2, app1);
    const QString path = dir.filePath("turned.jpg");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(jpeg);
    return path;
}

class PictureReadingTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
};

TEST_F(PictureReadingTest, ThumbnailsFitTheSquareAndFollowTheExifOrientation) {
    const QString wide = writePicture(dir.path(), "wide.jpg", Qt::red, 1200, 600);
    EXPECT_EQ(pictures::makeThumbnail(wide, 256).image.size(), QSize(256, 128));
    const QString small = writePicture(dir.path(), "small.png", Qt::red, 100, 50);
    EXPECT_EQ(pictures::makeThumbnail(small, 256).image.size(), QSize(100, 50));  // not enlarged

    const QString turned = writeTurnedJpeg(dir.path(), 400, 200);
    EXPECT_EQ(pictures::readPicture(turned).image.size(), QSize(200, 400));
    EXPECT_EQ(pictures::makeThumbnail(turned, 256).image.size(), QSize(128, 256));
}

TEST_F(PictureReadingTest, MissingAndDamagedPicturesGiveTheirReason) {
    const auto missing = pictures::makeThumbnail(dir.filePath("gone.jpg"), 128);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.reason, QStringLiteral("The picture file is missing."));

    const QString good = writePicture(dir.path(), "cut.jpg", Qt::blue, 300, 300);
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(40);  // the header survives, the picture does not
    file.close();
    const auto damaged = pictures::cachedThumbnail(good, 128);
    EXPECT_FALSE(damaged.ok());
    EXPECT_TRUE(damaged.reason.startsWith("The picture file is damaged")) << damaged.reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pictures::thumbnailCachePath(good, 128)));

    const QImage placeholder = pictures::placeholderImage(QSize(200, 150), damaged.reason);
    EXPECT_EQ(placeholder.size(), QSize(200, 150));
}

TEST_F(PictureReadingTest, ThumbnailsAreCachedInTheStoreAndMadeOffTheCallingThread) {
    pictures::PictureStore store(dir.filePath("stamps.DBF"));
    const QString original = writePicture(dir.path(), "big.png", Qt::green, 900, 600);
    const auto picture = store.add(1, {original}, {}).at(0);
    const QString cache = pictures::thumbnailCachePath(picture, 256);
    EXPECT_TRUE(cache.startsWith(store.folder() + "thumbnails/"));

    pictures::ThumbnailLoader loader;
    QSignalSpy spy(&loader, &pictures::ThumbnailLoader::ready);
    loader.request(picture.path, 256);
    loader.request(picture.path, 256);  // under way: not asked twice
    EXPECT_FALSE(loader.cached(picture.path, 256).has_value());
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.count(), 1);
    const auto result = loader.cached(picture.path, 256);
    ASSERT_TRUE(result && result->ok());
    EXPECT_EQ(result->image.size(), QSize(256, 170));
    EXPECT_TRUE(QFileInfo::exists(cache));

    // Removing the picture removes its cached thumbnails too.
    store.remove(1, 0);
    EXPECT_FALSE(QFileInfo::exists(cache));
}

TEST_F(PictureReadingTest, SmallThumbnailsAreMadeFromALargerCachedOne) {
    const QString photo = dir.filePath("photo.jpg");
    QImage image(1200, 900, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    image.save(photo);
    ASSERT_TRUE(pictures::cachedThumbnail(photo, 256).ok());
    // A pane-sized thumbnail is there: the small one is made from it, even with the photograph
    // now unreadable in place (its cached thumbnails stay valid while the file exists).
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(60);
    file.close();
    const pictures::PictureImage small = pictures::cachedThumbnail(photo, 64);
    ASSERT_TRUE(small.ok()) << small.reason.toStdString();
    EXPECT_EQ(small.image.size(), QSize(64, 48));
    EXPECT_TRUE(QFileInfo::exists(pictures::thumbnailCachePath(photo, 64)));
}

TEST_F(PictureReadingTest, TheNewestRequestIsMadeFirst) {
    // One worker, busy with a large picture while three more are asked for in turn, as when the
    // grid scrolls: the last asked (the rows now on screen) comes first.
    pictures::ThumbnailLoader loader(nullptr, 1);
    QSignalSpy spy(&loader, &pictures::ThumbnailLoader::ready);
    const QString large = writePicture(dir.path(), "large.png", Qt::gray, 3000, 2000);
    loader.request(large, 64, false);
    QStringList asked;
    for (const char* name : {"b.png", "c.png", "d.png"})
        asked << writePicture(dir.path(), name, Qt::red, 50, 50);
    // The pictures are written after the large one started, so it is still being read.
    for (const QString& path : asked) loader.request(path, 64, false);
    while (spy.count() < 4) ASSERT_TRUE(spy.wait(10000));
    QStringList order;
    for (const QList<QVariant>& signal : spy) order << QFileInfo(signal[0].toString()).fileName();
    EXPECT_EQ(order, (QStringList{"large.png", "d.png", "c.png", "b.png"}));
}

}  // namespace
