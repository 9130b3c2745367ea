// Rows read lazily from the index: a table with nothing deleted is opened,
// counted and shown from the index alone, and falls back to the complete
// order as soon as a deleted record or a filter is involved.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/mdx_file.h"
#include "engine/table.h"
#include "mdx_test_util.h"
#include "table_test_util.h"

namespace engine::testing {
namespace {

class LazyRowsTest : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("LAZY.DBF");

    // 3,000 records whose countries run backwards, so tag order differs from
    // record order and spans many leaves.
    void SetUp() override {
        Table::create(path, sampleFields());
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("NewIndex", "Upper(Left(Country,80))");
        for (int i = 0; i < 3000; ++i) {
            t.append();
            char country[16];
            std::snprintf(country, sizeof country, "C%05d", 3000 - i);
            t.setText(kCountry, country);
            t.setText(kName, "n" + std::to_string(i));
            t.post();
        }
    }

    static std::vector<std::uint32_t> rowsOf(Table& t) {
        std::vector<std::uint32_t> rows;
        for (std::uint32_t i = 0, n = t.recordCount(); i < n; ++i)
            rows.push_back(t.visibleAt(i).recNo());
        return rows;
    }
};

TEST_F(LazyRowsTest, RowsCursorAndCountAgreeWithTheTagOrder) {
    Table t;
    t.open(path, OpenMode::Shared);
    t.selectIndex("NewIndex");
    EXPECT_EQ(t.recordCount(), 3000u);
    const auto expected = expectedUpperOrder(t, kCountry);
    EXPECT_EQ(rowsOf(t), expected);
    EXPECT_EQ(visitOrder(t), expected);
    // Jumping straight to far rows and records works before anything was walked.
    Table u;
    u.open(path, OpenMode::Shared);
    u.selectIndex("NewIndex");
    EXPECT_EQ(u.visibleAt(2999).recNo(), expected.back());
    ASSERT_TRUE(u.goToRecord(expected[1500]));
    EXPECT_EQ(u.position(), 1500u);
    u.last();
    EXPECT_EQ(u.recNo(), expected.back());
    u.moveTo(10);
    EXPECT_EQ(u.recNo(), expected[10]);
}

TEST_F(LazyRowsTest, DeletedRecordsAreCountedThroughReopenAndPack) {
    {
        Table t;
        t.open(path, OpenMode::Shared);
        t.selectIndex("NewIndex");
        t.moveTo(5);
        t.deleteRecord();
        EXPECT_EQ(t.recordCount(), 2999u);
    }
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.selectIndex("NewIndex");
    EXPECT_EQ(t.recordCount(), 2999u);
    EXPECT_EQ(rowsOf(t), expectedUpperOrder(t, kCountry));
    t.pack();
    EXPECT_EQ(t.recordCount(), 2999u);
    EXPECT_EQ(rowsOf(t), expectedUpperOrder(t, kCountry));
}

TEST_F(LazyRowsTest, ARecordDeletedBehindTheIndexIsNeverShown) {
    // Another program marks record 3000 (the first in tag order) deleted
    // without telling the index.
    Table probe;
    probe.open(path, OpenMode::Shared);
    const std::size_t headerLength = 32 + 32 * sampleFields().size() + 1;
    std::size_t recordLength = 1;
    for (const auto& f : sampleFields()) recordLength += std::size_t(f.length);
    probe.close();
    patchBytes(path, headerLength + 2999 * recordLength, "*");

    Table t;
    t.open(path, OpenMode::Shared);
    t.selectIndex("NewIndex");
    t.first();
    EXPECT_NE(t.recNo(), 3000u);
    EXPECT_EQ(t.recordCount(), 2999u);
    EXPECT_EQ(rowsOf(t), expectedUpperOrder(t, kCountry));
}

TEST_F(LazyRowsTest, AFilterGivesOnlyItsRecords) {
    Table t;
    t.open(path, OpenMode::Shared);
    t.selectIndex("NewIndex");
    const int country = kCountry;
    t.setFilter([country](const RecordView& r) { return r.text(country).back() == '7'; });
    EXPECT_EQ(t.recordCount(), 300u);
    for (std::uint32_t r : visitOrder(t)) EXPECT_EQ(t.record(r).text(kCountry).back(), '7');
    t.clearFilter();
    EXPECT_EQ(t.recordCount(), 3000u);
}

TEST(MdxOrderWalk, WalkingInSmallStepsGivesTheWholeOrder) {
    using namespace engine::mdxtest;
    Scratch scratch;
    auto mdx = MdxFile::create(scratch.file("W.MDX"), "W", 0x57);
    mdx->addTag("T", "T", 20, 5000, producerFor(KeyShape::FewDistinct, 20));
    std::vector<std::uint32_t> whole, stepwise;
    mdx->collectOrder(0, whole);
    OrderCursor cursor;
    mdx->beginOrder(0, cursor);
    while (mdx->continueOrder(cursor, stepwise, 7)) {
    }
    EXPECT_EQ(stepwise, whole);
    EXPECT_EQ(whole.size(), 5000u);
}

}  // namespace
}  // namespace engine::testing
