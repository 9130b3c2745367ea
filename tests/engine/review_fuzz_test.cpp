// engine::Table over randomly spoiled files: 2,000 rounds each change a few
// bytes anywhere in a table and in its multi-level index (tree pages
// included, not only the headers), then open, walk both ways in tag order and
// change records. Only EngineError may come out: no crash, no hang, nothing
// else thrown, and no file descriptor or mapping left behind by a failure.
#include <dirent.h>
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

std::size_t openDescriptors() {
    std::size_t n = 0;
    if (DIR* d = ::opendir("/proc/self/fd")) {
        while (::readdir(d)) ++n;
        ::closedir(d);
    }
    return n;
}

std::size_t mappingsOf(const std::string& dir) {
    std::ifstream maps("/proc/self/maps");
    std::size_t n = 0;
    for (std::string line; std::getline(maps, line);)
        if (line.find(dir) != std::string::npos) ++n;
    return n;
}

void openWalkAndChange(const std::string& path, OpenMode mode) {
    try {
        Table t;
        t.open(path, mode);
        if (!t.tags().empty()) t.selectIndex(t.tags()[0].name);
        for (t.first(); !t.eof(); t.next()) (void)t.text(kCountry);
        for (t.last(); !t.bof(); t.prior()) (void)t.integer(kYear);
        if (t.recordCount() > 0) (void)t.visibleAt(t.recordCount() - 1);
        appendRow(t, {"new", "Mali", "1998"});
        t.first();
        if (!t.eof()) {
            t.edit();
            t.setText(kCountry, "Zaire");
            t.post();
            t.deleteRecord();
        }
        if (mode == OpenMode::Exclusive) t.pack();
    } catch (const EngineError&) {
    }
}

TEST(ReviewFuzz, SpoiledTablesAndIndexesGiveOnlyEngineErrors) {
    ScratchDir dir;
    const std::string path = dir.file("STAMPS.DBF");
    const std::string mdxPath = dir.file("STAMPS.MDX");
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 150; ++i)
        rows.push_back(
            {"r" + std::to_string(i), "C" + std::to_string(i * 7 % 150), std::to_string(1900 + i)});
    createWithRows(path, sampleFields(), rows);
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("BYCOUNTRY", "Upper(Left(Country,20))");
        t.addIndexTag("BYYEAR", "STR(Year,12,0)+Upper(Left(Name,8))");
    }
    const std::string dbf = readFile(path), mdx = readFile(mdxPath);
    ASSERT_GT(mdx.size(), 8192u);  // trees of more than one level
    const std::size_t descriptorsBefore = openDescriptors();
    std::mt19937 rng(77);
    for (int round = 0; round < 2000; ++round) {
        std::string b = dbf, m = mdx;
        const int spoils = 1 + int(rng() % 6);
        for (int i = 0; i < spoils; ++i) {
            // Mostly the headers, where one byte changes the most.
            b[rng() % 2 ? rng() % 258 : rng() % b.size()] = char(rng());
            m[rng() % 2 ? rng() % 4096 : rng() % m.size()] = char(rng());
        }
        if (round % 3 == 0) b = dbf;  // index damage alone
        if (round % 3 == 1) m = mdx;  // table damage alone
        writeFile(path, b);
        writeFile(mdxPath, m);
        openWalkAndChange(path, round % 2 ? OpenMode::Shared : OpenMode::Exclusive);
    }
    EXPECT_EQ(openDescriptors(), descriptorsBefore);
    EXPECT_EQ(mappingsOf(dir.path()), 0u);
}

}  // namespace
}  // namespace engine
