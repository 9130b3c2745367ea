// engine::Table with its production index: tag order, maintenance on every
// change, the header flags, pack, regenerate, and an index that is missing or
// out of step with its table.
#include <gtest/gtest.h>

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
const char* const kExpr = "Upper(Left(Country,80))";
constexpr std::size_t kFieldsAt = 32;  // first field descriptor

class TableIndex : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");
    std::string mdxPath = dir.file("STAMPS.MDX");

    // Countries in mixed case with duplicates; record n has NAME "r<n>".
    void createCountries(const std::vector<std::string>& countries) {
        std::vector<std::vector<std::string>> rows;
        for (std::size_t i = 0; i < countries.size(); ++i)
            rows.push_back({"r" + std::to_string(i + 1), countries[i]});
        createWithRows(path, sampleFields(), rows);
    }

    // Checks navigation in tag order and the index file itself against the
    // table's records.
    void expectTagMatchesTable(Table& t) {
        t.selectIndex(kTag);
        EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
        auto entries = indexEntries(mdxPath, kTag);
        // dBase keeps the keys of deleted records: the tag holds every record.
        EXPECT_EQ(entries.size(), t.physicalCount());
        for (std::size_t i = 1; i < entries.size(); ++i)
            EXPECT_LE(entries[i - 1], entries[i]) << "entry " << i;
    }
};

// A country text for a pseudo-random draw: few distinct keys (long duplicate
// runs) in mixed letter case, so that tags split and ties matter.
std::string countryFor(std::uint32_t draw) {
    static const char* const names[] = {"austria", "Belgium", "CHAD",  "denmark", "Egypt",
                                        "fiji",    "Ghana",   "haiti", "India",   "japan"};
    std::string s = names[draw % 10];
    s += " " + std::to_string(draw / 10 % 7);
    return s;
}

TEST_F(TableIndex, TagOrdersNavigationAndEmptySelectionGivesRecordOrder) {
    createCountries({"Chad", "austria", "Belgium", "AUSTRIA", "", "chad", "Zambia"});
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.addIndexTag(kTag, kExpr);
    ASSERT_EQ(t.tags().size(), 1u);
    EXPECT_EQ(t.tags()[0].name, "NEWINDEX");
    EXPECT_EQ(t.tags()[0].expression, kExpr);
    EXPECT_EQ(t.tags()[0].keyLength, 20);
    EXPECT_EQ(t.selectedIndex(), "");
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6, 7}));

    t.selectIndex("newindex");
    EXPECT_EQ(t.selectedIndex(), "NEWINDEX");
    // Blank first, then AUSTRIA x2, BELGIUM, CHAD x2, ZAMBIA; ties by record.
    const std::vector<std::uint32_t> tagOrder{5, 2, 4, 3, 1, 6, 7};
    EXPECT_EQ(visitOrder(t), tagOrder);
    std::vector<std::uint32_t> back;
    for (t.last(); !t.bof(); t.prior()) back.push_back(t.recNo());
    EXPECT_EQ(back, std::vector<std::uint32_t>(tagOrder.rbegin(), tagOrder.rend()));
    t.moveTo(3);
    EXPECT_EQ(t.recNo(), 3u);
    EXPECT_TRUE(t.goToRecord(6));
    EXPECT_EQ(t.position(), 5u);

    t.selectIndex("");
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_THROW(t.selectIndex("NoSuchTag"), EngineError);

    // The selection survives reopening only as far as the caller selects again.
    t.close();
    t.open(path, OpenMode::Shared);
    ASSERT_EQ(t.tags().size(), 1u);
    t.selectIndex(kTag);
    EXPECT_EQ(visitOrder(t), tagOrder);
}

