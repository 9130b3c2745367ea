// tessellon-cli import and export: fields matched by name, --map and --fields, both kinds of file,
// and the refusals.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <sstream>

#include "cli/cli_commands.h"
#include "engine/table.h"
#include "reports/report_file.h"

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

// Exporting onto the collection's own files (by name or through a link) is refused with a message
// naming the file, and leaves every byte of it; a failed export says nothing was exported.
TEST_F(CliInterchangeTest, ExportNeverWritesOverTheCollectionOrPrintsSuccessOnFailure) {
    const std::string src = write("in.txt", "\"Country\"\r\n\"Spain\"\r\n");
    ASSERT_EQ(run({"import", collection, src, "--text", "--skip-first"}).status, 0);
    ASSERT_EQ(run({"sort", collection, "3"}).status, 0);
    const std::string ini = write("C.INI", "[Export]\r\nFirst Row=Yes\r\n");
    const std::string link = file("link.txt");
    ASSERT_EQ(::symlink(collection.c_str(), link.c_str()), 0);
    std::vector<std::string> targets = {collection, ini, link};
    if (QFile::exists(dir.filePath("C.MDX"))) targets.push_back(file("C.MDX"));
    for (const std::string& target : targets) {
        const std::string before = read(target);
        for (const char* kind : {"--text", "--dbf"}) {
            const CliRun r = run({"export", collection, target, kind, "--fields", "3"});
            EXPECT_EQ(r.status, 2) << target;
            EXPECT_EQ(r.out, "") << target;
            // A dBase export refuses a name without .DBF before it looks further.
            const bool dbaseName = target.size() > 4 && target.substr(target.size() - 4) == ".DBF";
            if (std::string(kind) == "--text" || dbaseName) {
                EXPECT_NE(r.err.find("\"" + target + "\" is the"), std::string::npos) << r.err;
            }
        }
        EXPECT_EQ(read(target), before) << target;
    }
    CliRun r = run({"info", collection});
    EXPECT_EQ(r.status, 0) << r.err;
    // A target the run cannot write: an error and no count of exported records.
    r = run({"export", collection, file("gone/out.txt"), "--text"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Nothing was exported"), std::string::npos) << r.err;
}

// Reports (text and PDF) are refused over the collection's own files too, and a report that is
// written leaves no temporary file behind.
TEST_F(CliInterchangeTest, ReportsAreNeverWrittenOverTheCollection) {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "tess_cli_tests";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
    ASSERT_TRUE(reports::ReportFile(dir.filePath("TESSELON.URP")).writeDefaults());
    const std::string src = write("in.txt", "\"Country\"\r\n\"Spain\"\r\n");
    ASSERT_EQ(run({"import", collection, src, "--text", "--skip-first"}).status, 0);
    const std::string ini = write("C.INI", "[Export]\r\nFirst Row=Yes\r\n");
    // A first run may make the collection's sort index: the bytes compared are those after it.
    CliRun r = run({"report", collection, "1", "--text", file("report.txt")});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const std::string& target : {collection, ini}) {
        const std::string before = read(target);
        for (const char* kind : {"--text", "--pdf"}) {
            const CliRun r = run({"report", collection, "1", kind, target});
            EXPECT_EQ(r.status, 2) << kind << " " << target;
            EXPECT_NE(r.err.find("\"" + target + "\" is the"), std::string::npos) << r.err;
        }
        EXPECT_EQ(read(target), before);
    }
    EXPECT_FALSE(read(file("report.txt")).empty());
    r = run({"report", collection, "1", "--pdf", file("report.pdf")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read(file("report.pdf")).substr(0, 5), "%PDF-");
    EXPECT_TRUE(QDir(dir.path()).entryList(QStringList{".*"}, QDir::Files | QDir::Hidden).isEmpty());
}

// --tellico both ways: the plan is printed before the run, another collection type is refused.
TEST_F(CliInterchangeTest, TellicoCollectionsOutAndBackIn) {
    const std::string src = write("in.txt",
                                  "\"Country\",\"Alpha Catalog\",\"Condition\"\r\n"
                                  "\"Spain\",\"S-1\",\"VF\"\r\n\"Chile\",\"12\",\"Mint\"\r\n");
    ASSERT_EQ(run({"import", collection, src, "--text", "--skip-first"}).status, 0);
    const std::string tc = file("out.tc");
    CliRun r = run({"export", collection, tc, "--tellico", "Country:Spain"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Exported 1 records.\n");
    ASSERT_EQ(run({"export", collection, tc, "--tellico"}).status, 0);
    const std::string copy = file("COPY.DBF");
    ASSERT_EQ(run({"create", copy}).status, 0);
    r = run({"import", copy, tc, "--tellico"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Scott# \u2192 Alpha Catalog"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Imported 2 records."), std::string::npos) << r.out;
    engine::Table t;
    t.open(copy, engine::OpenMode::Shared);
    t.first();
    EXPECT_EQ(t.text("Catalog") + "|" + t.text("CatalogI") + "|" + t.text("Condition"), "S-1||VF");
    t.next();
    EXPECT_EQ(t.text("Catalog") + "|" + t.text("CatalogI") + "|" + t.text("Condition"), "12||Mint");
    const std::string books =
        write("books.xml",
              "<?xml version=\"1.0\"?><tellico xmlns=\"http://periapsis.org/tellico/\" "
              "syntaxVersion=\"11\"><collection title=\"B\" type=\"2\"/></tellico>");
    r = run({"import", copy, books, "--tellico"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Book Collection"), std::string::npos) << r.err;
    EXPECT_EQ(run({"export", collection, tc, "--tellico", "--fields", "1"}).status, 2);
}

// A read-only index would miss the imported records: the run is refused before it starts.
TEST_F(CliInterchangeTest, ImportIntoACollectionWithAReadOnlyIndexIsRefused) {
    const std::string src = write("in.txt", "\"Country\"\r\n\"Spain\"\r\n");
    ASSERT_EQ(run({"import", collection, src, "--text", "--skip-first"}).status, 0);
    ASSERT_EQ(run({"sort", collection, "3"}).status, 0);
    const std::string mdx = file("C.MDX");
    ASSERT_TRUE(QFile::exists(QString::fromStdString(mdx)));
    ASSERT_EQ(::chmod(mdx.c_str(), 0444), 0);
    const std::string before = read(collection);
    const CliRun r = run({"import", collection, src, "--text", "--skip-first"});
    ::chmod(mdx.c_str(), 0644);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("is read-only"), std::string::npos) << r.err;
    EXPECT_EQ(read(collection), before);
}

// A FIFO (or any file that is not a regular one) is refused at once instead of blocking.
TEST_F(CliInterchangeTest, ImportFromAFifoIsRefusedWithoutWaiting) {
    const std::string fifo = file("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const char* kind : {"--text", "--dbf"}) {
        const CliRun r = run({"import", collection, fifo, kind});
        EXPECT_EQ(r.status, 2) << kind;
        EXPECT_NE(r.err.find("is not a regular file"), std::string::npos) << kind << r.err;
    }
}

// While another program imports (its index is marked as changing for the length of a slice),
// a second import does not claim that a program stopped while changing it.
TEST_F(CliInterchangeTest, AnImportBesideAnotherRunningImportTellsNoStoppedProgram) {
    const std::string cli = TESS_BINARY_DIR "/src/cli/tessellon-cli";
    if (!QFile::exists(QString::fromStdString(cli))) GTEST_SKIP() << "no tessellon-cli";
    const std::string src = write("in.txt", "\"Country\"\r\n\"Spain\"\r\n");
    ASSERT_EQ(run({"import", collection, src, "--text", "--skip-first"}).status, 0);
    ASSERT_EQ(run({"sort", collection, "3"}).status, 0);
    engine::Table other;
    other.open(collection, engine::OpenMode::Shared);
    other.beginAppendRun();
    other.append();
    other.setText(other.requireField("Country"), "Chile");
    other.post();  // the slice is open: the index is marked as changing
    QProcess second;
    second.start(QString::fromStdString(cli),
                 {"import", QString::fromStdString(collection), QString::fromStdString(src),
                  "--text", "--skip-first"});
    ASSERT_TRUE(second.waitForStarted());
    // The second import checks the collection and then waits for the slice to end.
    const bool finishedEarly = second.waitForFinished(1500);
    other.endAppendRun();
    if (!finishedEarly) {
        ASSERT_TRUE(second.waitForFinished(60000));
    }
    const std::string err = second.readAllStandardError().toStdString();
    EXPECT_EQ(err.find("stopped while changing"), std::string::npos) << err;
    EXPECT_EQ(second.exitCode(), 0) << err;
    other.close();
}

}  // namespace
