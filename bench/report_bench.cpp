// Running the "120 Column 1 Line Report" over a large collection, against the sqlite3 shell
// exporting the same six columns in the same order to CSV, on the same machine, in one run.
//
// The collection is made as the program makes one (collection::MakeNewDB) and filled with the
// synthetic stamps of bench_data.h, the tag NewIndex on Country kept while appending; sqlite
// imports the same records from CSV and indexes the same key (neither timed). Then, each side's
// best of three rounds:
//   text   the report to a text file through reports::ReportJob (mode 3: the renderer walks the
//          table in tag order, lays out the pages' line arithmetic and writes every line), from
//          its first call to the file closed; against one sqlite3 process running
//          `.mode csv` and SELECT of Catalog, Country, Year, FaceValue, Quantity, Descriptio
//          ORDER BY the same key into a file, process start included. Target: ratio <= 0.5.
//   pdf    the same report to a PDF file at PDF_RECORDS stamps (first PDF_RECORDS of the
//          order, through a filter on the record number), against our own text-file time for
//          the same records. Target: <= 4.
//   heap   the highest heap in use (malloc'd bytes, sampled at every page and every few hundred
//          records) while the text run lays out the report, above the heap in use when it
//          began; the same for one preview recording of the whole report (the page-start
//          states). Target: under 200 MB each. The
//          memory-mapped table is not heap.
//
// Usage: report_bench [RECORDS] [PDF_RECORDS] [FOLDER] [--keep]
//   defaults 1,000,000, 100,000 and /tmp. Files go to FOLDER/tess_report_bench_RECORDS and
//   are removed at the end unless --keep is given.
#include <malloc.h>

#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_data.h"
#include "collection/collection_file.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "engine/table.h"
#include "report_bench_settings.h"
#include "reports/report_definition.h"
#include "reports/report_job.h"
#include "sqlite_shell.h"

