// tessellon-cli with indexes it did not write or that were left damaged:
// check, info and dump read another program's index as it stands and change
// no byte of the table or the index; a damaged index is told once on the
// error stream and the table is read in record order; reindex rebuilds what
// it can and makes a collection's sort tag again from its sort order.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "cli/cli_commands.h"
#include "cli_run.h"
#include "engine/error.h"
#include "engine/foreign_mdx.h"
#include "engine/table.h"

namespace {

using engine::testing::ForeignTag;

using cli::testing::CliRun;
using cli::testing::run;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spill(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

const std::vector<std::string> kCountries = {"Spain", "Austria", "Chad", "Fiji", "Benin"};
const std::vector<int> kYears = {1950, 1900, 1988, 1920, 1975};

class CliIndex : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::string dbf = dir.filePath("C.DBF").toStdString();
    std::string mdx = dir.filePath("C.MDX").toStdString();
    int countryWidth = 0;

    void SetUp() override {
        ASSERT_EQ(run({"create", dbf}).status, 0);
        engine::Table t;
        t.open(dbf, engine::OpenMode::Shared);
        countryWidth = t.fields()[std::size_t(t.requireField("Country"))].length;
        for (std::size_t i = 0; i < kCountries.size(); ++i) {
            t.append();
            t.setText("Country", kCountries[i]);
            t.setInteger(t.requireField("Year"), kYears[i]);
            t.post();
        }
    }
    std::string countryKey(std::size_t i) const {
        std::string key = kCountries[i];
        std::transform(key.begin(), key.end(), key.begin(), ::toupper);
        key.resize(std::size_t(countryWidth), ' ');
        return key;
    }
    // Record numbers of the stamps in the order of `countries` (a dump's order).
    std::vector<std::string> dumpedCountries(const std::string& out) const {
        std::vector<std::pair<std::size_t, std::string>> found;
        for (const std::string& c : kCountries) {
            const std::size_t at = out.find("\"" + c + "\"");
            if (at != std::string::npos) found.emplace_back(at, c);
        }
        std::sort(found.begin(), found.end());
        std::vector<std::string> order;
        for (const auto& f : found) order.push_back(f.second);
        return order;
    }
};

TEST_F(CliIndex, ReadingCommandsLeaveAnotherProgramsIndexByteForByte) {
    // Countries by name: Austria 2, Benin 5, Chad 3, Fiji 4, Spain 1.
    ForeignTag descending{"DESC", "UPPER(COUNTRY)", 'C', countryWidth, true};
    for (std::size_t i : {0, 3, 2, 4, 1}) descending.entries.emplace_back(countryKey(i), i + 1);
    ForeignTag modern{"MODERN", "UPPER(COUNTRY)", 'C', countryWidth, false, false, "YEAR>1950"};
    for (std::size_t i : {4, 2}) modern.entries.emplace_back(countryKey(i), i + 1);
    ForeignTag lower{"LOWERC", "LOWER(COUNTRY)", 'C', countryWidth};
    for (std::size_t i : {1, 4, 2, 3, 0}) lower.entries.emplace_back(countryKey(i), i + 1);
    ForeignTag year{"YEAR", "YEAR", 'N', 12};
    for (std::size_t i : {1, 3, 0, 4, 2})
        year.entries.emplace_back(engine::testing::bcdKey(kYears[i]), i + 1);
    spill(mdx, engine::testing::foreignMdx("C", {descending, modern, lower, year}));
    std::string table = slurp(dbf);
    table[28] = 1;
    spill(dbf, table);
    const std::string index = slurp(mdx);

    EXPECT_EQ(run({"check", dbf}).status, 0);
    const CliRun info = run({"info", dbf});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(
        info.out.find("DESC C(" + std::to_string(countryWidth) + ") UPPER(COUNTRY) DESCENDING"),
        std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("FOR YEAR>1950"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("YEAR N(12) YEAR"), std::string::npos) << info.out;
    const CliRun byDesc = run({"dump", dbf, "--tag", "DESC"});
    EXPECT_EQ(dumpedCountries(byDesc.out),
              (std::vector<std::string>{"Spain", "Fiji", "Chad", "Benin", "Austria"}));
    const CliRun byFilter = run({"dump", dbf, "--tag", "MODERN"});
    EXPECT_EQ(dumpedCountries(byFilter.out), (std::vector<std::string>{"Benin", "Chad"}));
    const CliRun byLower = run({"dump", dbf, "--tag", "LOWERC"});
    EXPECT_EQ(byLower.status, 0) << byLower.err;
    EXPECT_EQ(run({"dump", dbf, "--tag", "YEAR"}).status, 0);
    EXPECT_TRUE(slurp(dbf) == table) << "a reading command changed the table";
    EXPECT_TRUE(slurp(mdx) == index) << "a reading command changed the index";

    // Writing cannot keep those tags: refused, naming one.
    engine::Table t;
    t.open(dbf, engine::OpenMode::Shared);
    t.append();
    t.setText("Country", "Mali");
    try {
        t.post();
        ADD_FAILURE() << "posted past tags this program cannot keep";
    } catch (const engine::EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("DESC (UPPER(COUNTRY))"), std::string::npos);
    }
    t.close();
    EXPECT_TRUE(slurp(mdx) == index);
}

TEST_F(CliIndex, ADamagedIndexIsToldOnceAndReindexMakesTheSortTagAgain) {
    ASSERT_EQ(run({"sort", dbf, "3"}).status, 0);
    std::string index = slurp(mdx);
    index.resize(2048);  // a rebuild killed after cutting the file: only tag names are left
    index[32] = 4;
    index[33] = index[34] = index[35] = 0;
    spill(mdx, index);

    for (const char* verb : {"check", "info", "dump"}) {
        SCOPED_TRACE(verb);
        const CliRun r = run({verb, dbf});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(count(r.err, "Notice: "), 1u) << r.err;
        EXPECT_NE(r.err.find(mdx), std::string::npos) << r.err;
    }
    EXPECT_EQ(dumpedCountries(run({"dump", dbf}).out), kCountries);  // record order
    EXPECT_TRUE(slurp(mdx) == index);

    const CliRun reindex = run({"reindex", dbf});
    ASSERT_EQ(reindex.status, 0) << reindex.err;
    EXPECT_NE(reindex.err.find("Dropped the index tag NEWINDEX"), std::string::npos) << reindex.err;
    EXPECT_NE(reindex.out.find("Made the tag NEWINDEX again"), std::string::npos) << reindex.out;
    const CliRun sorted = run({"dump", dbf, "--tag", "NewIndex"});
    EXPECT_EQ(sorted.err, "");
    EXPECT_EQ(dumpedCountries(sorted.out),
              (std::vector<std::string>{"Austria", "Benin", "Chad", "Fiji", "Spain"}));
}

}  // namespace
