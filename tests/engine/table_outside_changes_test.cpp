// A table walked by one user while another deletes records: every walk from
// first() visits exactly the records that are live at that moment, in record
// order and in tag order, whether the other user's deletions come before the
// walk or while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

class OutsideDeletions : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        std::vector<std::vector<std::string>> rows;
        // Countries in reverse of record order, so tag order differs from it.
        for (int i = 1; i <= 10; ++i) rows.push_back({"r" + std::to_string(i), country(i)});
        createWithRows(path, sampleFields(), rows);
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("BYCOUNTRY", "Upper(Left(Country,20))");
    }
    static std::string country(int recno) { return std::string(1, char('A' + 10 - recno)); }
    bool byTag() const { return GetParam(); }
    void openBoth() {
        a.open(path, OpenMode::Shared);
        b.open(path, OpenMode::Shared);
        if (byTag()) b.selectIndex("BYCOUNTRY");
    }
    void deleteByA(std::uint32_t recno) {
        ASSERT_TRUE(a.goToRecord(recno));
        a.deleteRecord();
    }
    // The live records in the order B should walk them.
    std::vector<std::uint32_t> live(const std::vector<std::uint32_t>& deleted) const {
        std::vector<std::uint32_t> out;
        for (std::uint32_t r = 1; r <= 10; ++r)
            if (std::find(deleted.begin(), deleted.end(), r) == deleted.end()) out.push_back(r);
        if (byTag()) std::reverse(out.begin(), out.end());
        return out;
    }

    ScratchDir dir;
    const std::string path = dir.file("STAMPS.DBF");
    Table a, b;
};

TEST_P(OutsideDeletions, EachWalkFromFirstVisitsExactlyTheLiveRecords) {
    openBoth();
    EXPECT_EQ(visitOrder(b), live({}));
    deleteByA(1);
    EXPECT_EQ(visitOrder(b), live({1}));
    deleteByA(5);
    EXPECT_EQ(visitOrder(b), live({1, 5}));
    deleteByA(10);
    EXPECT_EQ(visitOrder(b), live({1, 5, 10}));
}

TEST_P(OutsideDeletions, AWalkInProgressSkipsWhatWasDeletedMeanwhile) {
    openBoth();
    std::vector<std::uint32_t> seen;
    b.first();
    for (int i = 0; i < 3; ++i, b.next()) seen.push_back(b.recNo());
    // B stands on its fourth record; A deletes it, one already visited and
    // one still ahead.
    const std::uint32_t current = b.recNo();
    const std::uint32_t behind = seen[1];
    const std::uint32_t ahead = live({})[7];
    deleteByA(current);
    deleteByA(behind);
    deleteByA(ahead);
    for (b.next(); !b.eof(); b.next()) seen.push_back(b.recNo());
    std::vector<std::uint32_t> expected = live({});
    expected.erase(std::remove_if(expected.begin() + 3, expected.end(),
                                  [&](std::uint32_t r) { return r == current || r == ahead; }),
                   expected.end());
    EXPECT_EQ(seen, expected);
}

INSTANTIATE_TEST_SUITE_P(Orders, OutsideDeletions, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "TagOrder" : "RecordOrder"; });

}  // namespace
}  // namespace engine