namespace {

using namespace bench;

constexpr std::uint64_t kSeed = 20240611;
constexpr int kRounds = 3;
const collection::SortLevels kLevels{3, 0, 0, 0};
constexpr const char* kSqliteIndex =
    "CREATE INDEX newindex ON stamps(upper(substr(country,1,80)));\n";

// Bytes the C library's allocator has handed out (C++ and Qt alike), mapped blocks included.
std::size_t mallocInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void makeCollection(const SyntheticCollection& data, const QString& dbf) {
    if (!collection::MakeNewDB(dbf, {})) throw std::runtime_error("cannot create the collection");
    engine::Table t;
    t.open(dbf.toStdString(), engine::OpenMode::Exclusive);
    t.addIndexTag(collection::kSortTagName.toStdString(),
                  collection::BuildSortString(kLevels).toStdString());
    for (std::uint32_t r = 0; r < data.size(); ++r) {
        t.append();
        for (int f = 0; f < kStampFieldCount; ++f) t.setText(f, data.field(r, f));
        t.post();
    }
}

reports::RenderSettings renderSettings() {
    return reportBenchSettings(kLevels);
}

std::string sqliteExport(const std::string& out, std::uint32_t limit) {
    std::string sql = ".mode csv\n.output \"" + out +
                      "\"\nSELECT catalog, country, year, facevalue, quantity, descriptio FROM "
                      "stamps ORDER BY upper(substr(country,1,80))";
    if (limit) sql += " LIMIT " + std::to_string(limit);
    return sql + ";\n";
}

struct Timing {
    double best = 1e300;
    void add(double s) { best = std::min(best, s); }
};

int run(std::uint32_t records, std::uint32_t pdfRecords, const std::string& folder, bool keep) {
    const std::string dir = folder + "/tess_report_bench_" + std::to_string(records);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string csv = dir + "/stamps.csv";
    const std::string db = dir + "/stamps.sqlite";
    const QString dbf = QString::fromStdString(dir + "/STAMPS.DBF");

    auto t0 = std::chrono::steady_clock::now();
    {
        const SyntheticCollection data(records, kSeed);
        data.writeCsv(csv);
        makeCollection(data, dbf);
    }
    runSqliteShell(
        db, sqliteCreateTable() + ".import --csv --skip 1 \"" + csv + "\" stamps\n" + kSqliteIndex,
        "/dev/null", dir);
    std::printf("Report benchmark, %u records in %s (made in %.1f s, not timed)\n", records,
                dir.c_str(), secondsSince(t0));
    std::fflush(stdout);

    const reports::ReportDefinition report = reports::defaultReports()[0];
    engine::Table table;
    table.open(dbf.toStdString(), engine::OpenMode::Shared);
    table.selectIndex(collection::kSortTagName.toStdString());

    // The records of the first pdfRecords places of the order (not timed).
    std::vector<bool> firstOnes(table.physicalCount() + 1, false);
    {
        std::uint32_t n = 0;
        for (table.first(); !table.eof() && n < pdfRecords; table.next(), ++n)
            firstOnes[table.recNo()] = true;
    }

    Timing text, sqlite, pdf, smallText;
    std::size_t peakBytes = 0;
    bool sound = true;
    for (int round = 1; round <= kRounds; ++round) {
        table.clearFilter();
        reports::ReportJob job(report, table, renderSettings(), reports::letterPage());
        const std::size_t before = mallocInUse();
        std::size_t peak = before;
        // Sampled at every page and every few hundred records.
        job.setPageStarted([&peak](int) { peak = std::max(peak, mallocInUse()); });
        t0 = std::chrono::steady_clock::now();
        sound = job.runToText(QString::fromStdString(dir + "/report.txt")) ==
                    reports::RunResult::Completed &&
                sound;
        const double t = secondsSince(t0);
        peakBytes = std::max(peakBytes, std::max(peak, mallocInUse()) - before);
        text.add(t);
        const double s = runSqliteShell(db, sqliteExport(dir + "/export.csv", 0), "/dev/null", dir);
        sqlite.add(s);

        // The first pdfRecords of the order, to a PDF file and to a text file.
        table.setFilter([&firstOnes](const engine::RecordView& r) {
            return r.recNo() < firstOnes.size() && firstOnes[r.recNo()];
        });
        t0 = std::chrono::steady_clock::now();
        reports::ReportJob small(report, table, renderSettings(), reports::letterPage());
        sound = small.runToText(QString::fromStdString(dir + "/small.txt")) ==
                    reports::RunResult::Completed &&
                sound;
        const double st = secondsSince(t0);
        smallText.add(st);
        t0 = std::chrono::steady_clock::now();
        sound = small.runToPdf(QString::fromStdString(dir + "/small.pdf")) ==
                    reports::RunResult::Completed &&
                sound;
        const double p = secondsSince(t0);
        pdf.add(p);
        std::printf("round %d: text %.3f s, sqlite %.3f s, text %u %.3f s, pdf %u %.3f s\n", round,
                    t, s, pdfRecords, st, pdfRecords, p);
        std::fflush(stdout);
    }
    // The preview's recording of the whole report, once: the renderer's state at each page
    // start.
    table.clearFilter();
    double previewSeconds = 0;
    std::size_t previewPeak = 0;
    int previewPages = 0;
    {
        reports::ReportJob job(report, table, renderSettings(), reports::letterPage());
        reports::RecordedReport pages;
        const std::size_t before = mallocInUse();
        std::size_t peak = before;
        job.setPageStarted([&peak](int) { peak = std::max(peak, mallocInUse()); });
        t0 = std::chrono::steady_clock::now();
        sound = job.runToPages(pages) == reports::RunResult::Completed && sound;
        previewSeconds = secondsSince(t0);
        previewPeak = std::max(peak, mallocInUse()) - before;
        previewPages = pages.pageCount();
        // Any page is laid out on demand.
        t0 = std::chrono::steady_clock::now();
        const reports::Page last = pages.page(previewPages - 1);
        std::printf("preview: %d pages counted in %.2f s; last page laid out in %.4f s\n",
                    previewPages, previewSeconds, secondsSince(t0));
        sound = !last.texts.empty() && sound;
    }
    table.close();

    const double textRatio = text.best / sqlite.best;
    const double pdfRatio = pdf.best / smallText.best;
    const double heapMb = peakBytes / 1e6;
    std::printf("\n%-44s %10s %10s %7s %7s %6s\n", "step", "ours s", "against s", "ratio", "target",
                "result");
    std::printf("%-44s %10.3f %10.3f %7.3f %7.2f %6s\n",
                ("text file, " + std::to_string(records) + " vs sqlite csv").c_str(), text.best,
                sqlite.best, textRatio, 0.5, textRatio <= 0.5 ? "PASS" : "MISS");
    std::printf("%-44s %10.3f %10.3f %7.3f %7.2f %6s\n",
                ("pdf, " + std::to_string(pdfRecords) + " vs our text file").c_str(), pdf.best,
                smallText.best, pdfRatio, 4.0, pdfRatio <= 4.0 ? "PASS" : "MISS");
    std::printf("%-44s %10.1f MB %17s %6s\n", "heap peak while laying out (text run)", heapMb,
                "< 200 MB", heapMb < 200 ? "PASS" : "MISS");
    std::printf("%-44s %10.1f MB %17s %6s\n", "heap peak while laying out (preview, once)",
                previewPeak / 1e6, "< 200 MB", previewPeak / 1e6 < 200 ? "PASS" : "MISS");
    std::printf("(best of %d rounds; sqlite: one sqlite3 process, start included)\n", kRounds);
    if (!keep) std::filesystem::remove_all(dir);
    if (!sound) std::printf("ERROR: a report run did not complete\n");
    return sound ? 0 : 1;
}

bool parseCount(const char* text, std::uint32_t& value) {
    const char* end = text + std::strlen(text);
    auto [p, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && p == end && value > 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::uint32_t records = 1000000, pdfRecords = 100000;
    if ((argc > 1 && !parseCount(argv[1], records)) ||
        (argc > 2 && !parseCount(argv[2], pdfRecords))) {
        std::fprintf(stderr, "usage: %s [RECORDS] [PDF_RECORDS] [FOLDER] [--keep]\n", argv[0]);
        return 2;
    }
    const std::string folder = argc > 3 ? argv[3] : "/tmp";
    const bool keep = argc > 4 && std::strcmp(argv[4], "--keep") == 0;
    try {
        return run(records, std::min(pdfRecords, records), folder, keep);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "report_bench: %s\n", e.what());
        return 1;
    }
}
