// Import and export of a large collection through the program's own runs, against the sqlite3
// shell doing the same jobs on the same data, on the same machine, in one run.
//
// The synthetic stamps of bench_data.h are written once as a delimited text file the way the
// program reads one: a title line, every value in double quotes, dates in the program's date
// format (m/d/yyyy here), UTF-8, CR LF. Then, each in several rounds with the best of each side
// compared:
//  - import: the engine side opens an empty collection made as the program makes one (its tag
//    NewIndex on Country, as the program keeps it) shared, as the main window holds it, and runs
//    interchange::importText with all 25 fields assigned, then closes it. The sqlite side runs
//    CREATE TABLE, `.import --csv --skip 1` and CREATE INDEX on the same key in one process.
//    Target: at most 0.5.
//  - text export: every field of every record in the sort order (NewIndex) to a text file with
//    the title line, through interchange::exportText, against sqlite's `.mode csv` output of
//    SELECT * ORDER BY the same key, with headers. Target: at most 0.3.
//  - dBase export: the same records to a new dBase table through interchange::exportDbf, against
//    the same sqlite export. Target: at most 0.5.
// sqlite times include its process start; engine times run from the first engine call to close.
// Setting up (the empty collection before each import round) is not timed on either side.
//
// Usage: interchange_bench [RECORDS] [FOLDER] [--keep] [--rounds=N]
//   RECORDS defaults to 1,000,000, FOLDER to /tmp; five rounds. Files go to
//   FOLDER/tess_interchange_bench_RECORDS and are removed at the end unless --keep is given.
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
#include "interchange/export_run.h"
#include "interchange/import_run.h"
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

// An empty collection as the program makes one, with its sort tag.
void emptyCollection(const std::string& dbf) {
    if (!collection::MakeNewDB(QString::fromStdString(dbf), {}))
        throw std::runtime_error("cannot create the collection");
    engine::Table t;
    t.open(dbf, engine::OpenMode::Exclusive);
    t.addIndexTag(collection::kSortTagName.toStdString(),
                  collection::BuildSortString(kLevels).toStdString());
}

std::uint64_t lineCount(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::uint64_t n = 0;
    char buf[1 << 16];
    while (in.read(buf, sizeof buf) || in.gcount() > 0)
        n += std::uint64_t(std::count(buf, buf + in.gcount(), '\n'));
    return n;
}

struct Step {
    const char* name;
    double target;
    double engine = 1e300;
    double sqlite = 1e300;
};