TEST_F(TableIndex, InsertsEditsAndDeletesKeepTheOrderThroughSplits) {
    createCountries({});
    Table t;
    t.open(path, OpenMode::Shared);
    t.addIndexTag(kTag, kExpr);
    t.selectIndex(kTag);
    std::mt19937 rng(7);
    // Enough records for a three-level tree of 20-byte keys (42 keys a node).
    for (int i = 0; i < 2000; ++i) {
        t.append();
        t.setText(kCountry, countryFor(rng()));
        t.post();
    }
    expectTagMatchesTable(t);
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(t.goToRecord(1 + rng() % 2000));
        t.edit();
        t.setText(kCountry, countryFor(rng()));
        t.post();
    }
    for (int i = 0; i < 200; ++i) {
        t.moveTo(rng() % t.recordCount());
        t.deleteRecord();
    }
    EXPECT_EQ(t.recordCount(), 1800u);
    expectTagMatchesTable(t);
    t.close();
    t.open(path, OpenMode::Shared);
    expectTagMatchesTable(t);
}

TEST_F(TableIndex, EditingTheKeyMovesTheRecordInTheOrder) {
    createCountries({"Belgium", "Chad", "Denmark"});
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.addIndexTag(kTag, kExpr);
    t.selectIndex(kTag);
    ASSERT_TRUE(t.goToRecord(3));
    t.edit();
    t.setText(kCountry, "Albania");
    t.post();
    EXPECT_EQ(t.recNo(), 3u);
    EXPECT_EQ(t.position(), 0u);  // the cursor follows the record
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{3, 1, 2}));
    t.goToRecord(3);
    t.edit();
    t.setText(kName, "not a key field");  // an unchanged key leaves the tag alone
    t.post();
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{3, 1, 2}));
    expectTagMatchesTable(t);
}

TEST_F(TableIndex, HeaderFlagsFollowTheTags) {
    createCountries({"Chad", "Benin"});
    const std::size_t countryFlag = kFieldsAt + 32 * kCountry + 31;
    const std::size_t nameFlag = kFieldsAt + 32 * kName + 31;
    Table t;
    t.open(path, OpenMode::Exclusive);
    EXPECT_EQ(byteAt(path, 28), 0);
    t.addIndexTag(kTag, kExpr);
    EXPECT_TRUE(exists(mdxPath));
    EXPECT_EQ(byteAt(path, 28), 1);
    EXPECT_EQ(byteAt(path, countryFlag), 0);  // an expression tag marks no field
    t.addIndexTag("BYNAME", "name");
    EXPECT_EQ(byteAt(path, nameFlag), 1);  // a bare-field tag marks its field
    EXPECT_EQ(byteAt(path, countryFlag), 0);
    EXPECT_EQ(t.tags().size(), 2u);
    t.selectIndex("byname");
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{1, 2}));

    t.deleteIndexTag("BYNAME");
    EXPECT_EQ(byteAt(path, nameFlag), 0);
    EXPECT_EQ(t.selectedIndex(), "");  // the selected tag went with it
    EXPECT_EQ(byteAt(path, 28), 1);
    t.deleteIndexTag("nosuchtag");  // nothing to do
    t.deleteIndexTag(kTag);
    EXPECT_TRUE(t.tags().empty());
    EXPECT_FALSE(exists(mdxPath));
    EXPECT_EQ(byteAt(path, 28), 0);
    t.close();
    t.open(path, OpenMode::Exclusive);
    EXPECT_TRUE(t.tags().empty());
}

