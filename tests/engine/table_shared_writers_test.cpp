// engine::Table opened shared by two writers at once, in one process and in
// two: each sees the other's changes and the index stays right, even when
// one writer's changes split index pages the other has not seen.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

const char* const kTag = "NewIndex";

class TableSharedWriters : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");
    std::string mdxPath = dir.file("STAMPS.MDX");

    void SetUp() override {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < 400; ++i) rows.push_back({"r", "M" + std::to_string(i % 10)});
        createWithRows(path, sampleFields(), rows);
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag(kTag, "Upper(Left(Country,80))");
    }

    void expectConsistent(Table& t) {
        t.refresh();
        t.selectIndex(kTag);
        EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
        auto entries = indexEntries(mdxPath, kTag);
        EXPECT_EQ(entries.size(), t.physicalCount());
    }
};

// Edits record `recno` to a country that sorts into a crowded part of the
// tag, so that edits without appends still split pages.
void editCountry(Table& t, std::uint32_t recno, const std::string& country) {
    ASSERT_TRUE(t.goToRecord(recno)) << recno;
    t.edit();
    t.setText(kCountry, country);
    t.post();
}

std::string crowdedKey(std::mt19937& rng) {
    return "K" + std::to_string(rng() % 100000);
}

TEST_F(TableSharedWriters, TwoTablesOfOneProcessTakeTurns) {
    Table a, b;
    a.open(path, OpenMode::Shared);
    b.open(path, OpenMode::Shared);
    a.selectIndex(kTag);
    b.selectIndex(kTag);
    std::mt19937 rng(5);
    for (int round = 0; round < 20; ++round) {
        Table& w = round % 2 ? a : b;
        // Edits only: the record count stays, the index grows.
        for (int i = 0; i < 30; ++i) editCountry(w, 1 + rng() % 400, crowdedKey(rng));
        appendRow(round % 4 == 0 ? a : b, {"new", crowdedKey(rng)});
        if (::testing::Test::HasFatalFailure()) return;
    }
    expectConsistent(a);
    expectConsistent(b);
    ASSERT_EQ(a.physicalCount(), b.physicalCount());
    for (std::uint32_t r = 1; r <= a.physicalCount(); ++r)
        ASSERT_EQ(a.record(r).text(kCountry), b.record(r).text(kCountry)) << r;
}

TEST_F(TableSharedWriters, TwoProcessesTakeTurns) {
    Table mine;
    mine.open(path, OpenMode::Shared);
    mine.selectIndex(kTag);
    std::mt19937 rng(11);
    for (int round = 0; round < 6; ++round) {
        pid_t pid = ::fork();
        if (pid == 0) {
            int code = 0;
            try {
                Table t;
                t.open(path, OpenMode::Shared);
                std::mt19937 childRng{unsigned(round)};
                for (int i = 0; i < 60; ++i) {
                    if (!t.goToRecord(1 + childRng() % 400)) continue;
                    t.edit();
                    t.setText(kCountry, crowdedKey(childRng));
                    t.post();
                }
            } catch (const EngineError&) {
                code = 3;
            }
            ::_exit(code);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process failed";
        for (int i = 0; i < 60; ++i) editCountry(mine, 1 + rng() % 400, crowdedKey(rng));
        if (::testing::Test::HasFatalFailure()) return;
    }
    expectConsistent(mine);
    mine.close();
    Table fresh;
    fresh.open(path, OpenMode::Shared);
    expectConsistent(fresh);
}

// Two processes adding records at once, with an edit now and then: the child in an append run,
// the parent in one too or post by post. Each opens while the other may be in the middle of a
// change; both get their turns, every record lands once, and the index agrees with the table.
class TableSharedAppends : public TableSharedWriters, public ::testing::WithParamInterface<bool> {};

TEST_P(TableSharedAppends, TwoProcessesAppendAtOnce) {
    constexpr int kEach = 3000;
    auto addRows = [this](const std::string& tag, unsigned seed, bool inRun) {
        Table t;
        t.open(path, OpenMode::Shared);
        std::mt19937 rng(seed);
        if (inRun) t.beginAppendRun();
        for (int i = 0; i < kEach; ++i) {
            t.append();
            t.setText(kName, tag + std::to_string(i));
            t.setText(kCountry, crowdedKey(rng));
            t.post();
            if (i % 500 == 250) editCountry(t, 1 + rng() % 400, crowdedKey(rng));
        }
        t.endAppendRun();
    };
    pid_t pid = ::fork();
    if (pid == 0) {
        int code = 0;
        try {
            addRows("child", 21, true);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "the other process: %s\n", e.what());
            code = 3;
        }
        ::_exit(::testing::Test::HasFailure() ? 4 : code);
    }
    addRows("parent", 22, GetParam());
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process failed";
    Table t;
    t.open(path, OpenMode::Shared);
    EXPECT_TRUE(t.indexNotice().empty()) << t.indexNotice();
    ASSERT_EQ(t.physicalCount(), 400u + 2 * kEach);
    // The table file ends at its end marker: the space grown ahead was cut off.
    const std::string bytes = readFile(path);
    auto u16 = [&bytes](std::size_t at) {
        return std::size_t(std::uint8_t(bytes[at])) | std::size_t(std::uint8_t(bytes[at + 1])) << 8;
    };
    EXPECT_EQ(bytes.size(), u16(8) + u16(10) * t.physicalCount() + 1);
    std::vector<int> seen(2 * kEach, 0);
    for (std::uint32_t r = 401; r <= t.physicalCount(); ++r) {
        const std::string c = t.record(r).text(kName);
        const bool child = c.rfind("child", 0) == 0;
        seen.at(std::size_t((child ? kEach : 0) + std::stoi(c.substr(child ? 5 : 6))))++;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 2 * kEach);
    expectConsistent(t);
}

INSTANTIATE_TEST_SUITE_P(ParentInRunOrPostByPost, TableSharedAppends, ::testing::Bool());

}  // namespace
}  // namespace engine
