// engine::MdxFile as others see it: an index file that cannot be used is left
// exactly as it was by every open that does not rebuild it (it may not be
// ours at all), and an index opened for reading follows pages another writer
// adds to the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/mdx_file.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

struct RefusedIndex {
    const char* what;
    std::function<std::string(const std::string& ourIndex)> contents;
    bool rebuiltWhenExclusive;  // its tags can still be read, so nothing is lost by it
};

TEST(ReviewMdx, AnIndexFileThatCannotBeUsedIsLeftUntouched) {
    const std::vector<RefusedIndex> cases = {
        {"another program's file whose bytes 32-35 read as a small number",
         [](const std::string&) {
             std::string b(8192, 'x');
             b.replace(32, 4, std::string("\x05\x00\x00\x00", 4));
             return b;
         },
         false},
        {"our index with a page count cut below its tree",
         [](const std::string& ours) {
             std::string b = ours;
             b.replace(32, 4, std::string("\x06\x00\x00\x00", 4));
             return b;
         },
         true},
    };
    for (const RefusedIndex& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string path = dir.file("STAMPS.DBF");
        const std::string mdxPath = dir.file("STAMPS.MDX");
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < 200; ++i) rows.push_back({"r", "C" + std::to_string(i)});
        createWithRows(path, sampleFields(), rows);
        {
            Table t;
            t.open(path, OpenMode::Exclusive);
            t.addIndexTag("BYCOUNTRY", "Upper(Left(Country,20))");
        }
        const std::string spoiled = c.contents(readFile(mdxPath));
        writeFile(mdxPath, spoiled);
        for (OpenMode mode : {OpenMode::ReadOnly, OpenMode::Shared}) {
            Table t;
            ASSERT_NO_THROW(t.open(path, mode));
            EXPECT_TRUE(t.tags().empty());
            t.close();
            EXPECT_TRUE(readFile(mdxPath) == spoiled) << "the unused file was changed";
        }
        Table t;
        ASSERT_NO_THROW(t.open(path, OpenMode::Exclusive));
        EXPECT_EQ(readFile(mdxPath) != spoiled, c.rebuiltWhenExclusive);
        EXPECT_EQ(t.tags().size(), c.rebuiltWhenExclusive ? 1u : 0u);
    }
}

TEST(ReviewMdx, AReaderFollowsPagesAnotherWriterAdds) {
    ScratchDir dir;
    const std::string path = dir.file("STAMPS.MDX");
    auto writer = MdxFile::create(path, "STAMPS", 0x57);
    writer->addTag("KEY", "NAME", 20, 0, [](std::uint32_t, char*) {});
    writer->endChange(0);
    auto reader = MdxFile::open(path, false);

    constexpr std::uint32_t kKeys = 3000;
    char key[32];
    for (std::uint32_t r = 1; r <= kKeys; ++r) {
        std::snprintf(key, sizeof key, "%020u", kKeys - r);
        writer->insertKey(0, key, r);
    }
    writer->endChange(kKeys);

    std::vector<std::uint32_t> order;
    reader->collectOrder(0, order);
    ASSERT_EQ(order.size(), kKeys);
    for (std::uint32_t i = 0; i < kKeys; ++i) ASSERT_EQ(order[i], kKeys - i);
}

}  // namespace
}  // namespace engine
