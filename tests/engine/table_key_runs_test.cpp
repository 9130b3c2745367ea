// Keys that go into the index together: after an append run (keys added per
// slice, in key order) and after an edit run (changed keys removed and added
// when the run ends) the index holds exactly the entries a rebuild from the
// records gives, key for key, with many equal keys; anything that reads the
// index meanwhile sees every key; a process killed inside an edit run leaves
// an index the next open rebuilds.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

const char* const kTag = "COUNTRIES";
using Entries = std::vector<std::pair<std::string, std::uint32_t>>;

// A few countries in mixed case: most keys are equal to many others.
std::string country(std::mt19937& rng) {
    static const char* const names[] = {"France", "FRANCE", "Chad", "Fiji", "chad", "Benin"};
    return names[rng() % 6];
}

std::vector<std::string> row(std::mt19937& rng, int i) {
    return {"Stamp " + std::to_string(i), country(rng), std::to_string(1840 + i % 180), "", "",
            "", ""};
}

class KeyRuns : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("K.DBF");
    std::string mdx = dir.file("K.MDX");
    std::mt19937 rng{7};

    void create(int records) {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < records; ++i) rows.push_back(row(rng, i));
        createWithRows(path, sampleFields(), rows);
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag(kTag, "UPPER(COUNTRY)");
    }

    // The entries a rebuild of the same records gives.
    Entries rebuilt() {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.regenerateIndexes();
        t.close();
        return indexEntries(mdx, kTag);
    }
};

TEST_F(KeyRuns, AppendRunsAndSinglePostsAmongEqualKeysGiveTheRebuiltIndex) {
    create(3000);
    {
        Table t;
        t.open(path, OpenMode::Shared);
        t.beginAppendRun();
        for (int i = 3000; i < 9000; ++i) appendRow(t, row(rng, i));
        // Reading in tag order within the run sees every record so far.
        t.selectIndex(kTag);
        EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
        for (int i = 9000; i < 12000; ++i) appendRow(t, row(rng, i));
        t.endAppendRun();
        for (int i = 12000; i < 12500; ++i) appendRow(t, row(rng, i));
    }
    const Entries kept = indexEntries(mdx, kTag);
    EXPECT_EQ(kept.size(), 12500u);
    EXPECT_EQ(kept, rebuilt());
}

TEST_F(KeyRuns, EditRunChangesOnlyTheChangedKeysAndGivesTheRebuiltIndex) {
    create(8000);
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.beginEditRun();
        for (int pass = 0; pass < 3; ++pass) {
            // Some records change more than once, some back to their old key.
            for (std::uint32_t r = 1 + std::uint32_t(pass); r <= 8000; r += 3 + std::uint32_t(pass)) {
                ASSERT_TRUE(t.goToRecord(r));
                t.edit();
                t.setText(kCountry, pass == 2 && r % 2 ? "Zanzibar" : country(rng));
                t.post();
            }
        }
        // Reading in tag order within the run sees the changes.
        t.selectIndex(kTag);
        EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
        t.selectIndex("");
        ASSERT_TRUE(t.goToRecord(5));
        t.edit();
        t.setText(kCountry, "Aachen");
        t.post();
        t.endEditRun();
        EXPECT_EQ(t.indexNotice(), "");
    }
    const Entries kept = indexEntries(mdx, kTag);
    EXPECT_EQ(kept.size(), 8000u);
    EXPECT_EQ(kept.front(), std::make_pair(std::string("AACHEN") + std::string(14, ' '), 5u));
    EXPECT_EQ(kept, rebuilt());
}

TEST_F(KeyRuns, CloseEndsAnEditRunAndAKilledRunLeavesAnIndexThatIsRebuilt) {
    create(2000);
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.beginEditRun();
        ASSERT_TRUE(t.goToRecord(7));
        t.edit();
        t.setText(kCountry, "Aachen");
        t.post();
    }
    EXPECT_EQ(indexEntries(mdx, kTag), rebuilt());

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.beginEditRun();
        for (std::uint32_t r = 1; r <= 2000; r += 2) {
            t.goToRecord(r);
            t.edit();
            t.setText(kCountry, "Yemen");
            t.post();
        }
        ::_exit(0);  // killed before the run ended
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    Table t;
    t.open(path, OpenMode::Shared);
    EXPECT_NE(t.indexNotice().find("out of date"), std::string::npos) << t.indexNotice();
    t.selectIndex(kTag);
    EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
    t.close();
    t.open(path, OpenMode::Exclusive);  // rebuilds it
    t.close();
    const Entries kept = indexEntries(mdx, kTag);
    EXPECT_EQ(kept.size(), 2000u);
    EXPECT_EQ(kept, rebuilt());
}

}  // namespace
}  // namespace engine
