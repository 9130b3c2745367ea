// The picture pane moving through a large collection: how long the next record takes to show its
// picture.
//
//   picture_pane_bench [RECORDS] [FOLDER] [--keep]      (default 100,000 records in /tmp)
//
// Makes a collection of RECORDS synthetic stamps and a picture store in which every fifth stamp
// has a picture (20,000 links for 100,000 stamps; 200 distinct 2-megapixel JPEGs shared
// round-robin, so the index is full size), then:
//  - reads the index once (what the first screen with the pane pays);
//  - moves through 1,000 records with the pane shown, as the grid's Next does (table.next(),
//    then PicturePane::showRecord), timing each move until the record's picture is on the pane:
//    first with thumbnails only on disk (the store's cache), then again with them in memory.
// The target is under 20 ms for a record whose picture is cached.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_collection.h"
#include "bench_picture_store.h"
#include "engine/table.h"
#include "picture_windows/picture_pane.h"
#include "pictures/picture_reading.h"
#include "pictures/picture_store.h"

namespace {

struct Figures {
    double mean = 0, p95 = 0, worst = 0;
};

Figures figuresOf(std::vector<double> ms) {
    Figures f;
    if (ms.empty()) return f;
    std::sort(ms.begin(), ms.end());
    for (double v : ms) f.mean += v;
    f.mean /= double(ms.size());
    f.p95 = ms[ms.size() * 95 / 100];
    f.worst = ms.back();
    return f;
}

// Moves through `moves` records from the first, timing each until its picture (if any) shows.
Figures walk(engine::Table& table, picture_windows::PicturePane& pane, int moves) {
    auto* image = pane.findChild<QLabel*>(QStringLiteral("PicturePaneImage"));
    std::vector<double> ms;
    table.first();
    QElapsedTimer timer;
    for (int i = 0; i < moves && !table.eof(); ++i) {
        timer.start();
        table.next();
        pane.showRecord(table);
        if (pane.pictureCount() > 0) {
            while (image->pixmap().isNull()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            ms.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    return figuresOf(ms);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's note that it cannot propagate size hints comes at every paint.
    static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& where, const QString& text) {
        if (!text.contains(QLatin1String("propagateSizeHints"))) standard(type, where, text);
    });
    QApplication app(argc, argv);
    return bench::runBenchMain(argc, argv, "picture_pane_bench",
                               [](std::uint32_t records, const std::string& folder, bool keep) {
        QDir dir(QString::fromStdString(folder) + QStringLiteral("/tess_picture_pane_bench"));
        dir.removeRecursively();
        dir.mkpath(QStringLiteral("."));
        const QString dbf = dir.filePath(QStringLiteral("stamps.DBF"));
        QElapsedTimer timer;
        timer.start();
        bench::makeBenchCollection(bench::SyntheticCollection(records, 21), dbf,
                                   QStringLiteral("Upper(Left(Country,80))"));
        std::printf("collection of %u stamps made in %.1f s\n", records, timer.elapsed() / 1000.0);

        // 200 distinct pictures, linked to every fifth stamp.
        timer.restart();
        const std::size_t links = bench::fillPictureStore(dbf, dir, records, 5);
        pictures::PictureStore source(dir.filePath(QStringLiteral("source.DBF")));
        std::printf("%zu pictures linked in %.1f s\n", links, timer.elapsed() / 1000.0);

        pictures::forgetReadIndexes();  // read as by a program just started
        timer.restart();
        pictures::PictureStore fresh(dbf);
        const int count = fresh.count(5);
        std::printf("index read (first screen's share): %.1f ms (%d picture on record 5)\n",
                    timer.nsecsElapsed() / 1e6, count);
        for (const pictures::Picture& p : source.all()) pictures::cachedThumbnail(p.path, 256);
        for (const pictures::Picture& p : fresh.pictures(5)) (void)p;
        // The store's own copies have their thumbnails cached as the pane makes them.
        for (std::uint32_t r = 1; r <= 200; ++r)
            for (const pictures::Picture& p : fresh.pictures(r * 5))
                pictures::cachedThumbnail(p.path, picture_windows::PicturePane::kThumbnailSize);

        engine::Table table;
        table.open(dbf.toStdString(), engine::OpenMode::Shared);
        picture_windows::PicturePane pane;
        pane.resize(280, 600);
        pane.show();
        pane.setCollection(dbf);
        const Figures disk = walk(table, pane, 1000);
        const Figures memory = walk(table, pane, 1000);
        std::printf("next record, thumbnail on disk:   mean %.2f ms, 95%% %.2f ms, worst %.2f ms\n",
                    disk.mean, disk.p95, disk.worst);
        std::printf("next record, thumbnail in memory: mean %.2f ms, 95%% %.2f ms, worst %.2f ms\n",
                    memory.mean, memory.p95, memory.worst);
        std::printf("target: under 20 ms\n");
        table.close();
        if (!keep) dir.removeRecursively();
        return 0;
    });
}
