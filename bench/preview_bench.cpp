// The report preview of the "120 Column 1 Line Report" over a large collection, against writing
// the same report to a text file, on the same machine, in one run.
//
// The collection is made as the program makes one (collection::MakeNewDB) and filled with the
// synthetic stamps of bench_data.h, the tag NewIndex on Country kept while appending (not
// timed). Then, best of ROUNDS rounds of each, the two interleaved:
//   text     the report to a text file through reports::ReportJob::runToText, from its first
//            call to the file closed.
//   page 1   what View does: the report recorded through ReportJob::runToPages, then the
//            preview window TMyPreview made and shown on the offscreen platform and its page
//            view painted into an image; from the first call to the image painted. Target:
//            at most 1.2 times the text time.
//   last     with page 1 shown, "Last Page" and the last page painted into an image. Target:
//            under 0.1 s.
// and once, untimed:
//   heap     malloc'd bytes in use (C++ and Qt alike, mapped blocks included) above those in
//            use before the run, sampled at every page and every few hundred records while
//            recording, after page 1 is shown and after the last page is painted. Target:
//            under 200 MB. The memory-mapped table is not heap.
//
// Usage: preview_bench [RECORDS] [FOLDER] [--keep] [--reuse] [--rounds=K]
//   defaults 1,000,000, /tmp and 2 rounds. Files go to FOLDER/tess_preview_bench_RECORDS and
//   are removed at the end unless --keep is given; --reuse takes the collection left there by
//   an earlier --keep run.
#include <malloc.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench_collection.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "engine/table.h"
#include "report_bench_settings.h"
#include "reports/my_preview.h"
#include "reports/preview_page.h"
#include "reports/report_definition.h"
#include "reports/report_job.h"

namespace {

using namespace bench;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kSeed = 20240611;
const collection::SortLevels kLevels{3, 0, 0, 0};
const QString kReportName = QStringLiteral("120 Column 1 Line Report");

// Bytes the C library's allocator has handed out, mapped blocks included.
std::size_t mallocInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

reports::RenderSettings renderSettings() {
    return reportBenchSettings(kLevels);
}

reports::ReportDefinition benchReport() {
    for (const reports::ReportDefinition& r : reports::defaultReports())
        if (r.name == kReportName) return r;
    throw std::runtime_error("no default report named " + kReportName.toStdString());
}

// Paints the page the preview shows into an image, as the screen would get it.
void paintShownPage(reports::TMyPreview& preview) {
    auto* view = preview.findChild<reports::PreviewPage*>(QStringLiteral("MyFilePreview"));
    if (!view) throw std::runtime_error("the preview has no page view");
    QImage image(view->size(), QImage::Format_RGB32);
    view->render(&image);
}

struct PreviewTimes {
    double firstPage = 0;  // from the run's start to page 1 painted
    double record = 0;     // of which recording the pages
    double lastPage = 0;   // Last Page and its painting, after page 1
    int pages = 0;
};

// Records the report and opens the preview on it as View does; `sample` is called while
// recording (at every page and every few hundred records) and at each step after it.
PreviewTimes preview(const reports::ReportDefinition& report, engine::Table& table,
                     const std::function<void()>& sample) {
    PreviewTimes t;
    reports::ReportJob job(report, table, renderSettings(), reports::letterPage());
    reports::RecordedReport pages;
    if (sample) job.setPageStarted([&sample](int) { sample(); });
    const Clock::time_point start = Clock::now();
    if (job.runToPages(pages) != reports::RunResult::Completed)
        throw std::runtime_error("the preview run did not complete");
    t.record = secondsSince(start);
    reports::TMyPreview window(pages, report.name, nullptr);
    window.show();
    paintShownPage(window);
    t.firstPage = secondsSince(start);
    if (sample) sample();

    const Clock::time_point last = Clock::now();
    window.goToPage(window.pageCount());
    paintShownPage(window);
    t.lastPage = secondsSince(last);
    if (sample) sample();
    if (window.currentPage() != pages.pageCount() || pages.pageCount() < 2)
        throw std::runtime_error("the preview did not reach its last page");
    t.pages = pages.pageCount();
    return t;
}

double textFile(const reports::ReportDefinition& report, engine::Table& table,
                const std::string& path) {
    reports::ReportJob job(report, table, renderSettings(), reports::letterPage());
    const Clock::time_point start = Clock::now();
    if (job.runToText(QString::fromStdString(path)) != reports::RunResult::Completed)
        throw std::runtime_error("the text run did not complete");
    return secondsSince(start);
}

int run(std::uint32_t records, const std::string& folder, bool keep, bool reuse, int rounds) {
    const std::string dir = folder + "/tess_preview_bench_" + std::to_string(records);
    const QString dbf = QString::fromStdString(dir + "/STAMPS.DBF");
    Clock::time_point t0 = Clock::now();
    if (!reuse || !std::filesystem::exists(dbf.toStdString())) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        const SyntheticCollection data(records, kSeed);
        makeBenchCollection(data, dbf, collection::BuildSortString(kLevels));
    }
    std::printf("Preview benchmark, %u records in %s (ready in %.1f s, not timed)\n", records,
                dir.c_str(), secondsSince(t0));
    std::fflush(stdout);

