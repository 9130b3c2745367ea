// Album pages: the viewed stamps with pictures, grouped by country, laid out in rows of framed
// pictures with captions, and written to PDF with the stored JPEG files embedded as they are.
#include "reports/album_pages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <map>

#include "collection/search_filter.h"
#include "report_test_collection.h"
#include "reports/album_job.h"
#include "reports/report_pages.h"

using namespace report_testing;
using reports::AlbumStamp;
using reports::RunResult;

namespace {

// A picture file of `size` pixels in `format` ("JPG", "PNG"), its colour from `seed`.
QString writePicture(const QString& path, QSize size, const char* format, int seed) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(seed * 37 % 360, 200, 200));
    QPainter p(&image);
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QString::number(seed));
    p.end();
    EXPECT_TRUE(image.save(path, format, 90)) << path.toStdString();
    return path;
}

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Record numbers of the six stamps (record order: C1 Canada, A2 Austria, B1 Belgium, A1
// Austria, B2 Belgium, C2 Canada) given pictures; B2 has none.
class AlbumTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pictures_[1] = writePicture(c.file("c1.jpg"), {300, 200}, "JPG", 1);  // landscape
        pictures_[2] = writePicture(c.file("a2.png"), {100, 200}, "PNG", 2);  // portrait
        pictures_[3] = writePicture(c.file("b1.jpg"), {200, 200}, "JPG", 3);
        pictures_[4] = writePicture(c.file("a1.jpg"), {160, 120}, "JPG", 4);
        pictures_[6] = c.file("missing.jpg");  // named by the store, gone from the disk
    }
    reports::MainPicture lookup() const {
        return [this](std::uint32_t recno) {
            const auto it = pictures_.find(recno);
            return it == pictures_.end() ? QString() : it->second;
        };
    }

    ReportCollection c{sixStamps(), collection::SortLevels{1, 0, 0, 0}};  // by catalogue number
    std::map<std::uint32_t, QString> pictures_;
};

}  // namespace

TEST_F(AlbumTest, ViewedStampsWithPicturesAreGroupedByCountryInViewedOrder) {
    const std::vector<AlbumStamp> stamps = reports::albumStamps(c.table, lookup());
    QStringList order;
    for (const AlbumStamp& s : stamps) order << s.catalogue;
    // Countries alphabetically; within Austria the catalogue order (A1 before A2); B2 has no
    // picture.
    EXPECT_EQ(order, (QStringList{"A1", "A2", "B1", "C1", "C2"}));
    EXPECT_EQ(stamps[0].country, QStringLiteral("Austria"));
    EXPECT_EQ(stamps[0].year, QStringLiteral("1850"));
    EXPECT_EQ(stamps[0].faceValue, QStringLiteral("9 Kreuzer"));
    EXPECT_EQ(stamps[0].description, QStringLiteral("Coat of arms"));
    EXPECT_EQ(stamps[0].shape, QSizeF(160, 120));
    EXPECT_EQ(stamps[1].shape, QSizeF(100, 200));
    EXPECT_TRUE(stamps[4].shape.isEmpty()) << "a missing file has no shape";

    // A search result: only the stamps it accepts.
    c.table.setFilter([&](const engine::RecordView& r) {
        return r.text(c.table.fieldIndex("Country")) == "Belgium";
    });
    const std::vector<AlbumStamp> found = reports::albumStamps(c.table, lookup());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].catalogue, QStringLiteral("B1"));
}

TEST_F(AlbumTest, PagesHoldFramedPicturesWithCaptionsRowsOfTheChosenLengthAndHeadings) {
    reports::AlbumOptions options;
    options.perRow = 2;
    options.today = QDate(2026, 3, 9);
    reports::AlbumJob job(reports::albumStamps(c.table, lookup()), options, reports::letterPage());
    reports::RecordedReport recorded;
    ASSERT_EQ(job.runToPages(recorded), RunResult::Completed);
    ASSERT_GE(recorded.pageCount(), 1);
    std::vector<reports::PlacedImage> images;
    QStringList texts;
    for (int i = 0; i < recorded.pageCount(); ++i) {
        const reports::Page page = recorded.page(i);
        images.insert(images.end(), page.images.begin(), page.images.end());
        for (const reports::PlacedText& t : page.texts) texts << t.text;
    }
    ASSERT_EQ(images.size(), 5u);
    for (const char* want : {"Austria", "Belgium", "Canada", "Austria  1850", "A1  9 Kreuzer",
                             "Coat of arms", "C2", "Page 1", "3/9/26"})
        EXPECT_TRUE(texts.contains(QLatin1String(want))) << want;
    // Austria's two stamps share a row; Belgium starts its own below them.
    EXPECT_DOUBLE_EQ(images[0].y + images[0].height / 2, images[1].y + images[1].height / 2);
    EXPECT_LT(images[0].x, images[1].x);
    EXPECT_GT(images[2].y, images[0].y + images[0].height);
    // Pictures keep their shape: A1 is 4:3, A2 1:2; the missing one fills its frame.
    EXPECT_NEAR(images[0].width / images[0].height, 4.0 / 3.0, 1e-9);
    EXPECT_NEAR(images[1].width / images[1].height, 0.5, 1e-9);
    EXPECT_NEAR(images[4].width, images[4].height, 1e-9);
    // Every picture lies within the page's margins.
    for (const reports::PlacedImage& im : images) {
        EXPECT_GE(im.x, 0.5);
        EXPECT_LE(im.x + im.width, 8.0);
        EXPECT_LE(im.y + im.height, 10.0);
    }
}

