// engine::Table shared and exclusive use: between two tables of one process,
// against another process, and against the flock(1) tool.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

constexpr OpenMode S = OpenMode::Shared;
constexpr OpenMode X = OpenMode::Exclusive;

class TableLocks : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");
    void SetUp() override { createWithRows(path, sampleFields(), {{"a", "Chad"}}); }

    // Message of the error raised by opening `path` in `mode`; empty on success.
    std::string openError(Table& t, OpenMode mode) {
        try {
            t.open(path, mode);
            return {};
        } catch (const EngineError& e) {
            return e.what();
        }
    }
    // True when flock(1) could take the lock at once (`how` is -s or -x).
    bool flockToolGets(const char* how) {
        return runCommand(std::string("flock -n ") + how + " " + shellQuote(path) + " true")
                   .exitCode == 0;
    }
};

// Another process that holds the table open until released.
class OtherProcess {
  public:
    OtherProcess(const std::string& path, OpenMode mode) {
        int ready[2], go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(go[1]);
            char status = 'O';
            Table t;
            try {
                t.open(path, mode);
            } catch (const EngineError&) {
                status = 'E';
            }
            (void)!::write(ready[1], &status, 1);
            char c;
            (void)!::read(go[0], &c, 1);  // returns when the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(go[0]);
        release_ = go[1];
        char status = 'E';
        if (::read(ready[0], &status, 1) != 1) status = 'E';
        ::close(ready[0]);
        opened_ = status == 'O';
    }
    ~OtherProcess() {
        ::close(release_);
        int st;
        ::waitpid(pid_, &st, 0);
    }
    bool opened() const { return opened_; }

  private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool opened_ = false;
};

struct LockCase {
    OpenMode held;
    OpenMode wanted;
    bool allowed;
};
const LockCase kCases[] = {
    {S, S, true},
    {S, X, false},
    {X, S, false},
    {X, X, false},
};

TEST_F(TableLocks, TwoTablesInOneProcess) {
    for (const LockCase& c : kCases) {
        Table first, second;
        first.open(path, c.held);
        std::string error = openError(second, c.wanted);
        if (c.allowed) {
            EXPECT_EQ(error, "");
            EXPECT_TRUE(second.isOpen());
        } else {
            EXPECT_NE(error.find("in use"), std::string::npos) << error;
            EXPECT_NE(error.find(path), std::string::npos) << error;
            EXPECT_FALSE(second.isOpen());
        }
        first.close();
        second.close();
        EXPECT_EQ(openError(second, X), "") << "the lock is released on close";
    }
}

TEST_F(TableLocks, AgainstAnotherProcess) {
    for (const LockCase& c : kCases) {
        OtherProcess other(path, c.held);
        ASSERT_TRUE(other.opened());
        Table t;
        std::string error = openError(t, c.wanted);
        if (c.allowed)
            EXPECT_EQ(error, "");
        else
            EXPECT_NE(error.find("in use"), std::string::npos) << error;
    }
    // And the other way round: the other process is refused while we hold it.
    Table mine;
    mine.open(path, X);
    EXPECT_FALSE(OtherProcess(path, S).opened());
    mine.close();
    mine.open(path, S);
    EXPECT_TRUE(OtherProcess(path, S).opened());
    EXPECT_FALSE(OtherProcess(path, X).opened());
}

TEST_F(TableLocks, TheLocksAreOrdinaryFileLocksOthersSee) {
    if (runCommand("command -v flock >/dev/null").exitCode != 0) GTEST_SKIP() << "no flock(1)";
    Table t;
    t.open(path, S);
    EXPECT_TRUE(flockToolGets("-s"));
    EXPECT_FALSE(flockToolGets("-x"));
    t.close();
    t.open(path, X);
    EXPECT_FALSE(flockToolGets("-s"));
    t.close();
    EXPECT_TRUE(flockToolGets("-x"));
}

TEST_F(TableLocks, ChangesNeedingExclusiveUseAreRefusedWhileOthersReadAndKeepTheSharedLock) {
    Table a, b;
    a.open(path, S);
    b.open(path, S);
    try {
        a.addIndexTag("NewIndex", "Upper(Left(Country,80))");
        ADD_FAILURE() << "a tag was added while another table had the file open";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("in use"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(a.tags().empty());
    // `a` is still open, so it still keeps exclusive users out.
    b.close();
    Table c;
    EXPECT_NE(openError(c, X), "");
    EXPECT_FALSE(OtherProcess(path, X).opened());
    // With nobody else left, the shared table may add its tag.
    a.addIndexTag("NewIndex", "Upper(Left(Country,80))");
    EXPECT_EQ(a.tags().size(), 1u);
    EXPECT_TRUE(OtherProcess(path, S).opened());  // back to shared use afterwards
}

TEST_F(TableLocks, CreatingOverATableInUseIsRefused) {
    Table t;
    t.open(path, S);
    try {
        Table::create(path, sampleFields());
        ADD_FAILURE() << "created over an open table";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("in use"), std::string::npos) << e.what();
    }
    EXPECT_EQ(t.physicalCount(), 1u);
    EXPECT_EQ(t.record(1).text(kName), "a");
}

}  // namespace
}  // namespace engine
