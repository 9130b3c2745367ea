// Album pages of many pictures into a PDF file: the peak memory of the run.
//
//   album_bench [PICTURES] [FOLDER] [--png-every=K] [--size=WxH]
//
// Writes PICTURES (default 1000) distinct photographs of WxH pixels (default 4000x3000, 12
// megapixels) as JPEG files into FOLDER (default a temporary folder), every K-th one (default
// 10) as PNG, then runs album pages of three pictures to a row over them into a PDF file and
// prints the time, the process's peak resident memory during the run (VmHWM, reset before it)
// and the PDF's size. The files are removed at the end.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>

#include "reports/album_job.h"
#include "reports/report_job.h"

namespace {

long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

void resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int count = 1000, pngEvery = 10;
    QSize size(4000, 3000);
    QString folder;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a.startsWith(QLatin1String("--png-every=")))
            pngEvery = a.mid(12).toInt();
        else if (a.startsWith(QLatin1String("--size=")))
            size = QSize(a.mid(7).section(QLatin1Char('x'), 0, 0).toInt(),
                         a.mid(7).section(QLatin1Char('x'), 1, 1).toInt());
        else if (a.toInt() > 0)
            count = a.toInt();
        else
            folder = a;
    }
    QTemporaryDir temporary(folder.isEmpty() ? QDir::tempPath() + QStringLiteral("/album-XXXXXX")
                                             : folder + QStringLiteral("/album-XXXXXX"));
    QElapsedTimer timer;
    timer.start();
    std::vector<reports::AlbumStamp> stamps;
    QImage image(size, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i) {
        // A gradient and the picture's number, so that every file differs.
        QPainter p(&image);
        QLinearGradient g(0, 0, size.width(), size.height());
        g.setColorAt(0, QColor::fromHsv(i * 37 % 360, 180, 230));
        g.setColorAt(1, QColor::fromHsv(i * 53 % 360, 220, 90));
        p.fillRect(image.rect(), g);
        p.setFont(QFont(QStringLiteral("Liberation Sans"), size.height() / 20));
        p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Stamp %1").arg(i + 1));
        p.end();
        const bool png = pngEvery > 0 && i % pngEvery == pngEvery - 1;
        const QString path = temporary.filePath(QStringLiteral("p%1.%2").arg(i).arg(
            png ? QStringLiteral("png") : QStringLiteral("jpg")));
        image.save(path, png ? "PNG" : "JPG", 85);
        reports::AlbumStamp s;
        s.country = QStringLiteral("Country %1").arg(i / 40);
        s.year = QString::number(1850 + i % 150);
        s.catalogue = QStringLiteral("N%1").arg(i + 1);
        s.faceValue = QStringLiteral("%1 c").arg(i % 50 + 1);
        s.description = QStringLiteral("Photograph %1 of the benchmark").arg(i + 1);
        s.picture = path;
        s.shape = reports::pictureShape(path);
        stamps.push_back(std::move(s));
    }
    image = QImage();
    std::printf("wrote %d pictures of %dx%d in %.1f s\n", count, size.width(), size.height(),
                timer.elapsed() / 1000.0);

    const QString pdf = temporary.filePath(QStringLiteral("album.pdf"));
    const long before = peakKilobytes();
    resetPeak();
    timer.restart();
    reports::AlbumJob job(std::move(stamps), reports::AlbumOptions(), reports::letterPage());
    const reports::RunResult result = job.runToPdf(pdf);
    const double seconds = timer.elapsed() / 1000.0;
    const long peak = peakKilobytes();
    if (result != reports::RunResult::Completed) {
        std::fprintf(stderr, "album failed: %s\n", qPrintable(job.error()));
        return 1;
    }
    std::printf(
        "album of %d pictures: %.1f s, peak resident memory %.1f MB (before the run: "
        "%.1f MB), PDF %.1f MB\n",
        count, seconds, peak / 1024.0, before / 1024.0, QFile(pdf).size() / (1024.0 * 1024.0));
    return 0;
}
