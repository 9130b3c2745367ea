// Appending through the space grown ahead of the table: whatever way the pages are made ready
// (set aside, written as zeros, mapped), every record appended comes back whole, the file ends
// at its end marker, and records another program left past the header's count are not touched
// beyond the records that replace them.
#include <gtest/gtest.h>

#include <string>

#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

constexpr int kRecords = 30000;  // about 2 MB: many windows of pages made ready ahead

std::string nameOf(int i) { return "n" + std::to_string(i); }

void appendMany(Table& t, int from, int to) {
    for (int i = from; i <= to; ++i) appendRow(t, {nameOf(i), "Chad"});
}

void expectNames(const std::string& path, int count) {
    Table t;
    t.open(path, OpenMode::Shared);
    ASSERT_EQ(t.recordCount(), std::uint32_t(count));
    for (int i = 1; i <= count; ++i) {
        ASSERT_TRUE(t.goToRecord(std::uint32_t(i)));
        ASSERT_EQ(t.text(0), nameOf(i)) << "record " << i;
    }
}

TEST(TableAppendSpace, EveryRecordOfALongRunComesBackWholeAndTheFileEndsAtItsMarker) {
    for (const bool exclusive : {true, false}) {
        ScratchDir dir;
        const std::string path = dir.file("RUN.DBF");
        Table::create(path, sampleFields());
        {
            Table t;
            t.open(path, exclusive ? OpenMode::Exclusive : OpenMode::Shared);
            if (!exclusive) t.beginAppendRun();
            appendMany(t, 1, kRecords);
            if (!exclusive) t.endAppendRun();
        }
        expectNames(path, kRecords);
        const std::string bytes = readFile(path);
        const std::uint32_t header = u32At(bytes, 8) & 0xFFFF;
        const std::uint32_t length = (u32At(bytes, 10)) & 0xFFFF;
        ASSERT_EQ(bytes.size(), header + std::size_t(kRecords) * length + 1) << exclusive;
        EXPECT_EQ(bytes.back(), '\x1A');
    }
}

TEST(TableAppendSpace, RecordsPastTheCountBeyondTheNewOnesStayAsTheyWere) {
    ScratchDir dir;
    const std::string path = dir.file("PAST.DBF");
    Table::create(path, sampleFields());
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        appendMany(t, 1, kRecords);
    }
    patchU32(path, 4, 1000);  // another program counted only the first 1,000
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        for (int i = 1001; i <= 1010; ++i) appendRow(t, {nameOf(i), "Chad"});
    }
    // The ten new records took the places of records 1001-1010, which hold the same names; the
    // ones after them are still in the file, whole.
    patchU32(path, 4, kRecords);
    expectNames(path, kRecords);
}

}  // namespace
}  // namespace engine
