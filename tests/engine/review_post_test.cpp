// engine::Table::post() when the index cannot grow (here: the index file may
// not grow, as on a full disk). The post is refused before anything is
// written: the record is not added, a retried post does not add it either,
// the index stays stamped as agreeing with the table, and once there is room
// again posts go on as before.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <set>
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
enum ChildResult { kOk = 0, kNoPostFailed = 10, kLaterPostFailed = 11, kOther = 12 };

int failingPostsInChild(const std::string& path, const std::string& mdxPath) {
    try {
        Table t;
        t.open(path, OpenMode::Exclusive);
        // Sorts last; the table file is grown ahead for later appends.
        appendRow(t, {"z0", "ZZ0"});
        ::signal(SIGXFSZ, SIG_IGN);
        struct stat st {};
        if (::stat(mdxPath.c_str(), &st) != 0) return kOther;
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t unlimited = limit.rlim_cur;
        limit.rlim_cur = rlim_t(st.st_size);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return kOther;
        // Records that sort first, into full leaves, until the index needs to grow.
        bool failed = false;
        for (int i = 0; i < 20000 && !failed; ++i) {
            t.append();
            t.setText(kCountry, "A" + std::to_string(100000 - i));
            try {
                t.post();
            } catch (const EngineError&) {
                failed = true;
            }
        }
        if (!failed) return kNoPostFailed;
        try {
            t.post();  // the user tries again
            return kNoPostFailed;
        } catch (const EngineError&) {
        }
        t.cancel();
        limit.rlim_cur = unlimited;  // room again
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return kOther;
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

TEST(ReviewPost, APostTheIndexHasNoRoomForIsRefusedBeforeAnythingIsWritten) {
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
    if (pid == 0) ::_exit(failingPostsInChild(path, mdxPath));
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the writer crashed";
    ASSERT_EQ(WEXITSTATUS(status), kOk);

    // 100 + ZZ0 + the posts that found room + ZZ1; the refused one is not there.
    const std::uint32_t count = u32At(readFile(path), 4);
    EXPECT_GT(count, 102u);
    {
        auto index = MdxFile::open(mdxPath, false);
        std::size_t keys = 0;
        index->forEach(0, [&](std::string_view, std::uint32_t) { ++keys; });
        EXPECT_TRUE(index->consistentWith(count));
        EXPECT_EQ(keys, count);
    }
    Table t;
    t.open(path, OpenMode::Exclusive);
    EXPECT_EQ(t.indexNotice(), "");
    std::set<std::string> countries;
    for (std::uint32_t r = 1; r <= t.physicalCount(); ++r)
        EXPECT_TRUE(countries.insert(t.record(r).text(kCountry)).second) << "record " << r;
    t.selectIndex(kTag);
    EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
    t.close();
    EXPECT_EQ(indexEntries(mdxPath, kTag).size(), count);
}

}  // namespace
}  // namespace engine
