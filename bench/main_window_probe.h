// The main window under measurement, for the first-screen benchmarks: a program directory and
// settings folder of their own, the window started on a collection (offscreen platform), its
// grid's paints and record reads counted, and the process's resident set.
//
// openWindow() runs from constructing the main window until the grid's viewport has painted rows
// (OpenTimes); runMainWindowBench() makes the application with the offscreen platform and the
// real platform seam, runs the benchmark and turns its failures into exit status 2.
#pragma once

#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/main_window.h"
#include "engine/error.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/platform.h"
#include "ui/qt_platform.h"

namespace bench::probe {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

inline constexpr int kPaintTimeoutSeconds = 300;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Resident set of this process in KiB (mapped file pages that were touched included).
inline long residentKiB() {
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
inline void writeSettings(const Setup& setup, const fs::path& dbf) {
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

inline std::unique_ptr<Window> openWindow(const Setup& setup, const fs::path& dbf, OpenTimes* times) {
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

inline void closeWindow(std::unique_ptr<Window>& w) {
    w->grid->viewport()->removeEventFilter(&w->watcher);
    w->main->close();
    w.reset();
    QCoreApplication::processEvents();
}

// Drops the offscreen platform's note that it cannot propagate size hints, printed at every
// window shown; everything else goes to the default handler.
inline QtMessageHandler defaultHandler = nullptr;

inline void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    if (defaultHandler) defaultHandler(type, context, message);
}

}  // namespace bench::probe

namespace bench {

// Runs `bench` in an application on the offscreen platform; its status, or 2 on a failure.
inline int runMainWindowBench(int argc, char** argv, const std::function<int()>& bench) {
    // Always the offscreen platform: the measure must not depend on a display or its server.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    probe::defaultHandler = qInstallMessageHandler(probe::quietHandler);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessellon"));
    ui::QtPlatform platform;
    ui::setPlatform(&platform);
    int status = 2;
    try {
        status = bench();
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "engine error: %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
    }
    ui::setPlatform(nullptr);
    return status;
}

}  // namespace bench
