// Thumbnails of large photographs: the store's thumbnail maker against ImageMagick.
//
//   thumbnail_bench [COUNT] [FOLDER] [--megapixels=M] [--keep] [--prepare] [--convert=PATH]
//
// Makes COUNT (default 100) distinct JPEG photographs of M megapixels (default 12, 4000 x 3000)
// in FOLDER/tess_thumbnail_bench (default /tmp; photographs already there are used again, so a
// --keep or --prepare run saves making them next time; --prepare only makes them), then times,
// on the same files in the same run:
//  - ours: pictures::makeThumbnail(path, 256) on every file, one after the other on one thread
//    (JPEG decoded at reduced size), and the same on a thread pool of every core;
//  - ImageMagick: `convert FILE -thumbnail 256x256 OUT.jpg` once a file, one after the other
//    (skipped, saying so, when `convert` is not on the PATH). --convert=PATH names the program
//    to run instead of the first `convert` on the PATH (a wrapper script in front of the real
//    one would charge ImageMagick with the wrapper's own start-up).
// Prints each time and the ratio ours (one thread) / ImageMagick; the target is at most 0.5.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentMap>
#include <QFileInfo>
#include <QThread>
#include <cmath>
#include <cstdio>

#include "pictures/picture_reading.h"

namespace {

// A photograph-like picture: smooth colour gradients, shapes and fine lines (like perforations),
// different for each `seed`, so that JPEG has the work it has with real scans.
QImage photograph(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, width, height);
    g.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 120, 230));
    g.setColorAt(1, QColor::fromHsv((seed * 37 + 140) % 360, 200, 90));
    p.fillRect(image.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 60; ++i) {
        p.setBrush(QColor::fromHsv((seed * 11 + i * 29) % 360, 160, 180, 140));
        p.setPen(QPen(Qt::black, 3));
        p.drawEllipse(QPoint((i * 677 + seed * 97) % width, (i * 389 + seed * 53) % height),
                      60 + i * 7 % 300, 40 + i * 13 % 200);
    }
    p.setPen(QPen(QColor(40, 40, 40), 1));
    for (int x = 0; x < width; x += 9) p.drawLine(x, 0, x + height / 3, height);
    p.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int count = 100;
    QString folder = QStringLiteral("/tmp");
    double megapixels = 12;
    bool keep = false;
    bool prepareOnly = false;
    QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    int position = 0;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--keep"))
            keep = true;
        else if (a == QLatin1String("--prepare"))
            prepareOnly = keep = true;
        else if (a.startsWith(QLatin1String("--convert=")))
            convert = a.mid(10);
        else if (a.startsWith(QLatin1String("--megapixels=")))
            megapixels = a.mid(13).toDouble();
        else if (position++ == 0)
            count = a.toInt();
        else
            folder = a;
    }
    if (count <= 0 || megapixels <= 0) {
        std::fprintf(stderr, "usage: thumbnail_bench [COUNT] [FOLDER] [--megapixels=M] [--keep] "
                             "[--prepare] [--convert=PATH]\n");
        return 2;
    }
    QDir dir(folder + QStringLiteral("/tess_thumbnail_bench"));
    dir.mkpath(QStringLiteral("out"));
    const int width = int(std::sqrt(megapixels * 1e6 * 4 / 3));
    const int height = width * 3 / 4;
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        if (!QFileInfo::exists(path)) photograph(width, height, i).save(path, "JPEG", 90);
        files << path;
    }
    std::printf("%d photographs of %d x %d (%.1f megapixels)\n", count, width, height,
                width * height / 1e6);
    if (prepareOnly) return 0;

    QElapsedTimer timer;
    timer.start();
    int made = 0;
    for (const QString& f : files) made += pictures::makeThumbnail(f, 256).ok() ? 1 : 0;
    const double ours = timer.elapsed() / 1000.0;
    timer.restart();
    const QList<bool> results = QtConcurrent::blockingMapped(
        files, [](const QString& f) { return pictures::makeThumbnail(f, 256).ok(); });
    const double pooled = timer.elapsed() / 1000.0;
    std::printf("ours, one thread:     %8.2f s  (%d thumbnails, %.1f ms each)\n", ours, made,
                ours * 1000 / count);
    std::printf("ours, %d threads:      %8.2f s  (%lld thumbnails)\n", QThread::idealThreadCount(),
                pooled, static_cast<long long>(results.count(true)));

    if (convert.isEmpty()) {
        std::printf("ImageMagick's convert is not installed: comparison skipped\n");
    } else {
        timer.restart();
        for (int i = 0; i < count; ++i) {
            QProcess::execute(convert, {files[i], QStringLiteral("-thumbnail"),
                                        QStringLiteral("256x256"),
                                        dir.filePath(QStringLiteral("out/%1.jpg").arg(i))});
        }
        const double magick = timer.elapsed() / 1000.0;
        std::printf("ImageMagick convert:  %8.2f s  (%.1f ms each)\n", magick, magick * 1000 / count);
        std::printf("ratio ours / ImageMagick: %.3f (target at most 0.5)\n", ours / magick);
    }
    if (!keep) dir.removeRecursively();
    return 0;
}
