// Every verb of the command-line companion against the sqlite3 shell doing the same job on the
// same data, both as fresh processes (start-up included), on the same machine, in one run; and
// the two physical limits of the table's own work: pack against `dd conv=fsync` writing and
// syncing a file of the packed table's size, search count against `cat` reading the table.
//
// The synthetic stamps of bench_data.h go into a collection made as the program makes one (its
// sort tag NewIndex on Country) and, from the same values, into a sqlite database with the same
// index. Each job then runs K times on each side (default 5) and each side's shortest wall time
// is compared; the CPU time (user + system) of the same runs is shown beside, as on a loaded
// machine it varies far less than the wall clock. Work to set a job up again between rounds
// (putting replaced values back, an empty collection for import) is not timed.
//
// Usage: companion_bench RECORDS FOLDER CLI [--repeat=K] [--keep] [--limits-only]
//   CLI is the tessellon-cli to run; --limits-only runs only the two physical limits (for large
//   collections, where the other jobs take long). Files go to
//   FOLDER/tess_companion_bench_RECORDS and are
//   removed at the end unless --keep is given. Exits with 1 when a job fails or the sides
//   disagree on a count.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_collection.h"
#include "bench_data.h"
#include "collection/sort_expression.h"
#include "quoted_csv.h"
#include "sqlite_shell.h"

namespace {

namespace fs = std::filesystem;
using namespace bench;

constexpr std::uint64_t kSeed = 20240611;
const char* const kSqliteKey = "upper(substr(country,1,80))";

struct Times {
    double wall = 1e300;
    double cpu = 1e300;
    void keepBest(const Times& t) {
        wall = std::min(wall, t.wall);
        cpu = std::min(cpu, t.cpu);
    }
};

// Runs `argv` with standard input from `in` and output to `out`; throws when it fails.
Times runProcess(const std::vector<std::string>& argv, const std::string& in,
                 const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> args = argv;
    std::vector<char*> raw;
    for (std::string& a : args) raw.push_back(a.data());
    raw.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, raw[0], &actions, nullptr, raw.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0)
        if (errno != EINTR) throw std::runtime_error("lost the process " + argv[0]);
    Times t;
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto seconds = [](const timeval& v) { return double(v.tv_sec) + double(v.tv_usec) / 1e6; };
    t.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        std::string command;
        for (const std::string& a : argv) command += a + " ";
        throw std::runtime_error("failed: " + command);
    }
    return t;
}

struct Job {
    Job(std::string n, std::vector<std::string> o, std::string t, std::function<void()> s = {},
        bool fresh = false)
        : name(std::move(n)), ours(std::move(o)), theirs(std::move(t)), setUp(std::move(s)),
          onFresh(fresh) {}
    std::string name;
    std::vector<std::string> ours;  // the companion's command line
    std::string theirs;             // the sqlite script
    std::function<void()> setUp;    // before each round of each side, not timed
    bool onFresh;                   // sqlite works on a database of its own (import, create)
};

struct Options {
    std::uint32_t records = 10000;
    std::string folder = "/tmp";
    std::string cli;
    int repeat = 5;
    bool keep = false;
    bool limitsOnly = false;  // only pack / dd and count / cat (for large collections)
};

std::uint64_t fileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? std::uint64_t(st.st_size) : 0;
}

