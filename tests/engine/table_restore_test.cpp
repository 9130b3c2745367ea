// Putting records back byte for byte (undo, recall) and the change observer that records what
// this table writes.
#include <gtest/gtest.h>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using testing::ScratchDir;

class TableRestoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("T.DBF");
        testing::createWithRows(path, testing::sampleFields(),
                                {{"Bravo", "Spain"}, {"alpha", "France"}, {"Delta", "Italy"}});
        {
            Table indexing;
            indexing.open(path, OpenMode::Exclusive);
            indexing.addIndexTag("NAMES", "UPPER(NAME)");
        }
        t.open(path, OpenMode::Shared);
        t.selectIndex("NAMES");
        t.setChangeObserver([this](const RecordChange& c) {
            changes.push_back({c.recno, std::string(c.before), std::string(c.after)});
        });
    }

    struct Seen {
        std::uint32_t recno;
        std::string before, after;
    };
    ScratchDir dir;
    std::string path;
    Table t;
    std::vector<Seen> changes;
};

TEST_F(TableRestoreTest, ObserverSeesEveryPostDeleteAndRestoreWithBothImages) {
    const std::string original = t.recordBytes(1);
    t.goToRecord(1);
    t.edit();
    t.setText(testing::kName, "Zulu");
    t.post();
    t.append();
    t.setText(testing::kName, "Echo");
    t.post();
    t.goToRecord(3);
    t.deleteRecord();
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].recno, 1u);
    EXPECT_EQ(changes[0].before, original);
    EXPECT_EQ(changes[0].after, t.recordBytes(1));
    EXPECT_EQ(changes[1].recno, 4u);
    EXPECT_TRUE(changes[1].before.empty());
    EXPECT_EQ(changes[2].before[0], ' ');
    EXPECT_EQ(changes[2].after[0], '*');

    t.restoreRecord(1, original);
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[3].before, changes[0].after);
    EXPECT_EQ(changes[3].after, original);
}

TEST_F(TableRestoreTest, RestoredRecordsTakeTheirPlaceInTheIndexAndTheCounts) {
    const std::string bravo = t.recordBytes(1);
    t.goToRecord(1);
    t.edit();
    t.setText(testing::kName, "Zulu");
    t.post();
    t.goToRecord(2);
    t.deleteRecord();
    EXPECT_EQ(testing::visitTexts(t, testing::kName), (std::vector<std::string>{"Delta", "Zulu"}));

    t.restoreRecord(1, bravo);             // the update taken back
    std::string alpha = t.recordBytes(2);  // the delete taken back
    alpha[0] = ' ';
    t.restoreRecord(2, alpha);
    EXPECT_EQ(t.recordCount(), 3u);
    EXPECT_EQ(testing::visitTexts(t, testing::kName),
              (std::vector<std::string>{"alpha", "Bravo", "Delta"}));
    t.close();

    // Another program sees the same table and an index that agrees with it.
    Table other;
    other.open(path, OpenMode::ReadOnly);
    EXPECT_TRUE(other.indexNotice().empty());
    other.selectIndex("NAMES");
    EXPECT_EQ(testing::visitOrder(other), (std::vector<std::uint32_t>{2, 1, 3}));
    EXPECT_EQ(testing::indexEntries(dir.file("T.MDX"), "NAMES").size(), 3u);
}

TEST_F(TableRestoreTest, RefusesWhatDoesNotFitOrIsGone) {
    const std::string bytes = t.recordBytes(1);
    EXPECT_THROW(t.restoreRecord(9, bytes), EngineError);
    EXPECT_THROW(t.restoreRecord(1, bytes.substr(1)), EngineError);
    std::string badFlag = bytes;
    badFlag[0] = 'x';
    EXPECT_THROW(t.restoreRecord(1, badFlag), EngineError);
    t.goToRecord(2);
    t.edit();
    EXPECT_THROW(t.restoreRecord(1, bytes), EngineError);  // a record is being edited
    t.cancel();
    EXPECT_TRUE(changes.empty());
}

}  // namespace
}  // namespace engine
