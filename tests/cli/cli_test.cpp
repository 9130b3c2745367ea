#include "cli/cli_commands.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>

#include "engine/table.h"
#include "cli_run.h"

namespace {

using cli::testing::CliRun;
using cli::testing::run;

class CliTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string file(const char* name) const { return dir.filePath(name).toStdString(); }

    void addStamps(const std::vector<std::pair<std::string, int>>& stamps) {
        engine::Table t;
        t.open(file("C.DBF"), engine::OpenMode::Shared);
        for (const auto& [country, year] : stamps) {
            t.append();
            t.setText("Country", country);
            t.setInteger(t.requireField("Year"), year);
            t.post();
        }
    }
};

TEST_F(CliTest, CreateCheckInfoAndDump) {
    ASSERT_EQ(run({"create", file("C.DBF")}).status, 0);
    EXPECT_EQ(run({"check", file("C.DBF")}).status, 0);
    addStamps({{"Spain", 1950}, {"austria", 1900}, {"\xC3\x96sterreich", 1920}});
    CliRun info = run({"info", file("C.DBF")});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("Fields: 25"), std::string::npos);
    EXPECT_NE(info.out.find("Records: 3"), std::string::npos);

    ASSERT_EQ(run({"index", file("C.DBF"), "Upper(Left(Country,80))"}).status, 0);
    CliRun byTag = run({"dump", file("C.DBF"), "--tag", "NewIndex"});
    ASSERT_EQ(byTag.status, 0);
    auto austria = byTag.out.find("\"austria\"");
    auto spain = byTag.out.find("\"Spain\"");
    auto oesterreich = byTag.out.find("\"\xC3\x96sterreich\"");
    EXPECT_LT(austria, spain);
    EXPECT_LT(spain, oesterreich);  // cp1252 byte order: \xD6 after ASCII letters
    CliRun plain = run({"dump", file("C.DBF")});
    EXPECT_LT(plain.out.find("\"Spain\""), plain.out.find("\"austria\""));
    EXPECT_NE(plain.out.find("\"1950\""), std::string::npos);

    CliRun info2 = run({"info", file("C.DBF")});
    EXPECT_NE(info2.out.find("NEWINDEX C(20) Upper(Left(Country,80))"), std::string::npos);
}

TEST_F(CliTest, FailuresGoToStandardErrorWithStatus) {
    CliRun missing = run({"info", file("NONE.DBF")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos);

    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"frobnicate", file("C.DBF")}).status, 2);

    ASSERT_EQ(run({"create", file("C.DBF")}).status, 0);
    CliRun bad = run({"index", file("C.DBF"), "FOO(Country)"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("FOO(Country)"), std::string::npos);

    engine::Table::create(file("F.DBF"), {{"NAME", engine::FieldType::Character, 10, 0}});
    CliRun foreign = run({"check", file("F.DBF")});
    EXPECT_EQ(foreign.status, 1);
    EXPECT_NE(foreign.err.find("not created with Tessellon"), std::string::npos);
}

TEST_F(CliTest, PackAndReindex) {
    ASSERT_EQ(run({"create", file("C.DBF")}).status, 0);
    addStamps({{"A", 1}, {"B", 2}, {"C", 3}});
    {
        engine::Table t;
        t.open(file("C.DBF"), engine::OpenMode::Shared);
        t.first();
        t.next();
        t.deleteRecord();
    }
    ASSERT_EQ(run({"index", file("C.DBF"), "Upper(Left(Country,80))"}).status, 0);
    CliRun pack = run({"pack", file("C.DBF")});
    ASSERT_EQ(pack.status, 0) << pack.err;
    EXPECT_NE(pack.out.find("1 deleted records removed, 2 kept"), std::string::npos);
    EXPECT_EQ(run({"reindex", file("C.DBF")}).status, 0);
    CliRun dump = run({"dump", file("C.DBF"), "--tag", "NEWINDEX"});
    EXPECT_EQ(dump.out.find("\"B\""), std::string::npos);
    EXPECT_LT(dump.out.find("\"A\""), dump.out.find("\"C\""));
}

}  // namespace
