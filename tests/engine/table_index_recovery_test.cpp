// engine::Table with an index that a killed program left half-changed, or
// that is damaged: the table always opens (record order, or the tag's order
// worked out in memory), says so once, writes nothing when opened to read,
// rebuilds the index at once when opened exclusively if nothing is lost by it,
// and regenerateIndexes() always succeeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

constexpr std::uint32_t kRecords = 300;

std::vector<std::uint32_t> recordOrder() {
    std::vector<std::uint32_t> order(kRecords);
    std::iota(order.begin(), order.end(), 1u);
    return order;
}

class IndexRecovery : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");
    std::string mdxPath = dir.file("STAMPS.MDX");
    std::string goodIndex;

    void SetUp() override {
        std::vector<std::vector<std::string>> rows;
        for (std::uint32_t i = 0; i < kRecords; ++i)
            rows.push_back({"r" + std::to_string(i), "C" + std::to_string(i * 7919 % kRecords),
                            std::to_string(1900 + i % 97)});
        createWithRows(path, sampleFields(), rows);
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("BYCOUNTRY", "Upper(Left(Country,20))");
        t.addIndexTag("BYYEAR", "STR(Year,12,0)+Upper(Left(Name,8))");
        t.close();
        goodIndex = readFile(mdxPath);
    }

    // The walk of `t` in the order of BYCOUNTRY when the table offers it.
    std::vector<std::uint32_t> walkByCountry(Table& t) {
        for (const TagInfo& tag : t.tags())
            if (tag.name == "BYCOUNTRY") t.selectIndex("BYCOUNTRY");
        return visitOrder(t);
    }
};

struct Interruption {
    const char* what;
    std::function<void(std::string& mdx)> leave;
    bool rebuiltOnExclusiveOpen;  // the definitions survived, so nothing is lost by it
};

TEST_F(IndexRecovery, AnIndexLeftHalfChangedNeverKeepsTheTableShut) {
    const std::vector<Interruption> cases = {
        {"marked as being changed", [](std::string& m) { m[56] = 1; }, true},
        {"stamped for another record count", [](std::string& m) { m[52] = char(m[52] - 1); }, true},
        {"a rebuild killed after the file was cut to its header",
         [](std::string& m) {
             m.resize(2048);
             m[32] = 4;
             m[33] = m[34] = m[35] = 0;
             m[56] = 1;
         },
         false},
        {"a rebuild killed before the second tag's header was written",
         [](std::string& m) {
             const std::size_t header = std::size_t(u32At(m, 544 + 32)) * 512;
             std::fill(m.begin() + std::ptrdiff_t(header),
                       m.begin() + std::ptrdiff_t(header + 1024), '\0');
             m[56] = 1;
         },
         false},
    };
    for (const Interruption& c : cases) {
        SCOPED_TRACE(c.what);
        std::string spoiled = goodIndex;
        c.leave(spoiled);
        writeFile(mdxPath, spoiled);
        patchBytes(path, 28, "\x01");  // a rebuild that lost every tag removed the index
        Table reference;
        reference.open(path, OpenMode::ReadOnly);
        const std::vector<std::uint32_t> byCountry = expectedUpperOrder(reference, kCountry);
        reference.close();

        for (OpenMode mode : {OpenMode::ReadOnly, OpenMode::Shared}) {
            Table t;
            ASSERT_NO_THROW(t.open(path, mode));
            EXPECT_NE(t.indexNotice().find(mdxPath), std::string::npos) << t.indexNotice();
            EXPECT_EQ(t.indexNotice().find("rebuilt."), std::string::npos) << t.indexNotice();
            const std::vector<std::uint32_t> walked = walkByCountry(t);
            EXPECT_TRUE(walked == byCountry || walked == recordOrder());
            EXPECT_EQ(t.recordCount(), kRecords);
            t.close();
            EXPECT_TRUE(readFile(mdxPath) == spoiled) << "opening to read changed the index";
        }

        Table t;
        ASSERT_NO_THROW(t.open(path, OpenMode::Exclusive));
        EXPECT_EQ(t.indexNotice().find("rebuilt.") != std::string::npos, c.rebuiltOnExclusiveOpen)
            << t.indexNotice();
        const std::vector<TagInfo> dropped = t.regenerateIndexes();
        EXPECT_EQ(dropped.size() + t.tags().size(), 2u);
        for (const TagInfo& tag : t.tags()) EXPECT_NO_THROW(indexEntries(mdxPath, tag.name));
        if (c.rebuiltOnExclusiveOpen) {
            EXPECT_EQ(walkByCountry(t), byCountry);
        }
        t.close();
        Table again;
        again.open(path, OpenMode::ReadOnly);
        EXPECT_EQ(again.indexNotice(), "");
        EXPECT_EQ(visitOrder(again).size(), kRecords);
        EXPECT_FALSE(exists(mdxPath + ".reindex-tmp"));
    }
}

TEST_F(IndexRecovery, ASpoiledIndexWithAnIntactTableOpensInRecordOrder) {
    std::string spoiled(goodIndex.size(), 'x');
    writeFile(mdxPath, spoiled);
    for (OpenMode mode : {OpenMode::ReadOnly, OpenMode::Shared, OpenMode::Exclusive}) {
        Table t;
        ASSERT_NO_THROW(t.open(path, mode));
        EXPECT_NE(t.indexNotice().find(mdxPath), std::string::npos);
        EXPECT_TRUE(t.tags().empty());
        EXPECT_EQ(visitOrder(t), recordOrder());
        t.close();
        EXPECT_TRUE(readFile(mdxPath) == spoiled) << "a file with no tag to rebuild was replaced";
    }
    Table t;
    t.open(path, OpenMode::Exclusive);
    EXPECT_TRUE(t.regenerateIndexes().empty());
    EXPECT_FALSE(exists(mdxPath));  // nothing was left to index
    EXPECT_EQ(byteAt(path, 28), 0);
}

TEST_F(IndexRecovery, RandomlySpoiledIndexesNeverLockTheUserOut) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::string m = goodIndex;
        for (int i = 1 + int(rng() % 6); i > 0; --i) {
            // Mostly the header, the tag table and the tag headers.
            const std::size_t at = rng() % 2 ? rng() % 8192 : rng() % m.size();
            m[at] = char(rng());
        }
        writeFile(mdxPath, m);
        patchBytes(path, 28, "\x01");
        for (OpenMode mode : {OpenMode::ReadOnly, OpenMode::Shared}) {
            Table t;
            ASSERT_NO_THROW(t.open(path, mode));
            std::vector<std::uint32_t> walked;
            ASSERT_NO_THROW(walked = walkByCountry(t));
            std::sort(walked.begin(), walked.end());
            EXPECT_EQ(walked, recordOrder());
        }
        Table t;
        ASSERT_NO_THROW(t.open(path, OpenMode::Exclusive));
        ASSERT_NO_THROW(t.regenerateIndexes());
        for (const TagInfo& tag : t.tags())
            EXPECT_EQ(indexEntries(mdxPath, tag.name).size(), kRecords);
    }
}

}  // namespace
}  // namespace engine