int run(const Options& o) {
    const std::string dir = o.folder + "/tess_companion_bench_" + std::to_string(o.records);
    fs::remove_all(dir);
    fs::create_directories(dir + "/config/tessellon");
    fs::create_directories(dir + "/program");
    fs::create_directories(dir + "/backup");
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    ::setenv("TESSELLON_PROGRAM_DIR", (dir + "/program").c_str(), 1);
    writeWholeFile(dir + "/config/tessellon/TESSELON.INI", "[Misc]\nDate Format=7\n");
    const std::string dbf = dir + "/STAMPS.DBF", csv = dir + "/stamps.csv",
                      text = dir + "/import.txt", db = dir + "/stamps.sqlite",
                      fresh = dir + "/FRESH.DBF", freshDb = dir + "/fresh.sqlite",
                      out = dir + "/out.txt", none = "/dev/null";
    const QString sort = collection::BuildSortString({3, 0, 0, 0});

    const SyntheticCollection data(o.records, kSeed);
    data.writeCsv(csv);
    writeQuotedCsv(data, text);
    makeBenchCollection(data, QString::fromStdString(dbf), sort);
    writeWholeFile(dir + "/STAMPS.INI", "[Sort]\nSort1=3\nSort2=0\nSort3=0\nSort4=0\n");
    runSqliteShell(db,
                   sqliteCreateTable() + ".import --csv --skip 1 \"" + csv + "\" stamps\n" +
                       "CREATE INDEX newindex ON stamps(" + kSqliteKey + ");\n",
                   none, dir);

    const std::string cli = o.cli;
    auto ours = [&](std::vector<std::string> args) {
        args.insert(args.begin(), cli);
        return args;
    };
    auto quiet = [&](const std::vector<std::string>& args) { runProcess(args, none, none); };
    const std::string importTable = sqliteCreateTable() + ".import --csv --skip 1 \"" + csv +
                                    "\" stamps\nCREATE INDEX newindex ON stamps(" + kSqliteKey +
                                    ");\n";

    std::vector<Job> jobs = {
        {"info", ours({"info", dbf}),
         "PRAGMA table_info(stamps);\nSELECT count(*) FROM stamps;\nPRAGMA index_list(stamps);\n"},
        {"check", ours({"check", dbf}), "PRAGMA table_info(stamps);\n"},
        {"search --count", ours({"search", dbf, "--count", "Country:fra"}),
         "SELECT count(*) FROM stamps WHERE country LIKE '%fra%';\n"},
        {"search (records)", ours({"search", dbf, "Country:fra"}),
         ".mode csv\nSELECT * FROM stamps WHERE country LIKE '%fra%';\n"},
        {"dump", ours({"dump", dbf}), ".mode csv\nSELECT * FROM stamps;\n"},
        {"dump --tag", ours({"dump", dbf, "--tag", "NewIndex"}),
         std::string(".mode csv\nSELECT * FROM stamps ORDER BY ") + kSqliteKey + ";\n"},
        {"replace", ours({"replace", dbf, "Country", "France", "Gaul"}),
         "UPDATE stamps SET country = 'Gaul' WHERE upper(country) = 'FRANCE';\n",
         [&] {
             quiet(ours({"replace", dbf, "Country", "Gaul", "France"}));
             runSqliteShell(db, "UPDATE stamps SET country = 'France' WHERE country = 'Gaul';\n",
                            none, dir);
         }},
        {"report 4 (summary)", ours({"report", dbf, "4", "--text", out}),
         ".mode list\nSELECT upper(country), count(*), sum(marketvalu), sum(cost) FROM stamps "
         "GROUP BY upper(country) ORDER BY upper(country);\n"},
        {"export --text", ours({"export", dbf, out, "--text"}),
         std::string(".headers on\n.mode csv\n.once ") + out + "\nSELECT * FROM stamps ORDER BY " +
             kSqliteKey + ";\n"},
        {"import --text", ours({"import", fresh, text, "--text", "--skip-first"}), importTable,
         [&] {
             fs::remove(fresh);
             fs::remove(dir + "/FRESH.MDX");
             quiet(ours({"create", fresh}));
             quiet(ours({"index", fresh, sort.toStdString()}));
             fs::remove(freshDb);
         },
         true},
        {"index", ours({"index", dbf, sort.toStdString()}),
         std::string("DROP INDEX newindex;\nCREATE INDEX newindex ON stamps(") + kSqliteKey +
             ");\n"},
        {"sort", ours({"sort", dbf, "3"}),
         std::string("DROP INDEX newindex;\nCREATE INDEX newindex ON stamps(") + kSqliteKey +
             ");\n"},
        {"reindex", ours({"reindex", dbf}), "REINDEX newindex;\n"},
        {"pack", ours({"pack", dbf}), "VACUUM;\n"},
        {"backup", ours({"backup", dbf, dir + "/backup"}),
         ".backup '" + dir + "/backup/stamps.sqlite'\n"},
        {"create", ours({"create", fresh}), "CREATE TABLE x(a);\n",
         [&] {
             fs::remove(fresh);
             fs::remove(freshDb);
         },
         true},
    };

    const std::uint64_t tableBytes = fileSize(dbf);
    std::vector<std::pair<Job, std::pair<Times, Times>>> results;
    bool ok = true;
    if (o.limitsOnly) jobs.clear();
    for (Job& job : jobs) {
        Times mine, rival;
        try {
            for (int round = 0; round < o.repeat; ++round) {
                if (job.setUp) job.setUp();
                mine.keepBest(runProcess(job.ours, none, job.name == "dump" ? out : none));
                if (job.setUp) job.setUp();
                writeWholeFile(dir + "/job.sql", job.theirs);
                rival.keepBest(runProcess(
                    {"sqlite3", "-batch", "-bail", job.onFresh ? freshDb : db}, dir + "/job.sql",
                    none));
            }
        } catch (const std::exception& e) {
            std::printf("%s: %s\n", job.name.c_str(), e.what());
            ok = false;
            continue;
        }
        results.push_back({job, {mine, rival}});
    }

    // The physical limits: pack against writing and syncing the packed table's bytes, search
    // count against reading the table.
    const std::uint64_t packedBytes = fileSize(dbf);
    Times dd, cat, pack, count;
    for (int round = 0; round < o.repeat; ++round) {
        pack.keepBest(runProcess(ours({"pack", dbf}), none, none));
        dd.keepBest(runProcess({"dd", "if=/dev/zero", "of=" + dir + "/dd.out", "bs=1M",
                                "count=" + std::to_string(packedBytes), "iflag=count_bytes",
                                "conv=fsync", "status=none"},
                               none, none));
        count.keepBest(runProcess(ours({"search", dbf, "--count", "Country:fra"}), none, none));
        cat.keepBest(runProcess({"cat", dbf}, none, none));
    }
    fs::remove(dir + "/dd.out");

    std::printf("\n%u stamps (table %.1f MB), best of %d, process start included\n", o.records,
                double(tableBytes) / 1e6, o.repeat);
    std::printf("%-20s %10s %10s %7s %10s %10s %7s\n", "job", "ours s", "sqlite s", "ratio",
                "ours cpu", "sqlite cpu", "ratio");
    for (const auto& [job, t] : results)
        std::printf("%-20s %10.4f %10.4f %7.2f %10.4f %10.4f %7.2f\n", job.name.c_str(),
                    t.first.wall, t.second.wall, t.first.wall / t.second.wall, t.first.cpu,
                    t.second.cpu, t.first.cpu / t.second.cpu);
    std::printf("%-20s %10.4f %10.4f %7.2f   (pack against dd conv=fsync of %.1f MB)\n",
                "pack / dd", pack.wall, dd.wall, pack.wall / dd.wall, double(packedBytes) / 1e6);
    std::printf("%-20s %10.4f %10.4f %7.2f   (search --count against cat of the table)\n",
                "count / cat", count.wall, cat.wall, count.wall / cat.wall);
    if (!o.keep) fs::remove_all(dir);
    return ok ? 0 : 1;
}

Options parse(int argc, char** argv) {
    Options o;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--repeat=", 0) == 0)
            o.repeat = std::max(1, std::stoi(a.substr(9)));
        else if (a == "--keep")
            o.keep = true;
        else if (a == "--limits-only")
            o.limitsOnly = true;
        else
            positional.push_back(a);
    }
    if (positional.size() != 3)
        throw std::invalid_argument(
            "usage: companion_bench RECORDS FOLDER CLI [--repeat=K] [--keep] [--limits-only]");
    o.records = std::uint32_t(std::stoul(positional[0]));
    o.folder = positional[1];
    o.cli = fs::absolute(positional[2]).string();
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(parse(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "companion_bench: %s\n", e.what());
        return 2;
    }
}
