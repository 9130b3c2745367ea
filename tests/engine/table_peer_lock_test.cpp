// engine::Table among programs that lock with fcntl/lockf (Python's
// fcntl.lockf here): their locks keep exclusive use away, and ours are seen
// by them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

class PeerLocks : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");
    std::string mdx = dir.file("STAMPS.MDX");
    void SetUp() override {
        if (!pythonHasModule("fcntl")) GTEST_SKIP() << "python3 missing";
        createWithRows(path, sampleFields(), {{"a", "Chad"}, {"b", "Peru"}});
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("NAME", "Upper(Name)");
    }
    // Message of the error raised by `step`; empty when it succeeds.
    template <typename Step>
    std::string errorOf(Step step) {
        try {
            step();
            return {};
        } catch (const EngineError& e) {
            return e.what();
        }
    }
};

TEST_F(PeerLocks, ExclusiveUseIsRefusedWhileAnotherProgramLocksTheTableOrItsIndex) {
    for (bool exclusive : {true, false}) {
        for (const std::string& locked : {path, mdx}) {
            SCOPED_TRACE(locked + (exclusive ? " LOCK_EX" : " LOCK_SH"));
            const std::string before = readFile(path);
            {
                PythonLockHolder other({locked}, exclusive);
                ASSERT_TRUE(other.locked());
                Table t;
                EXPECT_NE(errorOf([&] { t.open(path, OpenMode::Exclusive); }).find("in use"),
                          std::string::npos);
                if (!exclusive || locked == mdx) {
                    // Sharing is fine; what needs exclusive use is refused.
                    t.open(path, OpenMode::Shared);
                    EXPECT_NE(errorOf([&] { t.addIndexTag("COUNTRY", "Country"); }).find("in use"),
                              std::string::npos);
                    EXPECT_EQ(t.recordCount(), 2u);
                }
            }
            EXPECT_EQ(readFile(path), before);
            Table t;
            t.open(path, OpenMode::Exclusive);  // free again once the other program lets go
        }
    }
}

TEST_F(PeerLocks, OtherProgramsSeeOurSharedAndExclusiveUse) {
    {
        Table t;
        t.open(path, OpenMode::Shared);
        EXPECT_FALSE(pythonCanLock(path, true));
        EXPECT_TRUE(pythonCanLock(path, false));
        // Closing another descriptor of the file drops every classic fcntl
        // lock this process holds on it; ours must survive that.
        ::close(::open(path.c_str(), O_RDONLY));
        EXPECT_FALSE(pythonCanLock(path, true));
        t.first();
        t.edit();
        t.setText(kName, "changed");
        t.post();  // the write lock of a shared table comes and goes
        EXPECT_FALSE(pythonCanLock(path, true));
        // Exclusive use for a moment (a new tag), then shared again.
        t.addIndexTag("COUNTRY", "Country");
        EXPECT_FALSE(pythonCanLock(path, true));
        EXPECT_TRUE(pythonCanLock(path, false));
    }
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        EXPECT_FALSE(pythonCanLock(path, false));
        t.pack();  // the packed file that replaces the table is held as well
        EXPECT_FALSE(pythonCanLock(path, false));
    }
    EXPECT_TRUE(pythonCanLock(path, true));
}

}  // namespace
}  // namespace engine