TEST_F(TableIndex, RefusedExpressionsNameTheExpression) {
    createCountries({"Chad"});
    Table t;
    t.open(path, OpenMode::Exclusive);
    for (const std::string expr :
         {"Upper(Nosuch)", "SUBSTR(Country,1,3)", "Upper(Country", "Country +", "Year * 2"}) {
        try {
            t.addIndexTag(kTag, expr);
            ADD_FAILURE() << expr << " was accepted";
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find(expr), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(t.addIndexTag("ELEVENCHARS", kExpr), EngineError);
    EXPECT_THROW(t.addIndexTag(kTag, "Upper(Country)" + std::string(250, ' ')), EngineError);
    EXPECT_TRUE(t.tags().empty());
    EXPECT_FALSE(exists(mdxPath));
}

TEST_F(TableIndex, PackRemovesDeletedRecordsAndRebuildsTheIndex) {
    createCountries({"e", "d", "c", "b", "a", "f"});
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.addIndexTag(kTag, kExpr);
    for (std::uint32_t r : {2u, 5u}) {
        ASSERT_TRUE(t.goToRecord(r));
        t.deleteRecord();
    }
    t.selectIndex(kTag);
    t.pack();
    EXPECT_EQ(t.physicalCount(), 4u);
    EXPECT_EQ(t.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(visitTexts(t, kCountry), (std::vector<std::string>{"b", "c", "e", "f"}));
    EXPECT_EQ(visitTexts(t, kName), (std::vector<std::string>{"r4", "r3", "r1", "r6"}));
    expectTagMatchesTable(t);
    t.close();
    EXPECT_EQ(readFile(path).size(), 32 + 7 * 32 + 1 + 4 * 91 + 1u);
    EXPECT_FALSE(exists(path + ".pack-tmp"));
}

TEST_F(TableIndex, RegenerateRepairsATagThatNoLongerMatchesItsRecords) {
    createCountries({"b", "a", "c"});
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag(kTag, kExpr);
        // Record 1's country changed behind the index's back: same count, so
        // the index still looks current.
        std::size_t at = 32 + 7 * 32 + 1 + 0 * 91 + 1 + 20;
        t.close();
        patchBytes(path, at, "z");
    }
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.selectIndex(kTag);
    ASSERT_EQ(visitOrder(t), (std::vector<std::uint32_t>{2, 1, 3}));  // still the old order
    t.regenerateIndexes();
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{2, 3, 1}));
    expectTagMatchesTable(t);
}

TEST_F(TableIndex, AnIndexDeletedByHandIsForgottenAndCanBeAddedAgain) {
    createCountries({"b", "a"});
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag(kTag, kExpr);
    }
    ASSERT_EQ(byteAt(path, 28), 1);
    ASSERT_EQ(::remove(mdxPath.c_str()), 0);
    for (OpenMode mode : {OpenMode::Shared, OpenMode::Exclusive}) {
        Table t;
        t.open(path, mode);
        EXPECT_TRUE(t.tags().empty());
        EXPECT_THROW(t.selectIndex(kTag), EngineError);
        EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{1, 2}));
    }
    EXPECT_EQ(byteAt(path, 28), 0);
    Table t;
    t.open(path, OpenMode::Shared);
    t.addIndexTag(kTag, kExpr);
    t.selectIndex(kTag);
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{2, 1}));
    EXPECT_EQ(byteAt(path, 28), 1);
}

// An exclusive open rebuilds it at once; a shared open leaves it to the first
// change and orders the records without it meanwhile.
TEST_F(TableIndex, AnIndexLeftBehindByTheTableIsRebuiltBeforeItIsUsed) {
    std::vector<std::string> first(10);
    for (std::size_t i = 0; i < first.size(); ++i) first[i] = countryFor(std::uint32_t(i * 37));
    createCountries(first);
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag(kTag, kExpr);
    }
    copyFile(mdxPath, dir.file("old.mdx"));
    {
        Table t;
        t.open(path, OpenMode::Shared);
        for (std::uint32_t i = 0; i < 300; ++i) appendRow(t, {"x", countryFor(i * 13)});
        t.goToRecord(3);
        t.deleteRecord();
    }
    for (OpenMode mode : {OpenMode::Shared, OpenMode::Exclusive}) {
        SCOPED_TRACE(mode == OpenMode::Shared ? "shared" : "exclusive");
        copyFile(dir.file("old.mdx"), mdxPath);
        Table t;
        t.open(path, mode);
        EXPECT_NE(t.indexNotice(), "");
        const std::size_t records = t.physicalCount();
        EXPECT_EQ(indexEntries(mdxPath, kTag).size(), mode == OpenMode::Shared ? 10u : records);
        t.selectIndex(kTag);
        EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
        EXPECT_EQ(t.recordCount(), records - 1);
        appendRow(t, {"y", countryFor(5)});
        expectTagMatchesTable(t);
    }
}

}  // namespace
}  // namespace engine
