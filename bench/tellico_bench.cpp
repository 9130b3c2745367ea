// Import of a Tellico stamp collection (a .tc file without pictures) through the program's own
// run, against the sqlite3 shell importing the same records as CSV and indexing them, on the same
// machine, in one run.
//
// The synthetic stamps of bench_data.h are written once as a CSV file for sqlite (a title line,
// every value quoted) and once as a Tellico .tc file: they are imported from the CSV into a
// collection and exported from it with interchange::exportTellico (neither is timed). Then, in
// several rounds with the best of each side compared:
//  - the engine side opens an empty collection made as the program makes one (its tag NewIndex
//    on Country) shared, runs interchange::importTellico and closes it;
//  - the sqlite side runs CREATE TABLE, `.import --csv --skip 1` and CREATE INDEX on the same key
//    in one process (its time includes starting the process).
// Target: at most 0.5.
//
// Usage: tellico_bench [RECORDS] [FOLDER] [--keep] [--rounds=N]
//   RECORDS defaults to 100,000, FOLDER to /tmp; five rounds. Files go to
//   FOLDER/tess_tellico_bench_RECORDS and are removed at the end unless --keep is given.
// Exits with 1 when a run fails or the sides disagree on the number of records.
#include <QString>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench_collection.h"
#include "bench_data.h"
#include "quoted_csv.h"
#include "collection/collection_file.h"
#include "collection/date_format.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "engine/table.h"
#include "interchange/import_run.h"
#include "interchange/tellico_run.h"
#include "sqlite_shell.h"

namespace {

using namespace bench;

constexpr std::uint64_t kSeed = 20240611;
const collection::DateFormat kDateFormat{7, false};
const collection::SortLevels kLevels{3, 0, 0, 0};
constexpr const char* kSqliteKey = "upper(substr(country,1,80))";

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void emptyCollection(const std::string& dbf, bool withSortTag) {
    std::filesystem::remove(dbf);
    std::filesystem::remove(std::filesystem::path(dbf).replace_extension(".MDX"));
    if (!collection::MakeNewDB(QString::fromStdString(dbf), {}))
        throw std::runtime_error("cannot create the collection");
    if (!withSortTag) return;
    engine::Table t;
    t.open(dbf, engine::OpenMode::Exclusive);
    t.addIndexTag(collection::kSortTagName.toStdString(),
                  collection::BuildSortString(kLevels).toStdString());
}

int run(std::uint32_t records, const std::string& folder, bool keep) {
    const std::string dir = folder + "/tess_tellico_bench_" + std::to_string(records);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string csv = dir + "/stamps.txt";
    const std::string db = dir + "/stamps.sqlite";
    const std::string source = dir + "/SOURCE.DBF";
    const std::string tc = dir + "/stamps.tc";
    const std::string dbf = dir + "/STAMPS.DBF";
    collection::applyDateFormat(kDateFormat.type, kDateFormat.leadingZeros);

    interchange::FieldAssignment all;
    for (int k = 1; k <= kStampFieldCount; ++k) all.push_back(k);
    interchange::ImportOptions options;
    options.dateFormat = kDateFormat;
    options.currentYear = 2024;

    auto t0 = std::chrono::steady_clock::now();
    {
        const SyntheticCollection data(records, kSeed);
        writeQuotedCsv(data, csv);
    }
    {
        emptyCollection(source, false);
        engine::Table t;
        t.open(source, engine::OpenMode::Shared);
        const interchange::ImportResult r =
            interchange::importText(t, csv, kStampFieldCount, true, all, options);
        if (!r.error.empty()) throw std::runtime_error(r.error);
        interchange::ExportRequest request;
        request.dateFormat = kDateFormat;
        const interchange::ExportResult e = interchange::exportTellico(t, tc, request, "Bench");
        if (!e.error.empty()) throw std::runtime_error(e.error);
    }
    std::printf("Tellico import, %u entries in %s (%.1f MB; files made in %.2f s, not timed)\n",
                records, dir.c_str(), double(std::filesystem::file_size(tc)) / 1e6,
                secondsSince(t0));
    std::fflush(stdout);

    const std::string sqliteImport = sqliteCreateTable() + ".import --csv --skip 1 \"" + csv +
                                     "\" stamps\nCREATE INDEX newindex ON stamps(" + kSqliteKey +
                                     ");\n";
    double best = 1e300, bestSqlite = 1e300;
    bool sound = true;
    for (int round = 1; round <= bench::benchRounds(); ++round) {
        emptyCollection(dbf, true);
        std::filesystem::remove(db);
        t0 = std::chrono::steady_clock::now();
        std::uint64_t added = 0;
        {
            engine::Table t;
            t.open(dbf, engine::OpenMode::Shared);
            const interchange::ImportResult r = interchange::importTellico(t, tc, options);
            if (!r.error.empty()) throw std::runtime_error(r.error);
            added = r.added;
        }
        const double engine = secondsSince(t0);
        const double sqlite = runSqliteShell(db, sqliteImport, "/dev/null", dir);
        sound = added == records && sound;
        std::printf("round %d: Tellico import %.3f s, sqlite CSV import + index %.3f s\n", round,
                    engine, sqlite);
        std::fflush(stdout);
        best = std::min(best, engine);
        bestSqlite = std::min(bestSqlite, sqlite);
    }
    const double ratio = best / bestSqlite;
    std::printf("\n%-30s %10s %10s %7s %7s %6s\n", "step", "engine s", "sqlite s", "ratio",
                "target", "result");
    std::printf("%-30s %10.3f %10.3f %7.3f %7.2f %6s\n", "Tellico import + NewIndex", best,
                bestSqlite, ratio, 0.5, ratio <= 0.5 ? "PASS" : "MISS");
    std::printf("(best of %d each; ratio = engine/sqlite, PASS when <= target)\n", bench::benchRounds());
    if (!keep) std::filesystem::remove_all(dir);
    if (!sound) std::printf("ERROR: the record counts disagree\n");
    return sound ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::runBenchMain(argc, argv, "tellico_bench", run, 100000);
}
