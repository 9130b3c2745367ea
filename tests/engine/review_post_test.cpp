// engine::Table::post() when the index cannot be updated after the record was
// written (here: the index file may not grow, as on a full disk). The record
// is kept once, a retried post does not add it again, and the index is never
// left stamped as agreeing with the table while it misses a key: a later
// successful post must not hide the earlier failure.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/mdx_file.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

const char* const kTag = "BYCOUNTRY";

// In the child: exit codes name the step that went wrong.
enum ChildResult { kOk = 0, kFirstPostDidNotFail = 10, kLaterPostFailed = 11, kOther = 12 };

int failingPostsInChild(const std::string& path) {
    try {
        Table t;
        t.open(path, OpenMode::Exclusive);
        // Sorts last, into a leaf with room: the index file keeps its size,
        // while the table file is grown ahead for later appends.
        appendRow(t, {"z0", "ZZ0"});
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{32768, 32768};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return kOther;
        // Sorts first, into a full leaf: the split needs a new index block.
        t.append();
        t.setText(kCountry, "AAA");
        try {
            t.post();
            return kFirstPostDidNotFail;
        } catch (const EngineError&) {
        }
        try {
            t.post();  // the user tries again
        } catch (const EngineError&) {
        }
        if (t.state() != EditState::Browse) t.cancel();
        try {
            appendRow(t, {"z1", "ZZ1"});
        } catch (const EngineError&) {
            return kLaterPostFailed;
        }
        return kOk;
    } catch (const EngineError&) {
        return kOther;
    }
}

TEST(ReviewPost, AnIndexThatCouldNotBeUpdatedIsNotTrustedLater) {
    ScratchDir dir;
    const std::string path = dir.file("STAMPS.DBF");
    const std::string mdxPath = dir.file("STAMPS.MDX");
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 100; ++i) rows.push_back({"r", "M" + std::to_string(100 + i)});
    createWithRows(path, sampleFields(), rows);
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag(kTag, "Upper(Left(Country,20))");
    }
    ASSERT_LT(readFile(mdxPath).size(), 32768u);

    pid_t pid = ::fork();
    if (pid == 0) ::_exit(failingPostsInChild(path));
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the writer crashed";
    ASSERT_EQ(WEXITSTATUS(status), kOk);

    // 100 + ZZ0 + AAA (once, however often its post was tried) + ZZ1.
    const std::uint32_t count = u32At(readFile(path), 4);
    EXPECT_EQ(count, 103u);
    {
        auto index = MdxFile::open(mdxPath, false);
        std::size_t keys = 0;
        index->forEach(0, [&](std::string_view, std::uint32_t) { ++keys; });
        EXPECT_TRUE(!index->consistentWith(count) || keys == count)
            << "the index claims to agree with the table but holds " << keys << " keys for "
            << count << " records";
    }
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.selectIndex(kTag);
    EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
    t.close();
    EXPECT_EQ(indexEntries(mdxPath, kTag).size(), count);
}

}  // namespace
}  // namespace engine
