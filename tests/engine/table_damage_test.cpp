// engine::Table on damaged files: every fault is an EngineError with a message
// naming the file and the fault, never a crash or a hang.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

constexpr std::size_t kHeader = 32 + 7 * 32 + 1;  // sampleFields()
constexpr std::size_t kRecord = 91;

class TableDamage : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");
    std::string mdxPath = dir.file("STAMPS.MDX");

    void createThree(bool withIndex) {
        createWithRows(path, sampleFields(), {{"a", "Chad"}, {"b", "Benin"}, {"c", "Angola"}});
        if (!withIndex) return;
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("NewIndex", "Upper(Left(Country,80))");
    }

    // Opens the table, selects the tag when there is one and walks it both
    // ways, then with `change` adds, edits and deletes a record; returns the engine's message, or
    // "" when all of it worked.
    std::string useTable(OpenMode mode, bool change = false) {
        try {
            Table t;
            t.open(path, mode);
            if (!t.tags().empty()) t.selectIndex(t.tags()[0].name);
            visitOrder(t);
            for (t.last(); !t.bof(); t.prior()) {
            }
            t.recordCount();
            if (change) {
                appendRow(t, {"new", "Mali"});
                t.first();
                t.edit();
                t.setText(kCountry, "Zaire");
                t.post();
                t.deleteRecord();
            }
            return {};
        } catch (const EngineError& e) {
            std::string m = e.what();
            return m.empty() ? "(empty message)" : m;
        }
    }
};

struct DbfDamage {
    const char* what;
    std::function<void(const std::string& path)> spoil;
    const char* saying;  // part of the expected message
};

TEST_F(TableDamage, DamagedTablesAreRefusedWithAClearMessage) {
    const std::vector<DbfDamage> cases = {
        {"empty file", [](const std::string& p) { writeFile(p, ""); }, "shorter than"},
        {"header cut short", [](const std::string& p) { writeFile(p, readFile(p).substr(0, 20)); },
         "shorter than"},
        {"descriptors cut short",
         [](const std::string& p) { writeFile(p, readFile(p).substr(0, 100)); }, "header"},
        {"no field terminator", [](const std::string& p) { patchBytes(p, kHeader - 1, "X"); },
         "field"},
        {"header length too small", [](const std::string& p) { patchBytes(p, 8, "\x10\x00"); },
         "header"},
        {"header length past the file", [](const std::string& p) { patchBytes(p, 8, "\xFF\xFF"); },
         "header"},
        {"record length not matching the fields",
         [](const std::string& p) { patchBytes(p, 10, std::string("\x5C\x00", 2)); },
         "record length"},
        {"record count larger than the file", [](const std::string& p) { patchU32(p, 4, 1000); },
         "1000"},
        {"record count near 2^32", [](const std::string& p) { patchU32(p, 4, 0xFFFFFFFFu); },
         "records"},
        {"unknown version byte", [](const std::string& p) { patchBytes(p, 0, "\x99"); },
         "file type"},
        {"encrypted", [](const std::string& p) { patchBytes(p, 15, "\x01"); }, "encrypted"},
        {"field without a width",
         [](const std::string& p) { patchBytes(p, 32 + 16, std::string(1, '\0')); }, "width"},
        {"field without a name",
         [](const std::string& p) { patchBytes(p, 32, std::string(1, '\0')); }, "name"},
    };
    for (const DbfDamage& c : cases) {
        SCOPED_TRACE(c.what);
        createThree(false);
        c.spoil(path);
        for (OpenMode mode : {OpenMode::Shared, OpenMode::Exclusive}) {
            std::string message = useTable(mode);
            EXPECT_NE(message.find(c.saying), std::string::npos) << message;
            EXPECT_NE(message.find(path), std::string::npos) << message;
        }
    }
}

TEST_F(TableDamage, TolerableOddities) {
    // A missing end-of-file marker and a partial record after the last
    // counted one are read past, as other dBase readers do.
    createThree(false);
    std::string b = readFile(path);
    writeFile(path, b.substr(0, b.size() - 1));
    EXPECT_EQ(useTable(OpenMode::Shared), "");
    writeFile(path, b.substr(0, b.size() - 1) + std::string(40, ' '));
    EXPECT_EQ(useTable(OpenMode::Shared), "");
    Table t;
    t.open(path, OpenMode::Exclusive);
    EXPECT_EQ(t.recordCount(), 3u);
    appendRow(t, {"d"});
    t.close();
    EXPECT_EQ(readFile(path).size(), kHeader + 4 * kRecord + 1);
}

TEST_F(TableDamage, RandomlySpoiledHeadersNeverCrash) {
    createThree(true);
    const std::string dbf = readFile(path), mdx = readFile(mdxPath);
    std::mt19937 rng(2024);
    for (int round = 0; round < 300; ++round) {
        std::string b = dbf, m = mdx;
        for (int i = 0; i < 4; ++i) b[rng() % kHeader] = char(rng());
        for (int i = 0; i < 4; ++i) m[rng() % 4096] = char(rng());
        writeFile(path, b);
        writeFile(mdxPath, m);
        useTable(round % 2 ? OpenMode::Shared : OpenMode::Exclusive,
                 true);  // either outcome is fine
    }
}

// Byte offsets inside the index written for one tag: the tag table slot names
// the page of the tag header block, whose first word is the root page.
std::size_t tagHeaderAt(const std::string& mdx) {
    return std::size_t(u32At(mdx, 544)) * 512;
}

struct MdxDamage {
    const char* what;
    std::function<void(std::string& mdx)> spoil;
};

// The index is derived data: a damaged one is not used, the table opens in
// record order, and the notice names the index file.
TEST_F(TableDamage, IndexPagesPointingAnywhereAreNotUsed) {
    const std::vector<MdxDamage> cases = {
        {"root page past the end",
         [](std::string& m) {
             std::size_t h = tagHeaderAt(m);
             m.replace(h, 4, std::string("\x00\x00\x01\x00", 4));
         }},
        {"root page is the file header",
         [](std::string& m) { m.replace(tagHeaderAt(m), 4, std::string(4, '\0')); }},
        {"tag header page past the end",
         [](std::string& m) { m.replace(544, 4, std::string("\xFF\xFF\xFF\x7F", 4)); }},
        {"root node claims too many keys",
         [](std::string& m) {
             std::size_t root = std::size_t(u32At(m, tagHeaderAt(m))) * 512;
             m.replace(root, 4, std::string("\xFF\x00\x00\x00", 4));
         }},
        {"file cut after the tag table", [](std::string& m) { m.resize(2048); }},
        {"file cut inside the header", [](std::string& m) { m.resize(100); }},
        {"not an index at all", [](std::string& m) { m.assign(m.size(), 'x'); }},
    };
    for (const MdxDamage& c : cases) {
        SCOPED_TRACE(c.what);
        createThree(true);
        std::string m = readFile(mdxPath);
        ASSERT_GE(m.size(), 2048u);
        ASSERT_GT(tagHeaderAt(m), 0u);
        c.spoil(m);
        writeFile(mdxPath, m);
        for (OpenMode mode : {OpenMode::ReadOnly, OpenMode::Shared}) {
            Table t;
            ASSERT_NO_THROW(t.open(path, mode));
            EXPECT_NE(t.indexNotice().find(mdxPath), std::string::npos) << t.indexNotice();
            EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{1, 2, 3}));
        }
        EXPECT_EQ(useTable(OpenMode::Exclusive, true), "");
    }
}

}  // namespace
}  // namespace engine
