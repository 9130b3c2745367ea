// The write lock that serialises writers of a shared engine::Table across
// processes is given back when a write fails after taking it, so one failed
// post cannot stall every other program sharing the table.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

// Puts the true record count back and appends one record, from a child
// process; true when it managed within a few seconds (false when it hung on
// a lock or failed). The repair is made there because closing any descriptor
// of the file in this process would drop this process's record locks.
bool anotherProcessCanRepairAndAppend(const std::string& path, std::uint32_t count) {
    pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(10);  // a writer stuck on the lock dies here
        int code = 0;
        try {
            patchU32(path, 4, count);
            Table t;
            t.open(path, OpenMode::Shared);
            appendRow(t, {"child", "Peru"});
        } catch (const EngineError&) {
            code = 3;
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ReviewLock, APostRefusedForADamagedCountReleasesTheWriteLock) {
    ScratchDir dir;
    const std::string path = dir.file("STAMPS.DBF");
    createWithRows(path, sampleFields(), {{"a", "Chad"}, {"b", "Benin"}});
    Table mine;
    mine.open(path, OpenMode::Shared);
    // Another program leaves a count the file cannot hold (it counted before
    // writing); our post notices it once it holds the lock.
    patchU32(path, 4, 1000);
    mine.append();
    mine.setText(kName, "mine");
    EXPECT_THROW(mine.post(), EngineError);
    mine.cancel();

    EXPECT_TRUE(anotherProcessCanRepairAndAppend(path, 2))
        << "the write lock was kept after the failure";
    mine.refresh();
    EXPECT_EQ(mine.physicalCount(), 3u);
}

}  // namespace
}  // namespace engine
