// Start-up benchmark of the main window: how long the program takes from creating its main
// window to the first screen of the viewer grid, for a small and a large collection, measured in
// one run; and what scrolling the large one to its last row reads.
//
//   open_first_screen [FOLDER] [--small=N] [--large=N] [--repeat=K] [--keep] [--reuse]
//
// Two collections (default 1,000 and 1,000,000 records) are written to FOLDER (default /tmp) in
// tess_open_first_screen/, with a program directory and a settings folder of their own: the
// settings name the collection as the last one used and turn the tip window off. Each round
// starts the main window on each collection in turn (offscreen platform): the time runs from
// constructing the window (which reads the settings and opens the collection) until the grid's
// viewport has painted its rows; of K rounds (default 3) the shortest counts. The target is a
// ratio large / small of at most 1.5.
//
// After the last round the large collection's grid is scrolled to the bottom: the rows the grid
// model read for it and the growth of the process's resident set are reported. Rows read must be
// about a screenful, not the table.
//
// Exit status 0 when both targets are met, 1 when one is missed, 2 on a failure. The folder is
// removed at the end unless --keep is given; --reuse takes the collections a --keep run left
// there when they hold the wanted number of records (for profiling the opening alone).
#include "open_first_screen.h"

#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/main_window.h"
#include "engine/error.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/platform.h"
#include "ui/qt_platform.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kRatioTarget = 1.5;
constexpr int kScrollRowsLimit = 500;
constexpr int kPaintTimeoutSeconds = 300;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Resident set of this process in KiB (mapped file pages that were touched included).
long residentKiB() {
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Notes each paint of the watched widget; the event loop returns only after the paint is done.
class PaintWatcher : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// The main window under measurement, with the grid's paints and record reads counted.
struct Window {
    std::unique_ptr<app::TMain> main;
    ui::DataGrid* grid = nullptr;
    PaintWatcher watcher;
    long rowsRead = 0;
    int lowestRow = -1;
    int highestRow = -1;

    void resetCounts() {
        watcher.painted = false;
        rowsRead = 0;
        lowestRow = highestRow = -1;
    }
    // Runs the event loop until the grid has painted with rows read since resetCounts().
    void waitForRowsPainted() {
        const auto start = Clock::now();
        while (!(watcher.painted && rowsRead > 0)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            if (secondsSince(start) > kPaintTimeoutSeconds)
                throw std::runtime_error("the grid painted no rows within the time limit");
        }
    }
};

struct Setup {
    fs::path root;
    fs::path configDir;
};

// The global settings file: this collection last used, no tip window.
void writeSettings(const Setup& setup, const fs::path& dbf) {
    const fs::path dir = setup.configDir / "tessellon";
    fs::create_directories(dir);
    std::ofstream ini(dir / "TESSELON.INI", std::ios::trunc);
    ini << "[Misc]\nLast Database=" << dbf.string() << "\nShow Tips=No\n";
    if (!ini.flush()) throw std::runtime_error("cannot write the settings in " + dir.string());
}

struct OpenTimes {
    double construct = 0;  // constructing the main window: settings read, collection opened
    double total = 0;      // until the grid has painted its first rows
};

std::unique_ptr<Window> openWindow(const Setup& setup, const fs::path& dbf, OpenTimes* times) {
    writeSettings(setup, dbf);
    auto w = std::make_unique<Window>();
    const auto start = Clock::now();
    w->main = std::make_unique<app::TMain>();
    times->construct = secondsSince(start);
    if (w->main->startFailed()) throw std::runtime_error("the main window did not start");
    w->grid = w->main->findChild<ui::DataGrid*>(QStringLiteral("ViewerGrid"));
    auto* model = w->main->findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    if (!w->grid || !model) throw std::runtime_error("the viewer grid or its model is missing");
    Window* raw = w.get();
    model->setRowReadHook([raw](int row) {
        ++raw->rowsRead;
        if (raw->lowestRow < 0 || row < raw->lowestRow) raw->lowestRow = row;
        if (row > raw->highestRow) raw->highestRow = row;
    });
    w->grid->viewport()->installEventFilter(&w->watcher);
    w->main->show();
    w->waitForRowsPainted();
    times->total = secondsSince(start);
    return w;
}

void closeWindow(std::unique_ptr<Window>& w) {
    w->grid->viewport()->removeEventFilter(&w->watcher);
    w->main->close();
    w.reset();
    QCoreApplication::processEvents();
}

struct Collection {
    std::uint32_t records;
    fs::path dbf;
    double best = 0;
};

// True when `dbf` is a table of exactly `records` records with the sort tag.
bool holdsRecords(const fs::path& dbf, std::uint32_t records) {
    if (!fs::exists(dbf)) return false;
    engine::Table table;
    table.open(dbf.string(), engine::OpenMode::Shared);
    bool tagged = false;
    for (const engine::TagInfo& tag : table.tags())
        tagged = tagged || QString::fromStdString(tag.name).compare(
                               QLatin1String(bench::kFirstScreenTag), Qt::CaseInsensitive) == 0;
    return tagged && table.physicalCount() == records;
}

struct Options {
    fs::path folder = "/tmp";
    std::uint32_t small = 1000;
    std::uint32_t large = 1000000;
    int repeat = 3;
    bool keep = false;
    bool reuse = false;
};

Options parseOptions(int argc, char** argv) {
    Options o;
    bool folderSeen = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--small=", 0) == 0) {
            o.small = std::uint32_t(std::stoul(a.substr(8)));
        } else if (a.rfind("--large=", 0) == 0) {
            o.large = std::uint32_t(std::stoul(a.substr(8)));
        } else if (a.rfind("--repeat=", 0) == 0) {
            o.repeat = std::max(1, std::stoi(a.substr(9)));
        } else if (a == "--keep") {
            o.keep = true;
        } else if (a == "--reuse") {
            o.reuse = true;
        } else if (!folderSeen && a.rfind("--", 0) != 0) {
            o.folder = a;
            folderSeen = true;
        } else {
            throw std::invalid_argument("unknown argument " + a);
        }
    }
    if (o.small == 0 || o.large == 0) throw std::invalid_argument("record counts must be > 0");
    return o;
}

