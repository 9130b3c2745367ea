// A table and its index on a file system with no room left (a small tmpfs;
// mounting needs root, the tests are skipped without it): a post, an append
// run or a rebuild that needs more index space fails with an error, never
// kills the process, and the index stays as it was and in agreement with the
// table.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

// A tmpfs of `bytes` mounted on a fresh folder for the life of the object.
class SmallDisk {
  public:
    explicit SmallDisk(std::size_t bytes) {
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    std::string file(const std::string& name) const { return dir_.file(name); }

    // Takes every free byte with a filler file; freeRoom() gives them back.
    void fill() {
        const int fd = ::open(file("filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ASSERT_GE(fd, 0);
        const std::string chunk(4096, 'x');
        for (std::size_t size = chunk.size(); size > 0; size /= 2)
            while (::write(fd, chunk.data(), size) == ssize_t(size)) {
            }
        ::close(fd);
    }
    void freeRoom() { ::unlink(file("filler").c_str()); }

  private:
    ScratchDir dir_;
    bool mounted_ = false;
};

const char* const kTag = "NAMES";

std::vector<std::string> row(int i) {
    return {"Stamp number " + std::to_string(i), "Country " + std::to_string(i % 7), "1900", "",
            "", "", ""};
}

// A table of `records` rows with a tag of long keys, so the index grows
// faster than the table.
void createIndexed(const std::string& path, int records) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < records; ++i) rows.push_back(row(i));
    createWithRows(path, sampleFields(), rows);
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.addIndexTag(kTag, "UPPER(NAME+COUNTRY)");
}

// The index entries agree with a rebuild of the same table, and the table
// opens without a notice about its index.
void expectIndexSound(SmallDisk& disk, const std::string& path, std::uint32_t records) {
    const std::string mdx = disk.file("S.MDX");
    std::vector<std::pair<std::string, std::uint32_t>> before;
    ASSERT_NO_THROW(before = indexEntries(mdx, kTag));
    EXPECT_EQ(before.size(), records);
    {
        Table t;
        t.open(path, OpenMode::Shared);
        EXPECT_EQ(t.indexNotice(), "");
        EXPECT_EQ(t.physicalCount(), records);
    }
    disk.freeRoom();
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.regenerateIndexes();
    }
    EXPECT_EQ(indexEntries(mdx, kTag), before);
}

TEST(TableFullDisk, PostsAndAppendRunsFailWithAnErrorAndKeepTheIndexSound) {
    for (const bool appendRun : {false, true}) {
        SCOPED_TRACE(appendRun ? "append run" : "single posts");
        SmallDisk disk(2 << 20);
        if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
        const std::string path = disk.file("S.DBF");
        createIndexed(path, 300);
        disk.fill();

        std::uint32_t posted = 300;
        bool refused = false;
        {
            Table t;
            t.open(path, OpenMode::Shared);
            if (appendRun) t.beginAppendRun();
            for (int i = 300; i < 20000 && !refused; ++i) {
                try {
                    appendRow(t, row(i));
                    ++posted;
                } catch (const EngineError& e) {
                    refused = true;
                    EXPECT_NE(std::string(e.what()).find("No space left"), std::string::npos)
                        << e.what();
                    t.cancel();
                }
            }
            if (appendRun) t.endAppendRun();
        }
        EXPECT_TRUE(refused);
        expectIndexSound(disk, path, posted);
    }
}

TEST(TableFullDisk, RebuildWithoutRoomLeavesTheOldIndex) {
    SmallDisk disk(2 << 20);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
    const std::string path = disk.file("S.DBF");
    createIndexed(path, 3000);
    const auto before = indexEntries(disk.file("S.MDX"), kTag);
    disk.fill();
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        EXPECT_THROW(t.regenerateIndexes(), EngineError);
        EXPECT_THROW(t.addIndexTag("COUNTRIES", "UPPER(COUNTRY+NAME)"), EngineError);
    }
    EXPECT_EQ(indexEntries(disk.file("S.MDX"), kTag), before);
    EXPECT_FALSE(exists(disk.file("S.MDX.reindex-tmp")));
    expectIndexSound(disk, path, 3000);
}

}  // namespace
}  // namespace engine
