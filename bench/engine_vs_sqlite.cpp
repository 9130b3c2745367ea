// Table engine against the sqlite3 shell on the same synthetic stamp
// collection, on the same machine, in one run: import with the sort index,
// replacing the sort index, counting a "contains" search, and reading every
// record in sort order. Prints each time, the ratio engine/sqlite against its
// target, and the engine's heap peak per record.
//
// Usage: engine_vs_sqlite RECORDS [FOLDER] [--keep] [--repeat=K]
//   The files go to FOLDER/tess_bench_RECORDS (FOLDER defaults to /tmp) and
//   are removed at the end unless --keep is given. With --repeat=K the four
//   steps run K times and each side's shortest time is reported (a shared
//   machine is noisy).
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_data.h"
#include "engine_steps.h"
#include "heap_meter_operators.h"
#include "sqlite_shell.h"

namespace {

using namespace bench;

constexpr std::uint64_t kSeed = 20240611;
constexpr double kHeapTargetPerRecord = 32.0;

struct Row {
    const char* step;
    EngineMeasure engine;
    double sqliteSeconds;
    double target;
};

std::uint64_t fileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? std::uint64_t(st.st_size) : 0;
}

std::uint64_t parseCount(const std::string& text) {
    std::uint64_t v = 0;
    const char* b = text.data();
    while (b < text.data() + text.size() && (*b == ' ' || *b == '\n')) ++b;
    auto [p, ec] = std::from_chars(b, text.data() + text.size(), v);
    if (ec != std::errc() || p == b) throw std::runtime_error("sqlite3 printed no count: " + text);
    return v;
}

double mib(std::uint64_t bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}

void printTable(std::uint32_t records, const std::vector<Row>& rows) {
    std::printf("\n%-28s %10s %10s %7s %7s %6s %12s %6s\n", "step", "engine s", "sqlite s", "ratio",
                "target", "result", "heap B/rec", "heap");
    for (const Row& r : rows) {
        const double ratio = r.engine.seconds / r.sqliteSeconds;
        const double heap = double(r.engine.heapPeakBytes) / double(records);
        std::printf("%-28s %10.3f %10.3f %7.3f %7.2f %6s %12.2f %6s\n", r.step, r.engine.seconds,
                    r.sqliteSeconds, ratio, r.target, ratio <= r.target ? "PASS" : "MISS", heap,
                    heap < kHeapTargetPerRecord ? "PASS" : "MISS");
    }
    std::printf(
        "(ratio = engine/sqlite, PASS when <= target; heap = engine heap peak above the\n"
        " start of the step per record, PASS when < %.0f bytes)\n",
        kHeapTargetPerRecord);
}

struct Paths {
    std::string dir, csv, dbf, db, countOut;
};

// One pass of the four steps on both sides.
struct Round {
    std::vector<Row> rows;
    std::uint64_t sqliteCount = 0;
    std::uint64_t rowsRead = 0;
};

Round runRound(const SyntheticCollection& data, const Paths& p) {
    Round round;
    std::vector<Row>& rows = round.rows;
    const std::string &dir = p.dir, &csv = p.csv, &dbf = p.dbf, &db = p.db, &countOut = p.countOut;

    // 2. Import with the tag kept up to date (sqlite: import, then the index).
    std::filesystem::remove(db);
    std::filesystem::remove(db + "-journal");
    EngineMeasure imp = engineImport(data, dbf);
    double sqlImp =
        runSqliteShell(db,
                       sqliteCreateTable() + ".import --csv --skip 1 \"" + csv +
                           "\" stamps\n"
                           "CREATE INDEX newindex ON stamps(upper(substr(country,1,80)));\n",
                       "/dev/null", dir);
    rows.push_back({"append N + NewIndex", imp, sqlImp, 0.5});

    // 3. Replace the tag with the three-part sort key.
    EngineMeasure tag = engineReplaceTag(dbf);
    double sqlTag = runSqliteShell(db,
                                   "DROP INDEX newindex;\n"
                                   "CREATE INDEX newindex ON stamps(upper(substr(country,1,26)), "
                                   "year, upper(substr(descriptio,1,26)));\n",
                                   "/dev/null", dir);
    rows.push_back({"replace tag (3-part key)", tag, sqlTag, 0.5});

    // 4. Count the records whose country holds "fra" in any case.
    EngineMeasure count = engineCount(dbf);
    double sqlCount = runSqliteShell(
        db, "SELECT count(*) FROM stamps WHERE country LIKE '%FRA%';\n", countOut, dir);
    round.sqliteCount = parseCount(readWholeFile(countOut));
    rows.push_back({"count Country ~ 'FRA'", count, sqlCount, 0.2});

    // 5. Every field of every record as text, in sort order.
    EngineMeasure read = engineReadInTagOrder(dbf, &round.rowsRead);
    double sqlRead = runSqliteShell(db,
                                    "SELECT * FROM stamps ORDER BY upper(substr(country,1,26)), "
                                    "year, upper(substr(descriptio,1,26));\n",
                                    "/dev/null", dir);
    rows.push_back({"read all in tag order", read, sqlRead, 0.2});

    return round;
}

