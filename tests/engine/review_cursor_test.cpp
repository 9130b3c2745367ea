// Where the cursor of engine::Table stands after deleteRecord() when the
// visible order had to be rebuilt first (after a post, a filter change, a
// new tag selection): the record after the deleted one, as in the order it
// was deleted from, never a jump back to the first record.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

struct DeleteCase {
    const char* what;
    std::function<void(Table&)> before;  // leaves the cursor on the record to delete
    std::uint32_t deleted;
    std::uint32_t expectedCurrent;  // 0: nothing visible is left
};

TEST(ReviewCursor, DeleteMovesToTheNextRecordWhateverHappenedBefore) {
    const std::vector<DeleteCase> cases = {
        {"after posting an edit",
         [](Table& t) {
             ASSERT_TRUE(t.goToRecord(3));
             t.edit();
             t.setText(kName, "edited");
             t.post();
         },
         3, 4},
        {"after posting a new record (the last one)",
         [](Table& t) {
             appendRow(t, {"new", "Gabon"});
         },
         6, 5},
        {"after a filter change",
         [](Table& t) {
             ASSERT_TRUE(t.goToRecord(4));
             t.setFilter([](const RecordView& r) { return r.text(kName) != "r1"; });
         },
         4, 5},
        {"in tag order after selecting the tag",
         [](Table& t) {
             t.addIndexTag("BYCOUNTRY", "Upper(Left(Country,20))");
             ASSERT_TRUE(t.goToRecord(5));  // Benin: next in country order is Chad (2)
             t.selectIndex("BYCOUNTRY");
         },
         5, 2},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string path = dir.file("STAMPS.DBF");
        createWithRows(
            path, sampleFields(),
            {{"r1", "Angola"}, {"r2", "Chad"}, {"r3", "Egypt"}, {"r4", "Fiji"}, {"r5", "Benin"}});
        Table t;
        t.open(path, OpenMode::Exclusive);
        c.before(t);
        if (::testing::Test::HasFatalFailure()) return;
        ASSERT_EQ(t.recNo(), c.deleted);
        t.deleteRecord();
        EXPECT_TRUE(t.record(c.deleted).deleted());
        EXPECT_EQ(t.recNo(), c.expectedCurrent);
    }
}

}  // namespace
}  // namespace engine
