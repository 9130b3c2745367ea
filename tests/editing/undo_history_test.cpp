// The undo history: each kind of change comes back byte for byte, newest first, under the name
// the Edit menu shows; a command's changes go back together; a record someone else changed
// since is never touched.
#include "editing/undo_history.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "../collection/other_process.h"

namespace editing {
namespace {

class UndoHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.filePath(QStringLiteral("STAMPS.DBF"));
        collection::testing::makeStampCollection(path, {{"AU-0001", "Australia", 1913, ""},
                                                        {"AU-0002", "Austria", 1850, ""},
                                                        {"AU-0003", "Belgium", 1849, ""}});
        table.open(path.toStdString(), engine::OpenMode::Shared);
        for (std::uint32_t r = 1; r <= 3; ++r) before.push_back(table.recordBytes(r));
        history.attach(&table);
    }

    void setCountry(std::uint32_t recno, const std::string& country) {
        ASSERT_TRUE(table.goToRecord(recno));
        table.edit();
        table.setText("Country", country);
        table.post();
    }

    QTemporaryDir dir;
    QString path;
    engine::Table table;
    std::vector<std::string> before;
    UndoHistory history;
};

TEST_F(UndoHistoryTest, UpdateAddAndDeleteComeBackNewestFirstByteForByte) {
    setCountry(1, "Australien");
    table.append();
    table.setText("Catalog", "NZ-0001");
    table.post();
    ASSERT_TRUE(table.goToRecord(3));
    table.deleteRecord();

    ASSERT_EQ(history.stepCount(), 3);
    EXPECT_EQ(history.nextStepName(), QStringLiteral("Delete of AU-0003"));
    EXPECT_EQ(history.undo(), QString());
    EXPECT_EQ(table.recordBytes(3), before[2]);
    EXPECT_EQ(table.recordCount(), 4u);

    EXPECT_EQ(history.nextStepName(), QStringLiteral("Add of NZ-0001"));
    EXPECT_EQ(history.undo(), QString());
    EXPECT_TRUE(table.record(4).deleted());  // Recall can still bring it back
    EXPECT_EQ(table.recordCount(), 3u);

    EXPECT_EQ(history.nextStepName(), QStringLiteral("Update of AU-0001"));
    EXPECT_EQ(history.undo(), QString());
    EXPECT_EQ(table.recordBytes(1), before[0]);
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.undo(), QString());  // nothing left: nothing happens
}

TEST_F(UndoHistoryTest, ACommandsChangesGoBackAsOneStep) {
    {
        const UndoStepScope step(history, QStringLiteral("Search and Replace"));
        for (std::uint32_t r = 1; r <= 3; ++r) setCountry(r, "Narnia");
    }
    {
        const UndoStepScope nothing(history, QStringLiteral("Import"));  // changed nothing
    }
    ASSERT_EQ(history.stepCount(), 1);
    EXPECT_EQ(history.nextStepName(), QStringLiteral("Search and Replace"));
    EXPECT_EQ(history.undo(), QString());
    for (std::uint32_t r = 1; r <= 3; ++r) EXPECT_EQ(table.recordBytes(r), before[r - 1]);
}

TEST_F(UndoHistoryTest, KeepsTheNewestStepsAndRefusesRecordsAnotherProgramChanged) {
    for (int i = 0; i < UndoHistory::kMaxSteps + 5; ++i) setCountry(2, "Land " + std::to_string(i));
    EXPECT_EQ(history.stepCount(), UndoHistory::kMaxSteps);
    EXPECT_GE(UndoHistory::kMaxSteps, 20);

    setCountry(1, "Oz");
    {
        engine::Table other;  // another program, through its own open of the file
        other.open(path.toStdString(), engine::OpenMode::Shared);
        ASSERT_TRUE(other.goToRecord(1));
        other.edit();
        other.setText("Year", "1914");
        other.post();
    }
    const std::string theirs = table.recordBytes(1);
    EXPECT_EQ(history.undo(),
              QStringLiteral("AU-0001 has been changed by another program since, so \"Update of "
                             "AU-0001\" cannot be undone. It is taken off the list."));
    EXPECT_EQ(table.recordBytes(1), theirs);
    EXPECT_EQ(history.nextStepName(), QStringLiteral("Update of AU-0002"));

    history.clear();  // pack, restore or another collection
    EXPECT_FALSE(history.canUndo());
    setCountry(3, "Belgique");
    history.detach();
    setCountry(3, "België");  // no longer recorded
    EXPECT_FALSE(history.canUndo());
}

}  // namespace
}  // namespace editing
