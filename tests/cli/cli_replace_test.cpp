#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>

#include "cli/cli_commands.h"
#include "collection/other_process.h"
#include "engine/table.h"

namespace {

struct ReplaceRun {
    int status;
    std::string out, err;
};

ReplaceRun run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = cli::runCli(args, out, err);
    return {status, out.str(), err.str()};
}

class CliReplaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        collection::testing::makeStampCollection(QString::fromStdString(dbf()),
                                                 {{"b", "France", 1950, "19970307"},
                                                  {"A", "austria", 1890, "19961231"},
                                                  {"c", "FRANCE", 1920, "19970225"}});
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    std::string dbf() const { return dir.filePath(QStringLiteral("STAMPS.DBF")).toStdString(); }
    std::vector<std::string> countries() {
        engine::Table t;
        t.open(dbf(), engine::OpenMode::Shared);
        std::vector<std::string> out;
        for (std::uint32_t r = 1; r <= t.physicalCount(); ++r)
            out.push_back(t.record(r).text(t.requireField("Country")));
        return out;
    }

    QTemporaryDir dir;
};

TEST_F(CliReplaceTest, ReplacesByFieldNameOrNumberAndPrintsTheCounters) {
    ReplaceRun r = run({"replace", dbf(), "country", "france", "République française"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Processed: 3\nFound: 2\nChanged: 2\n");
    EXPECT_EQ(countries(), (std::vector<std::string>{"République française", "austria",
                                                     "République française"}));

    r = run({"replace", dbf(), "7", "1890", "1891"});
    EXPECT_EQ(r.out, "Processed: 3\nFound: 1\nChanged: 1\n");
}

TEST_F(CliReplaceTest, RefusesBadFieldsValuesAndAFileInUse) {
    EXPECT_EQ(run({"replace", dbf(), "Nothing", "a", "b"}).status, 2);
    EXPECT_EQ(run({"replace", dbf(), "26", "a", "b"}).status, 2);
    ReplaceRun r = run({"replace", dbf(), "Year", "19x", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Error: Invalid search value entered.  Please correct.\n");
    {
        collection::testing::OtherProcessHolding other(dir.filePath(QStringLiteral("STAMPS.DBF")));
        ASSERT_TRUE(other.holds());
        r = run({"replace", dbf(), "Country", "France", "Gaul"});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("requires exclusive use"), std::string::npos);
    }
    EXPECT_EQ(countries()[0], "France");
}

}  // namespace