int run(std::uint32_t records, const std::string& folder, bool keep) {
    const std::string dir = folder + "/tess_interchange_bench_" + std::to_string(records);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string csv = dir + "/stamps.txt";
    const std::string db = dir + "/stamps.sqlite";
    const std::string dbf = dir + "/STAMPS.DBF";
    const std::string textOut = dir + "/export.txt";
    const std::string dbfOut = dir + "/EXPORT.DBF";
    const std::string sqliteOut = dir + "/sqlite.csv";
    collection::applyDateFormat(kDateFormat.type, kDateFormat.leadingZeros);

    auto t0 = std::chrono::steady_clock::now();
    {
        const SyntheticCollection data(records, kSeed);
        writeQuotedCsv(data, csv);
    }
    std::printf("Import and export, %u records in %s (data written in %.2f s, not timed)\n",
                records, dir.c_str(), secondsSince(t0));
    std::fflush(stdout);

    interchange::FieldAssignment all;
    for (int k = 1; k <= kStampFieldCount; ++k) all.push_back(k);
    interchange::ImportOptions importOptions;
    importOptions.dateFormat = kDateFormat;
    importOptions.currentYear = 2024;
    interchange::ExportRequest request;
    request.fields = all;
    request.dateFormat = kDateFormat;
    for (const auto& c : stampColumns()) request.titles.push_back(c.def.name);
    interchange::ExportRequest dbfRequest = request;
    dbfRequest.titles.clear();

    Step import{"import text + NewIndex", 0.5}, text{"export to text, sort order", 0.3},
        dbase{"export to dBase, sort order", 0.5};
    bool sound = true;
    const std::string sqliteImport = sqliteCreateTable() + ".import --csv --skip 1 \"" + csv +
                                     "\" stamps\nCREATE INDEX newindex ON stamps(" + kSqliteKey +
                                     ");\n";
    const std::string sqliteExport = ".headers on\n.mode csv\n.output \"" + sqliteOut +
                                     "\"\nSELECT * FROM stamps ORDER BY " + kSqliteKey + ";\n";
    for (int round = 1; round <= bench::benchRounds(); ++round) {
        emptyCollection(dbf);
        std::filesystem::remove(db);
        t0 = std::chrono::steady_clock::now();
        std::uint64_t added = 0;
        {
            engine::Table t;
            t.open(dbf, engine::OpenMode::Shared);
            const interchange::ImportResult r =
                interchange::importText(t, csv, kStampFieldCount, true, all, importOptions);
            if (!r.error.empty()) throw std::runtime_error(r.error);
            added = r.added;
        }
        const double engineImport = secondsSince(t0);
        const double sqliteImportSeconds = runSqliteShell(db, sqliteImport, "/dev/null", dir);
        sound = added == records && sound;

        t0 = std::chrono::steady_clock::now();
        std::uint64_t written = 0;
        {
            engine::Table t;
            t.open(dbf, engine::OpenMode::Shared);
            t.selectIndex(collection::kSortTagName.toStdString());
            const interchange::ExportResult r = interchange::exportText(t, textOut, request);
            if (!r.error.empty()) throw std::runtime_error(r.error);
            written = r.written;
        }
        const double engineText = secondsSince(t0);
        t0 = std::chrono::steady_clock::now();
        {
            engine::Table t;
            t.open(dbf, engine::OpenMode::Shared);
            t.selectIndex(collection::kSortTagName.toStdString());
            const interchange::ExportResult r = interchange::exportDbf(t, dbfOut, dbfRequest);
            if (!r.error.empty()) throw std::runtime_error(r.error);
            sound = r.written == records && sound;
        }
        const double engineDbf = secondsSince(t0);
        const double sqliteExportSeconds = runSqliteShell(db, sqliteExport, "/dev/null", dir);
        sound = written == records && lineCount(textOut) == records + 1 &&
                lineCount(sqliteOut) == records + 1 && sound;

        std::printf(
            "round %d: import engine %.3f s, sqlite %.3f s; text export engine %.3f s, dBase "
            "export engine %.3f s, sqlite export %.3f s\n",
            round, engineImport, sqliteImportSeconds, engineText, engineDbf, sqliteExportSeconds);
        std::fflush(stdout);
        import.engine = std::min(import.engine, engineImport);
        import.sqlite = std::min(import.sqlite, sqliteImportSeconds);
        text.engine = std::min(text.engine, engineText);
        dbase.engine = std::min(dbase.engine, engineDbf);
        text.sqlite = dbase.sqlite = std::min(text.sqlite, sqliteExportSeconds);
    }

    std::printf("\n%-30s %10s %10s %7s %7s %6s\n", "step", "engine s", "sqlite s", "ratio",
                "target", "result");
    for (const Step& s : {import, text, dbase}) {
        const double ratio = s.engine / s.sqlite;
        std::printf("%-30s %10.3f %10.3f %7.3f %7.2f %6s\n", s.name, s.engine, s.sqlite, ratio,
                    s.target, ratio <= s.target ? "PASS" : "MISS");
    }
    std::printf(
        "(best of %d each; ratio = engine/sqlite, PASS when <= target; sqlite times "
        "include starting its process)\n",
        bench::benchRounds());
    if (!keep) std::filesystem::remove_all(dir);
    if (!sound) std::printf("ERROR: the record counts disagree\n");
    return sound ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::runBenchMain(argc, argv, "interchange_bench", run);
}
