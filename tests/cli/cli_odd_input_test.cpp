// The companion given input it must refuse rather than act on: a replacement
// wider than its field, file names that are not UTF-8, and collections,
// lists or indexes that are not regular files (a FIFO would block forever).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <future>

#include "cli_run.h"
#include "collection/data_list_files.h"
#include "collection/other_process.h"
#include "collection/profile_file.h"
#include "engine/table.h"

namespace {

using cli::testing::CliRun;
using cli::testing::run;

// Runs `work` on a thread, so work that blocks fails the test instead of hanging it.
template <typename Work>
auto within(Work work) {
    auto pending = std::async(std::launch::async, work);
    if (pending.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "blocked on a FIFO";
        std::_Exit(1);  // the blocked thread cannot be joined
    }
    return pending.get();
}

class CliOddInput : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        collection::testing::makeStampCollection(QString::fromStdString(dbf()),
                                                 {{"b", "France", 1950, "19970307"}});
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    // Byte for byte: the name may not be UTF-8.
    std::string file(const char* name) const { return dir.path().toStdString() + "/" + name; }
    std::string dbf() const { return file("STAMPS.DBF"); }
    std::string wanted() {
        engine::Table t;
        t.open(dbf(), engine::OpenMode::Shared);
        return t.record(1).text(t.requireField("Wanted"));
    }

    CliRun runWithin(const std::vector<std::string>& args) {
        return within([args] { return run(args); });
    }

    QTemporaryDir dir;
};

TEST_F(CliOddInput, ReplacementWiderThanTheFieldIsRefusedAndNothingChanges) {
    ASSERT_EQ(run({"replace", dbf(), "Wanted", "", "no"}).status, 0);
    CliRun r = run({"replace", dbf(), "Wanted", "no", "Maybe"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "Error: The replacement \"Maybe\" is longer than the 3 characters the field Wanted "
              "holds.\n");
    EXPECT_EQ(wanted(), "no");
    // Exactly the width, after the blanks around it are taken off, is fine.
    r = run({"replace", dbf(), "25", "no", " Yes "});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(wanted(), "Yes");
}

TEST_F(CliOddInput, NamesThatAreNotUtf8AreRefusedAndReachNoOtherFile) {
    const std::string bad = file("x\xff.DBF");
    const std::string mangled = file("x\xef\xbf\xbd.DBF");
    std::ofstream(mangled) << "someone else's file";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"create", bad}, {"info", bad}, {"check", bad}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.err, "Error: \"" + file("x") +
                             "\\xFF.DBF\" is not valid UTF-8. File names are kept in UTF-8: "
                             "rename the file and try again.\n");
    }
    struct stat st {};
    EXPECT_NE(::stat(bad.c_str(), &st), 0);
    std::ifstream in(mangled);
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ(kept, "someone else's file");
}

TEST_F(CliOddInput, FifosAreRefusedWithoutWaiting) {
    const std::string fifo = file("PIPE.DBF");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    CliRun r = runWithin({"check", fifo});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is a FIFO (named pipe), not a regular file"), std::string::npos) << r.err;
    r = runWithin({"info", fifo});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("is a FIFO (named pipe), not a regular file"), std::string::npos) << r.err;

    // A FIFO in place of the index: the table still opens, in record order.
    ASSERT_EQ(run({"index", dbf(), "Upper(Country)"}).status, 0);
    ASSERT_EQ(::unlink(file("STAMPS.MDX").c_str()), 0);
    ASSERT_EQ(::mkfifo(file("STAMPS.MDX").c_str(), 0644), 0);
    r = runWithin({"info", dbf()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("FIFO"), std::string::npos) << r.err;

    // Lists and settings files read at start-up.
    const QString list = dir.filePath(QStringLiteral("STAMPS.001"));
    ASSERT_EQ(::mkfifo(list.toLocal8Bit().constData(), 0644), 0);
    EXPECT_TRUE(within([&] { return collection::readListFile(list); }).isEmpty());
    const QString ini = dir.filePath(QStringLiteral("STAMPS.INI"));
    ::unlink(ini.toLocal8Bit().constData());
    ASSERT_EQ(::mkfifo(ini.toLocal8Bit().constData(), 0644), 0);
    EXPECT_EQ(within([&] {
                  return collection::ProfileFile(ini).read(QStringLiteral("Sort"),
                                                           QStringLiteral("x"),
                                                           QStringLiteral("none"));
              }),
              QStringLiteral("none"));
}

}  // namespace
