// Keys built by the table from the collection's sort expressions, read by an
// independent reader: Perl XBase's index_dump must list the tag "NewIndex" in
// exactly the order the table navigates, blank dates, blank and negative
// numbers and cp1252 letters included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/table.h"
#include "table_test_util.h"

namespace engine::testing {
namespace {

// Record numbers in index_dump's order (each line: key bytes, blank, recno).
std::vector<std::uint32_t> dumpedOrder(const std::string& mdx, std::size_t keyLength) {
    const CommandResult r = runCommand("index_dump " + shellQuote(mdx) + " NEWINDEX");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    std::vector<std::uint32_t> order;
    for (std::size_t start = 0; start < r.output.size();) {
        const std::size_t end = r.output.find('\n', start + keyLength);
        if (end == std::string::npos) break;
        order.push_back(std::uint32_t(std::stoul(r.output.substr(start + keyLength + 1,
                                                                 end - start - keyLength - 1))));
        start = end + 1;
    }
    return order;
}

TEST(TableIndexDump, IndependentReaderWalksTheTagAsTheTableNavigates) {
    if (runCommand("command -v index_dump").exitCode != 0)
        GTEST_SKIP() << "index_dump (Debian libdbd-xbase-perl) is not installed";
    ScratchDir dir;
    const std::string path = dir.file("MASTER.DBF");
    Table::create(path, sampleFields());
    const char* countries[] = {"France", "\xC3\x96sterreich", "espa\xC3\xB1" "a", "", "Chile"};
    const char* years[] = {"1998", "-5", "", "2024", "12"};
    const char* dates[] = {"19970307", "", "20240101", "", "18990101"};
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("NewIndex", "DTOS(Bought)+STR(Year,12,0)+Upper(Left(Country,20))");
        for (int i = 0; i < 900; ++i) {  // several leaves: 40-byte keys, 23 to a node
            t.append();
            t.setText(kCountry, countries[i % 5]);
            t.setText(kYear, years[(i / 5) % 5]);
            t.setText(kBought, dates[(i / 25) % 5]);
            t.post();
        }
        t.first();
        t.moveTo(17);
        t.edit();
        t.setText(kYear, "-123");
        t.post();
    }
    Table t;
    t.open(path, OpenMode::Shared);
    t.selectIndex("NewIndex");
    ASSERT_EQ(t.tags().front().keyLength, 40);
    const std::vector<std::uint32_t> navigated = visitOrder(t);
    ASSERT_EQ(navigated.size(), 900u);
    EXPECT_EQ(dumpedOrder(dir.file("MASTER.MDX"), 40), navigated);
}

}  // namespace
}  // namespace engine::testing