// Scrolls the open large collection to its last row; reports what that read. True when the rows
// read are about a screenful.
bool measureScroll(Window& w, std::uint32_t records) {
    const long rssBefore = residentKiB();
    w.resetCounts();
    const auto start = Clock::now();
    w.grid->scrollToBottom();
    w.waitForRowsPainted();
    const double seconds = secondsSince(start);
    const long rssGrowth = residentKiB() - rssBefore;
    const int rowHeight = std::max(1, w.grid->verticalHeader()->defaultSectionSize());
    const int screenful = w.grid->viewport()->height() / rowHeight + 1;
    const bool lastShown = w.highestRow == int(records) - 1;
    const bool pass = lastShown && w.rowsRead <= kScrollRowsLimit;
    std::printf(
        "\nscroll to the last row (%u records): %.3f s, %ld record reads for rows %d..%d "
        "(a screen holds %d rows), resident set +%ld KiB -> %s\n",
        records, seconds, w.rowsRead, w.lowestRow + 1, w.highestRow + 1, screenful, rssGrowth,
        pass ? "PASS" : "FAIL");
    if (!lastShown) std::printf("  the last row was not read: the grid did not reach it\n");
    return pass;
}

int run(const Options& o) {
    Setup setup;
    setup.root = o.folder / "tess_open_first_screen";
    setup.configDir = setup.root / "config";
    if (!o.reuse) fs::remove_all(setup.root);
    fs::remove_all(setup.configDir);
    fs::create_directories(setup.root / "program");
    qputenv("TESSELLON_PROGRAM_DIR", QByteArray::fromStdString((setup.root / "program").string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(setup.configDir.string()));

    Collection collections[2] = {{o.small, setup.root / "SMALL.DBF"},
                                 {o.large, setup.root / "LARGE.DBF"}};
    for (Collection& c : collections) {
        if (o.reuse && holdsRecords(c.dbf, c.records)) continue;
        const auto start = Clock::now();
        bench::writeCollection(c.dbf.string(), c.records, 20240601);
        std::printf("wrote %u records to %s in %.1f s\n", c.records, c.dbf.c_str(),
                    secondsSince(start));
    }

    std::unique_ptr<Window> large;
    long largeRssGrowth = 0;
    for (int round = 1; round <= o.repeat; ++round) {
        for (Collection& c : collections) {
            const long rssBefore = residentKiB();
            OpenTimes times;
            auto w = openWindow(setup, c.dbf, &times);
            const long rssGrowth = residentKiB() - rssBefore;
            std::printf(
                "round %d, %9u records: first screen in %.4f s (window constructed in "
                "%.4f s, shown and painted in %.4f s; %ld record reads), resident set "
                "+%ld KiB\n",
                round, c.records, times.total, times.construct, times.total - times.construct,
                w->rowsRead, rssGrowth);
            if (round == 1 || times.total < c.best) c.best = times.total;
            if (round == o.repeat && &c == &collections[1]) {
                large = std::move(w);
                largeRssGrowth = rssGrowth;
            } else {
                closeWindow(w);
            }
        }
    }

    const double ratio = collections[1].best / collections[0].best;
    const bool ratioPass = ratio <= kRatioTarget;
    std::printf("\n%12s %14s\n", "records", "best s");
    for (const Collection& c : collections) std::printf("%12u %14.4f\n", c.records, c.best);
    std::printf("ratio %.2f (target <= %.1f) -> %s\n", ratio, kRatioTarget,
                ratioPass ? "PASS" : "FAIL");
    const long tableKiB = long(fs::file_size(collections[1].dbf) / 1024);
    std::printf(
        "opening the large collection grew the resident set by %ld KiB (table file %ld "
        "KiB)%s\n",
        largeRssGrowth, tableKiB,
        largeRssGrowth > tableKiB / 2 ? ": the opening read the whole table into memory" : "");

    const bool scrollPass = measureScroll(*large, o.large);
    closeWindow(large);
    if (!o.keep) fs::remove_all(setup.root);
    return ratioPass && scrollPass ? 0 : 1;
}

// Drops the offscreen platform's note that it cannot propagate size hints, printed at every
// window shown; everything else goes to the default handler.
QtMessageHandler defaultHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    if (defaultHandler) defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    // Always the offscreen platform: the measure must not depend on a display or its server.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessellon"));
    ui::QtPlatform platform;
    ui::setPlatform(&platform);
    int status = 2;
    try {
        status = run(parseOptions(argc, argv));
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "engine error: %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
    }
    ui::setPlatform(nullptr);
    return status;
}
