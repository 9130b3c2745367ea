// tessellon-cli import and export: fields matched by name, --map and --fields, both kinds of file,
// and the refusals.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "cli/cli_commands.h"
#include "engine/table.h"

namespace {

struct CliRun {
    int status;
    std::string out, err;
};

CliRun run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = cli::runCli(args, out, err);
    return {status, out.str(), err.str()};
}

class CliInterchangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The program's date format comes from TESSELON.INI: none here, so m/d/yy.
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        ASSERT_EQ(run({"create", collection}).status, 0);
    }
    std::string file(const char* name) const { return dir.filePath(name).toStdString(); }
    std::string write(const char* name, const char* bytes) const {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
        return file(name);
    }
    std::string read(const std::string& path) const {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }

    QTemporaryDir dir;
    std::string collection = file("C.DBF");
};

TEST_F(CliInterchangeTest, ImportByNamesThenExportChosenFields) {
    const std::string src = write("in.txt",
                                  "\"Country\",\"Alpha Catalog\",\"Notes\",\"YEAR\"\r\n"
                                  "\"Spain\",\"S-1\",\"x\",\"1950\"\r\n"
                                  "\"Austria\",\"A-1\",\"y\",\"1890\"\r\n");
    CliRun r = run({"import", collection, src, "--text", "--skip-first"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Imported 2 records.\n");
    ASSERT_EQ(run({"sort", collection, "3"}).status, 0);  // Country order

    const std::string out = file("out.txt");
    r = run({"export", collection, out, "--text", "--fields", "Catalog,Year,Country"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Exported 2 records.\n");
    EXPECT_EQ(read(out),
              "\"Alpha Catalog\",\"Year\",\"Country\"\r\n"
              "\"A-1\",\"1890\",\"Austria\"\r\n\"S-1\",\"1950\",\"Spain\"\r\n");
    r = run({"export", collection, out, "--text", "--no-titles", "--fields", "1"});
    EXPECT_EQ(read(out), "\"A-1\"\r\n\"S-1\"\r\n");
    // Criteria as for search: only the records that pass.
    r = run({"export", collection, out, "--text", "--no-titles", "--fields", "1", "Year:> 1900"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read(out), "\"S-1\"\r\n");
    EXPECT_EQ(run({"export", collection, out, "--text", "Nope:1"}).status, 2);
}

TEST_F(CliInterchangeTest, MapAndDbaseTablesBothWays) {
    const std::string src = write("in.txt", "\"Spain\",\"S-1\"\r\n");
    CliRun r = run(
        {"import", collection, src, "--text", "--map", "1=Country", "--map", "2=Alpha Catalog"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string table = file("OUT.DBF");
    ASSERT_EQ(run({"export", collection, table, "--dbf", "--fields", "3,1"}).status, 0);
    const std::string copy = file("COPY.DBF");
    ASSERT_EQ(run({"create", copy}).status, 0);
    r = run({"import", copy, table, "--dbf"});
    ASSERT_EQ(r.status, 0) << r.err;
    engine::Table t;
    t.open(copy, engine::OpenMode::Shared);
    t.first();
    EXPECT_EQ(t.text("Country"), "Spain");
    EXPECT_EQ(t.text("Catalog"), "S-1");
}

TEST_F(CliInterchangeTest, Refusals) {
    const std::string src = write("in.txt", "\"a\",\"b\r\n");
    EXPECT_EQ(run({"import", collection, src, "--text"}).status, 2);  // first line check 2
    const std::string plain = write("plain.txt", "\"x\",\"y\"\r\n");
    CliRun r = run({"import", collection, plain, "--text"});
    EXPECT_EQ(r.status, 2);  // no name matches a field
    EXPECT_NE(r.err.find("--map"), std::string::npos);
    EXPECT_EQ(run({"import", collection, plain, "--text", "--dbf"}).status, 2);
    EXPECT_EQ(run({"import", collection, plain, "--text", "--map", "z=Country"}).status, 2);
    EXPECT_EQ(run({"export", collection, file("out.txt"), "--dbf"}).status, 2);
    EXPECT_EQ(run({"export", collection, file("out.txt"), "--text", "--fields", "Nope"}).status, 2);
    EXPECT_EQ(run({"import", collection, file("missing.txt"), "--text"}).status, 2);
}

}  // namespace
