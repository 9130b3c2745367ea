// tessellon-cli reindex and pack killed at random instants on a 200,000-record
// table: afterwards info, dump and reindex succeed and every live record is
// still there, each once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "engine/table.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kRecords = 200000;
constexpr int kKills = 30;
const std::string kCli = TESS_BINARY_DIR "/src/cli/tessellon-cli";

bool deleted(std::uint32_t recno) {
    return recno % 10 == 0;
}
constexpr std::uint32_t kLive = kRecords - kRecords / 10;

// COUNTRY C(20), YEAR N(11,0), NAME C(10): records written as bytes after the
// engine made the header, so the table is made in a moment.
void makeTable(const std::string& path) {
    engine::Table::create(path, {{"COUNTRY", engine::FieldType::Character, 20, 0},
                                 {"YEAR", engine::FieldType::Numeric, 11, 0},
                                 {"NAME", engine::FieldType::Character, 10, 0}});
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        bytes = s.str();
    }
    bytes.pop_back();  // the end marker
    char record[64];
    for (std::uint32_t r = 1; r <= kRecords; ++r) {
        std::snprintf(record, sizeof record, "%cC%-19u%11u%c%07u  ", deleted(r) ? '*' : ' ',
                      r * 7919 % 5000, 1840 + r % 180, 'R', r);
        bytes.append(record, 42);
    }
    bytes.push_back(0x1A);
    for (int i = 0; i < 4; ++i) bytes[4 + std::size_t(i)] = char(kRecords >> (8 * i) & 0xFF);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    engine::Table t;
    t.open(path, engine::OpenMode::Exclusive);
    t.addIndexTag("BYCOUNTRY", "Upper(Left(Country,20))");
    t.addIndexTag("BYYEAR", "STR(Year,12,0)+NAME");
}

pid_t start(const std::vector<std::string>& args, int outFd) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outFd, 1);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        std::vector<char*> argv{const_cast<char*>(kCli.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(kCli.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

struct Result {
    int status = -1;
    std::string out;
};

Result runCli(const std::vector<std::string>& args) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t pid = start(args, pipeFds[1]);
    ::close(pipeFds[1]);
    Result r;
    char buf[1 << 16];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        r.out.append(buf, std::size_t(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// Every line of a dump names one live record by its NAME, the last field.
::testing::AssertionResult everyLiveRecordOnce(const std::string& dump) {
    std::vector<bool> seen(kRecords + 1, false);
    std::uint32_t lines = 0;
    std::istringstream in(dump);
    for (std::string line; std::getline(in, line); ++lines) {
        const std::size_t at = line.rfind("\"R");
        const std::uint32_t r =
            at == std::string::npos ? 0 : std::uint32_t(std::stoul(line.substr(at + 2)));
        if (r == 0 || r > kRecords || deleted(r) || seen[r])
            return ::testing::AssertionFailure() << "unexpected line: " << line;
        seen[r] = true;
    }
    if (lines != kLive) return ::testing::AssertionFailure() << lines << " records, not " << kLive;
    return ::testing::AssertionSuccess();
}

class KilledMaintenance : public ::testing::TestWithParam<const char*> {};

TEST_P(KilledMaintenance, LeavesATableThatOpensWithEveryRecord) {
    QTemporaryDir dir;
    const std::string pristine = dir.filePath("P.DBF").toStdString();
    const std::string path = dir.filePath("T.DBF").toStdString();
    const std::string mdxPath = dir.filePath("T.MDX").toStdString();
    makeTable(pristine);
    auto restore = [&] {
        fs::copy_file(pristine, path, fs::copy_options::overwrite_existing);
        fs::copy_file(dir.filePath("P.MDX").toStdString(), mdxPath,
                      fs::copy_options::overwrite_existing);
    };
    const std::string verb = GetParam();
    restore();
    const auto began = std::chrono::steady_clock::now();
    ASSERT_EQ(runCli({verb, path}).status, 0);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - began)
                          .count();
    std::mt19937 rng(2026);
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        restore();
        const int null = ::open("/dev/null", O_WRONLY);
        const pid_t pid = start({verb, path}, null);
        ::close(null);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % std::uint64_t(took + 1)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);

        const Result info = runCli({"info", path});
        ASSERT_EQ(info.status, 0);
        EXPECT_NE(info.out.find("Records: " + std::to_string(kLive) + " ("), std::string::npos)
            << info.out;
        const Result dump = runCli({"dump", path});
        ASSERT_EQ(dump.status, 0);
        EXPECT_TRUE(everyLiveRecordOnce(dump.out));
        ASSERT_EQ(runCli({"reindex", path}).status, 0);
    }
    const Result sorted = runCli({"dump", path, "--tag", "BYCOUNTRY"});
    EXPECT_EQ(sorted.status, 0);
    EXPECT_TRUE(everyLiveRecordOnce(sorted.out));
}

INSTANTIATE_TEST_SUITE_P(Verbs, KilledMaintenance, ::testing::Values("reindex", "pack"));

}  // namespace
