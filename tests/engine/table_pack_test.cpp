// engine::Table::pack: never drops a live record, all or nothing, through
// symbolic links; and the record count after other programs' deletions.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/mdx_layout.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

class TablePack : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");
    std::string mdx = dir.file("STAMPS.MDX");

    // `n` records named r1..rN with a tag on the name; the records in
    // `deleted` marked deleted.
    void createTable(const std::string& at, int n, const std::vector<int>& deleted) {
        Table::create(at, sampleFields());
        Table t;
        t.open(at, OpenMode::Exclusive);
        t.addIndexTag("NAME", "Upper(Name)");
        for (int i = 1; i <= n; ++i) appendRow(t, {"r" + std::to_string(i), "Chad"});
        for (int r : deleted) {
            ASSERT_TRUE(t.goToRecord(std::uint32_t(r)));
            t.deleteRecord();
        }
    }
    // Names of the records a walk in tag NAME visits, in that order.
    std::vector<std::string> namesByTag() {
        Table t;
        t.open(path, OpenMode::Shared);
        t.selectIndex("NAME");
        return visitTexts(t, kName);
    }
};

std::vector<std::string> sortedNames(int n, const std::vector<int>& without) {
    std::vector<std::string> names;
    for (int i = 1; i <= n; ++i)
        if (std::find(without.begin(), without.end(), i) == without.end())
            names.push_back("r" + std::to_string(i));
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(TablePack, RecordsPastATooSmallHeaderCountAreKept) {
    createTable(path, 300, {7});
    patchU32(path, 4, 299);  // another program counted one record too few
    Table t;
    t.open(path, OpenMode::Exclusive);
    EXPECT_EQ(t.recordCount(), 298u);
    const PackResult r = t.pack();
    EXPECT_EQ(r.removed, 1u);
    EXPECT_EQ(r.kept, 299u);
    EXPECT_EQ(r.recovered, 1u);
    ASSERT_EQ(r.newNumbers.size(), 301u);  // the record past the count has its new number too
    EXPECT_EQ(r.newNumbers[300], 299u);
    EXPECT_EQ(t.physicalCount(), 299u);
    t.close();
    EXPECT_EQ(namesByTag(), sortedNames(300, {7}));
}

TEST_F(TablePack, AFailedPackLeavesTableAndIndexAsTheyWere) {
    createTable(path, 20, {3, 4});
    const std::string table = readFile(path), index = readFile(mdx);
    // The index cannot be built beside the table: pack fails after the new
    // table is written.
    std::filesystem::create_directory(mdx + ".pack-tmp");
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        EXPECT_THROW(t.pack(), EngineError);
    }
    EXPECT_EQ(readFile(path), table);
    EXPECT_EQ(readFile(mdx), index);
    EXPECT_FALSE(exists(path + ".pack-tmp"));
    std::filesystem::remove(mdx + ".pack-tmp");

    // A tag of a key type the engine does not build: pack either refuses
    // before changing anything or keeps every live record.
    const std::uint32_t tagHeader = u32At(index, mdx::slot::kTagTable + mdx::slot::kHeaderPage);
    patchBytes(mdx, std::size_t(tagHeader) * mdx::kPageSize + mdx::tag::kKeyType, "N");
    const std::string spoiled = readFile(mdx);
    bool packed = true;
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        try {
            t.pack();
        } catch (const EngineError&) {
            packed = false;
        }
    }
    if (packed) {
        Table t;
        t.open(path, OpenMode::Shared);
        EXPECT_EQ(t.physicalCount(), 18u);
    } else {
        EXPECT_EQ(readFile(path), table);
        EXPECT_EQ(readFile(mdx), spoiled);
    }
}

TEST_F(TablePack, LeftoversOfAKilledPackGoAtTheNextExclusiveOpen) {
    createTable(path, 3, {});
    writeFile(path + ".pack-tmp", "half a table");
    writeFile(mdx + ".pack-tmp", "half an index");
    {
        Table t;
        t.open(path, OpenMode::Shared);
    }
    EXPECT_TRUE(exists(path + ".pack-tmp"));  // a shared open cannot know nobody packs
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
    }
    EXPECT_FALSE(exists(path + ".pack-tmp"));
    EXPECT_FALSE(exists(mdx + ".pack-tmp"));
}

TEST_F(TablePack, PackThroughSymbolicLinksReplacesTheFilesTheyName) {
    std::filesystem::create_directory(dir.file("real"));
    createTable(dir.file("real/STAMPS.DBF"), 10, {2, 9});
    std::filesystem::create_symlink(dir.file("real/STAMPS.DBF"), path);
    std::filesystem::create_symlink(dir.file("real/STAMPS.MDX"), mdx);
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        EXPECT_EQ(t.pack().kept, 8u);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_TRUE(std::filesystem::is_symlink(mdx));
    EXPECT_FALSE(exists(dir.file("real/STAMPS.DBF.pack-tmp")));
    Table real;
    real.open(dir.file("real/STAMPS.DBF"), OpenMode::Shared);
    EXPECT_EQ(real.physicalCount(), 8u);
    real.close();
    EXPECT_EQ(namesByTag(), sortedNames(10, {2, 9}));
}