    const reports::ReportDefinition report = benchReport();
    engine::Table table;
    table.open(dbf.toStdString(), engine::OpenMode::Shared);
    table.selectIndex(collection::kSortTagName.toStdString());

    double text = 1e300, firstPage = 1e300, record = 1e300, lastPage = 1e300;
    PreviewTimes shape;
    for (int round = 1; round <= rounds; ++round) {
        const double t = textFile(report, table, dir + "/report.txt");
        const PreviewTimes p = preview(report, table, {});
        std::printf(
            "round %d: text %.3f s; preview page 1 %.3f s (recording %.3f s), last page "
            "%.4f s\n",
            round, t, p.firstPage, p.record, p.lastPage);
        std::fflush(stdout);
        text = std::min(text, t);
        firstPage = std::min(firstPage, p.firstPage);
        record = std::min(record, p.record);
        lastPage = std::min(lastPage, p.lastPage);
        shape = p;
    }

    const std::size_t before = mallocInUse();
    std::size_t peak = before;
    preview(report, table, [&peak] { peak = std::max(peak, mallocInUse()); });
    const double heapMb = (peak - before) / 1e6;
    table.close();

    const double ratio = firstPage / text;
    std::printf("\n%d pages\n", shape.pages);
    std::printf("%-40s %10s %10s %7s %8s %6s\n", "step", "preview s", "text s", "ratio", "target",
                "result");
    std::printf("%-40s %10.3f %10.3f %7.3f %8s %6s\n", "page 1 shown vs text file", firstPage, text,
                ratio, "<= 1.2", ratio <= 1.2 ? "PASS" : "MISS");
    std::printf("%-40s %10.3f %10.3f %7.3f\n", "  (recording alone vs text file)", record, text,
                record / text);
    std::printf("%-40s %10.4f %10s %7s %8s %6s\n", "last page shown after page 1", lastPage, "", "",
                "< 0.1 s", lastPage < 0.1 ? "PASS" : "MISS");
    std::printf("%-40s %10.1f MB %17s %8s %6s\n", "heap peak of the preview", heapMb, "",
                "< 200 MB", heapMb < 200 ? "PASS" : "MISS");
    std::printf("(best of %d rounds each)\n", rounds);
    if (!keep) std::filesystem::remove_all(dir);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::uint32_t records = 1000000;
    std::string folder = "/tmp";
    bool keep = false, reuse = false;
    int rounds = 2, positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--keep") {
            keep = true;
        } else if (arg == "--reuse") {
            reuse = true;
        } else if (arg.rfind("--rounds=", 0) == 0) {
            rounds = std::max(1, std::atoi(arg.c_str() + 9));
        } else if (positional == 0) {
            ++positional;
            auto [p, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), records);
            if (ec != std::errc() || p != arg.data() + arg.size() || records == 0) {
                std::fprintf(stderr,
                             "usage: %s [RECORDS] [FOLDER] [--keep] [--reuse] [--rounds=K]\n",
                             argv[0]);
                return 2;
            }
        } else {
            ++positional;
            folder = arg;
        }
    }
    try {
        return run(records, folder, keep, reuse, rounds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "preview_bench: %s\n", e.what());
        return 1;
    }
}