// Keeps the shortest time of each side and the largest heap peak of each step.
void keepBest(Round& best, const Round& r) {
    for (std::size_t i = 0; i < best.rows.size(); ++i) {
        Row& b = best.rows[i];
        const Row& n = r.rows[i];
        b.sqliteSeconds = std::min(b.sqliteSeconds, n.sqliteSeconds);
        b.engine.seconds = std::min(b.engine.seconds, n.engine.seconds);
        b.engine.heapPeakBytes = std::max(b.engine.heapPeakBytes, n.engine.heapPeakBytes);
    }
}

int run(std::uint32_t records, const std::string& folder, bool keep, int repeat) {
    const std::string dir = folder + "/tess_bench_" + std::to_string(records);
    std::filesystem::create_directories(dir);
    const std::string csv = dir + "/stamps.csv";
    const std::string dbf = dir + "/STAMPS.DBF";
    const std::string db = dir + "/stamps.sqlite";
    const std::string countOut = dir + "/count.out";

    auto t0 = std::chrono::steady_clock::now();
    const SyntheticCollection data(records, kSeed);
    data.writeCsv(csv);
    const double genSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    runSqliteShell(":memory:", "SELECT sqlite_version();\n", countOut, dir);
    std::string version = readWholeFile(countOut);
    while (!version.empty() && (version.back() == '\n' || version.back() == '\r'))
        version.pop_back();
    std::printf("Engine vs sqlite3 %s: %u records in %s (data made in %.2f s, CSV %.1f MiB)\n",
                version.c_str(), records, dir.c_str(), genSeconds, mib(fileSize(csv)));
    std::fflush(stdout);

    const Paths paths{dir, csv, dbf, db, countOut};
    Round best = runRound(data, paths);
    bool sound = true;
    for (int i = 1; i <= repeat; ++i) {
        const Round r = i == 1 ? best : runRound(data, paths);
        const std::uint64_t engineCount = r.rows[2].engine.value;
        sound = sound && r.rows[0].engine.value == records && engineCount == r.sqliteCount &&
                r.rowsRead == records && r.rows[3].engine.value == best.rows[3].engine.value;
        if (i > 1) keepBest(best, r);
    }
    const std::vector<Row>& rows = best.rows;
    const EngineMeasure& count = rows[2].engine;
    const EngineMeasure& read = rows[3].engine;
    const std::uint64_t sqliteCount = best.sqliteCount, rowsRead = best.rowsRead;

    if (repeat > 1) std::printf("\nbest of %d rounds:", repeat);
    printTable(records, rows);
    std::printf("\ncount: engine %llu, sqlite %llu (%s)\n", (unsigned long long)count.value,
                (unsigned long long)sqliteCount, count.value == sqliteCount ? "equal" : "DIFFER");
    std::printf("read: %llu records, checksum %016llx\n", (unsigned long long)rowsRead,
                (unsigned long long)read.value);
    std::printf("files: DBF %.1f MiB, MDX %.1f MiB, sqlite %.1f MiB\n", mib(fileSize(dbf)),
                mib(fileSize(dir + "/STAMPS.MDX")), mib(fileSize(db)));

    if (!keep) std::filesystem::remove_all(dir);
    if (!sound) std::printf("ERROR: the two sides do not agree on the data\n");
    return sound ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint32_t records = 0;
    std::string folder = "/tmp";
    bool keep = false;
    int repeat = 1;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0) {
            keep = true;
        } else if (std::strncmp(argv[i], "--repeat=", 9) == 0) {
            repeat = std::max(1, std::atoi(argv[i] + 9));
        } else if (positional++ == 0) {
            auto [p, ec] = std::from_chars(argv[i], argv[i] + std::strlen(argv[i]), records);
            if (ec != std::errc() || *p != '\0') records = 0;
        } else {
            folder = argv[i];
        }
    }
    if (records == 0) {
        std::fprintf(stderr, "usage: %s RECORDS [FOLDER] [--keep] [--repeat=K]\n", argv[0]);
        return 2;
    }
    try {
        return run(records, folder, keep, repeat);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "engine_vs_sqlite: %s\n", e.what());
        return 1;
    }
}