// The count of deleted records kept in the index is believed only while the
// index is not older than the table: after every change of ours it is not,
// so opening a table of ours needs no pass over its records.
TEST_F(TablePack, OurOwnChangesLeaveTheIndexNoOlderThanTheTable) {
    auto indexNotOlder = [&] {
        struct stat table {};
        struct stat index {};
        EXPECT_EQ(::stat(path.c_str(), &table), 0);
        EXPECT_EQ(::stat(mdx.c_str(), &index), 0);
        return std::pair(index.st_mtim.tv_sec, index.st_mtim.tv_nsec) >=
               std::pair(table.st_mtim.tv_sec, table.st_mtim.tv_nsec);
    };
    createTable(path, 5, {2});
    EXPECT_TRUE(indexNotOlder());
    Table t;
    t.open(path, OpenMode::Shared);
    t.first();
    t.deleteRecord();
    EXPECT_TRUE(indexNotOlder());
    appendRow(t, {"r6", "Peru"});
    EXPECT_TRUE(indexNotOlder());
    t.close();
    t.open(path, OpenMode::Exclusive);
    t.pack();
    t.close();
    EXPECT_TRUE(indexNotOlder());
}

// Python's dbf marks records deleted without knowing our index.
TEST_F(TablePack, TheCountAgreesWithAWalkAfterAnotherProgramDeletes) {
    if (!pythonHasModule("dbf")) GTEST_SKIP() << "/usr/bin/python3 has no dbf package";
    createTable(path, 10, {});
    Table open;
    open.open(path, OpenMode::Shared);
    EXPECT_EQ(open.recordCount(), 10u);
    const char* script = R"PY(
import sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_WRITE)
for i in (1, 4, 9):
    dbf.delete(t[i])
t.close()
)PY";
    ASSERT_EQ(runPython(script, {path}).exitCode, 0);
    open.refresh();
    EXPECT_EQ(open.recordCount(), 7u);
    EXPECT_EQ(visitOrder(open).size(), 7u);
    Table fresh;
    fresh.open(path, OpenMode::Shared);
    EXPECT_EQ(fresh.recordCount(), 7u);
    EXPECT_EQ(visitOrder(fresh), (std::vector<std::uint32_t>{1, 3, 4, 6, 7, 8, 9}));
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

// Kept records go out in runs written straight from the table, a piece of at most 8 MB at a
// time: runs that cross pieces, runs cut by deleted records, the first and last records
// deleted. Every kept record arrives whole and in its order, and the index (built meanwhile)
// names them.
TEST_F(TablePack, LongRunsOfKeptRecordsArriveWholeAndInOrder) {
    std::vector<FieldDef> wide{{"NAME", FieldType::Character, 12, 0}};
    for (const char* pad : {"PADA", "PADB", "PADC"})
        wide.push_back({pad, FieldType::Character, 254, 0});  // records of 775 bytes
    constexpr int kRecords = 20000;
    const std::vector<int> deleted{1, 2, 9000, 9001, 17000, 17001, 17002, 17003, 17004, kRecords};
    Table::create(path, wide);
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("NAME", "Upper(Name)");
        for (int i = 1; i <= kRecords; ++i)
            appendRow(t, {"r" + std::to_string(i), std::string(200, char('a' + i % 26)), "x",
                          "p" + std::to_string(i)});
        for (int r : deleted) {
            ASSERT_TRUE(t.goToRecord(std::uint32_t(r)));
            t.deleteRecord();
        }
        const PackResult result = t.pack();
        EXPECT_EQ(result.kept, std::uint32_t(kRecords) - std::uint32_t(deleted.size()));
        // Where each old record went: what the picture store follows.
        ASSERT_EQ(result.newNumbers.size(), std::size_t(kRecords) + 1);
        EXPECT_EQ(result.newNumbers[1], 0u);
        EXPECT_EQ(result.newNumbers[3], 1u);
        EXPECT_EQ(result.newNumbers[9002], 8998u);
        EXPECT_EQ(result.newNumbers[kRecords], 0u);
        EXPECT_EQ(result.newNumbers[kRecords - 1], result.kept);
    }
    Table t;
    t.open(path, OpenMode::Shared);
    std::uint32_t recno = 0;
    for (int i = 1; i <= kRecords; ++i) {
        if (std::find(deleted.begin(), deleted.end(), i) != deleted.end()) continue;
        const RecordView r = t.record(++recno);
        ASSERT_EQ(r.text(0), "r" + std::to_string(i));
        ASSERT_EQ(r.text(1), std::string(200, char('a' + i % 26)));
        ASSERT_EQ(r.text(3), "p" + std::to_string(i));
    }
    EXPECT_EQ(t.physicalCount(), recno);
    t.close();
    EXPECT_EQ(namesByTag(), sortedNames(kRecords, deleted));
}

}  // namespace
}  // namespace engine