TEST_F(AlbumTest, ManyStampsBreakIntoPagesAndEachPageStartsWithItsCountry) {
    std::vector<AlbumStamp> stamps(40);
    for (int i = 0; i < 40; ++i) {
        stamps[i].country = i < 30 ? QStringLiteral("Austria") : QStringLiteral("Belgium");
        stamps[i].catalogue = QStringLiteral("N%1").arg(i);
        stamps[i].picture = pictures_[1];
        stamps[i].shape = QSizeF(3, 2);
    }
    reports::AlbumOptions options;
    options.perRow = 4;
    reports::AlbumJob job(stamps, options, reports::letterPage());
    reports::RecordedReport recorded;
    ASSERT_EQ(job.runToPages(recorded), RunResult::Completed);
    ASSERT_GE(recorded.pageCount(), 2);
    std::size_t placed = 0;
    for (int i = 0; i < recorded.pageCount(); ++i) {
        const reports::Page page = recorded.page(i);
        placed += page.images.size();
        ASSERT_FALSE(page.texts.empty());
        // The first text of a page is its country's heading, above every picture.
        const QString first = page.texts.front().text;
        EXPECT_TRUE(first == QLatin1String("Austria") || first == QLatin1String("Belgium"));
        for (const reports::PlacedImage& im : page.images)
            EXPECT_GT(im.y, page.texts.front().baseline);
    }
    EXPECT_EQ(placed, 40u);
}

TEST_F(AlbumTest, PdfEmbedsJpegFilesAsTheyAreAndDecodesTheOthers) {
    reports::AlbumJob job(reports::albumStamps(c.table, lookup()), reports::AlbumOptions(),
                          reports::letterPage());
    const QString pdf = c.file(QStringLiteral("album.pdf"));
    ASSERT_EQ(job.runToPdf(pdf), RunResult::Completed) << job.error().toStdString();
    const QByteArray bytes = contentsOf(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF-"));
    // The three JPEG files go in byte for byte, not decoded and encoded again.
    for (const char* name : {"c1.jpg", "b1.jpg", "a1.jpg"})
        EXPECT_TRUE(bytes.contains(contentsOf(c.file(QLatin1String(name))))) << name;
    EXPECT_EQ(bytes.count("/Filter /DCTDecode"), 3);

    const QString pdfimages = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (pdfimages.isEmpty()) GTEST_SKIP() << "pdfimages (poppler-utils) is not installed";
    QProcess list;
    list.start(pdfimages, {QStringLiteral("-list"), pdf});
    ASSERT_TRUE(list.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(list.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // A heading, a rule, then one line a picture: three JPEGs and the PNG.
    ASSERT_EQ(lines.size(), 2 + 4) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral(" jpeg ")).size(), 3);
}

TEST_F(AlbumTest, AJpegTurnedByItsExifOrientationIsShownAndEmbeddedTurned) {
    // A 120 by 90 JPEG whose EXIF orientation (6) says: turn a quarter clockwise to show.
    const QString plain = writePicture(c.file("plain.jpg"), {120, 90}, "JPG", 7);
    QByteArray bytes = contentsOf(plain);
    const char exif[] =
        "\xFF\xE1\x00\x22"
        "Exif\0\0"
        "MM\0\x2A\0\0\0\x08"
        "\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"
        "\0\0\0\0";
    bytes.insert(2, QByteArray(exif, sizeof exif - 1));
    const QString turned = c.file(QStringLiteral("turned.jpg"));
    QFile out(turned);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    EXPECT_EQ(reports::pictureShape(turned), QSizeF(90, 120));

    std::vector<AlbumStamp> stamps(1);
    stamps[0].country = QStringLiteral("Austria");
    stamps[0].picture = turned;
    stamps[0].shape = reports::pictureShape(turned);
    reports::AlbumJob job(stamps, reports::AlbumOptions(), reports::letterPage());
    const QString pdf = c.file(QStringLiteral("turned.pdf"));
    ASSERT_EQ(job.runToPdf(pdf), RunResult::Completed);
    const QByteArray written = contentsOf(pdf);
    EXPECT_TRUE(written.contains(bytes)) << "embedded as stored";
    // Painted, the picture is upright: taller than wide where it is drawn.
    reports::RecordedReport recorded;
    ASSERT_EQ(job.runToPages(recorded), RunResult::Completed);
    const reports::Page page = recorded.page(0);
    ASSERT_EQ(page.images.size(), 1u);
    EXPECT_GT(page.images[0].height, page.images[0].width);
    const QImage decoded = reports::decodePicture(page.images[0], QSizeF(1000, 1000));
    EXPECT_EQ(decoded.size(), QSize(90, 120));
}
