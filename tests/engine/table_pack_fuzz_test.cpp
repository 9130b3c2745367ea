// Pack and reindex over spoiled tables and indexes: whatever the damage, a
// complete record not marked deleted is never lost. A maintenance command
// either fails leaving the records as they were, or leaves every such record
// in the table, in order.
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

std::uint16_t u16At(const std::string& b, std::size_t at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

// Records of a table file as its header lays them out: every complete record
// within the header's count, then complete records past it as long as their
// first byte is a deletion flag.
std::vector<std::string> recordsOf(const std::string& file) {
    std::vector<std::string> out;
    if (file.size() < 32) return out;
    const std::size_t hlen = u16At(file, 8), reclen = u16At(file, 10);
    const std::uint32_t count = u32At(file, 4);
    if (reclen == 0 || hlen > file.size()) return out;
    for (std::size_t r = 0; hlen + (r + 1) * reclen <= file.size(); ++r) {
        std::string rec = file.substr(hlen + r * reclen, reclen);
        if (r >= count && rec[0] != ' ' && rec[0] != '*') break;
        out.push_back(rec);
    }
    return out;
}

std::vector<std::string> live(const std::vector<std::string>& records) {
    std::vector<std::string> out;
    for (const std::string& r : records)
        if (r[0] != '*') out.push_back(r);
    return out;
}

// True when `part` appears in `whole` in the same order.
bool inOrderWithin(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    std::size_t at = 0;
    for (const std::string& r : whole)
        if (at < part.size() && r == part[at]) ++at;
    return at == part.size();
}

TEST(TablePackFuzz, MaintenanceOfSpoiledFilesNeverLosesALiveRecord) {
    ScratchDir dir;
    const std::string path = dir.file("STAMPS.DBF");
    const std::string mdxPath = dir.file("STAMPS.MDX");
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 120; ++i)
        rows.push_back({"r" + std::to_string(i), "C" + std::to_string(i * 7 % 120)});
    createWithRows(path, sampleFields(), rows);
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("BYCOUNTRY", "Upper(Left(Country,20))");
        for (std::uint32_t r = 5; r <= 120; r += 9) {
            t.goToRecord(r);
            t.deleteRecord();
        }
    }
    const std::string dbf = readFile(path), mdx = readFile(mdxPath);
    const std::size_t hlen = u16At(dbf, 8), reclen = u16At(dbf, 10);
    std::mt19937 rng(2024);
    int packed = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string b = dbf, m = mdx;
        switch (round % 4) {
            case 0: {  // a record count a little too small
                const std::uint32_t count = u32At(dbf, 4) - 1 - rng() % 5;
                for (int i = 0; i < 4; ++i) b[4 + std::size_t(i)] = char(count >> (8 * i));
                break;
            }
            case 1:  // deletion flags and record bytes
                for (int i = 0; i < 4; ++i) {
                    std::size_t r = rng() % 120;
                    b[hlen + r * reclen + (rng() % 2 ? 0 : rng() % reclen)] = char(rng());
                }
                break;
            case 2:  // the index
                for (int i = 0; i < 4; ++i)
                    m[rng() % 2 ? rng() % 4096 : rng() % m.size()] = char(rng());
                break;
            default:  // a cut or lengthened file
                if (rng() % 2)
                    b.resize(b.size() - rng() % (3 * reclen));
                else
                    b += std::string(rng() % (2 * reclen), rng() % 2 ? ' ' : '\0');
        }
        writeFile(path, b);
        writeFile(mdxPath, m);
        const bool reindex = round % 5 == 4;
        try {
            Table t;
            t.open(path, OpenMode::Exclusive);
            const std::vector<std::string> before = recordsOf(readFile(path));
            try {
                if (reindex)
                    t.regenerateIndexes();
                else
                    t.pack();
            } catch (const EngineError&) {
                ++refused;
                t.close();
                EXPECT_EQ(recordsOf(readFile(path)), before) << "round " << round;
                continue;
            }
            t.close();
            ++packed;
            const std::vector<std::string> after = recordsOf(readFile(path));
            EXPECT_TRUE(inOrderWithin(live(before), after)) << "round " << round;
            if (!reindex) {
                EXPECT_EQ(live(after).size(), after.size()) << "round " << round;
            }
        } catch (const EngineError&) {
            // Not opened: nothing was changed to lose.
        }
    }
    EXPECT_GT(packed, 100);  // most rounds reach the maintenance itself
    RecordProperty("refused", refused);
}

}  // namespace
}  // namespace engine
