// Bulk-built tags: key order against a sorted reference, the on-disk header
// values, tag table maintenance and compaction.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/error.h"
#include "engine/mdx_file.h"
#include "mdx_test_util.h"

namespace engine {
namespace {

using mdxtest::KeyShape;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
std::uint32_t u32(const std::string& b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t u16(const std::string& b, std::size_t at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

struct BuildCase {
    const char* name;
    KeyShape shape;
    int keyLength;
    std::uint32_t count;
};

void PrintTo(const BuildCase& c, std::ostream* os) {
    *os << c.name;
}

class MdxBuildOrder : public ::testing::TestWithParam<BuildCase> {};

TEST_P(MdxBuildOrder, WalksInKeyThenRecordOrderBeforeAndAfterReopening) {
    const BuildCase& c = GetParam();
    mdxtest::Scratch dir;
    const std::string path = dir.file("MASTER.MDX");
    const auto expected = mdxtest::expectedOrder(c.shape, c.keyLength, c.count);
    {
        auto mdx = MdxFile::create(path, "master", 0x57);
        mdx->addTag("NewIndex", "KEY", c.keyLength, c.count,
                    mdxtest::producerFor(c.shape, c.keyLength));
        ASSERT_EQ(mdx->findTag("newindex"), 0);
        mdx->verify(0);
        EXPECT_EQ(mdxtest::entriesOf(*mdx, 0), expected);
    }
    const std::string bytes = fileBytes(path);
    EXPECT_EQ(bytes.size(), std::size_t(u32(bytes, 32)) * 512);
    auto reopened = MdxFile::open(path, false);
    reopened->verify(0);
    std::vector<std::uint32_t> order;
    reopened->collectOrder(0, order);
    EXPECT_EQ(order, mdxtest::recnosOf(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, MdxBuildOrder,
    ::testing::Values(BuildCase{"Empty", KeyShape::Words, 20, 0},
                      BuildCase{"OneKey", KeyShape::Words, 20, 1},
                      BuildCase{"OneFullLeaf", KeyShape::Words, 20, 42},
                      BuildCase{"FirstSplit", KeyShape::Words, 20, 43},
                      BuildCase{"FourLevels", KeyShape::Words, 58, 5000},
                      BuildCase{"NegativeNumbers", KeyShape::Numbers, 12, 3000},
                      BuildCase{"HighBytes", KeyShape::HighBytes, 20, 2000},
                      BuildCase{"DuplicateRuns", KeyShape::FewDistinct, 10, 1000},
                      BuildCase{"OneByteKeys", KeyShape::HighBytes, 1, 700},
                      BuildCase{"LongestKeys", KeyShape::Words, 100, 1000},
                      BuildCase{"ParallelSort", KeyShape::Words, 20, 100000},
                      BuildCase{"ParallelSortFewKeys", KeyShape::FewDistinct, 30, 60000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MdxBuild, WritesTheDocumentedHeaderTagTableAndTagHeader) {
    mdxtest::Scratch dir;
    const std::string path = dir.file("MASTER.MDX");
    MdxFile::create(path, "Master", 0x57)
        ->addTag("NEWINDEX", "Upper(Left(Country,80))", 20, 3,
                 mdxtest::producerFor(KeyShape::Words, 20));
    const std::string b = fileBytes(path);
    ASSERT_EQ(b.size(), 8u * 512);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b.substr(4, 16), std::string("MASTER") + std::string(10, '\0'));
    EXPECT_EQ(u16(b, 20), 2);
    EXPECT_EQ(u16(b, 22), 1024);
    EXPECT_EQ(b[24], 1);
    EXPECT_EQ(b[25], 48);
    EXPECT_EQ(b[26], 32);
    EXPECT_EQ(u16(b, 28), 1);
    EXPECT_EQ(std::uint8_t(b[31]), 0x57);
    EXPECT_EQ(u32(b, 32), 8u);
    EXPECT_EQ(b[529], 1);
    EXPECT_EQ(u32(b, 544), 4u);
    EXPECT_EQ(b.substr(548, 11), std::string("NEWINDEX") + std::string(3, '\0'));
    EXPECT_EQ(b[544 + 15], 0x10);
    EXPECT_EQ(b.substr(544 + 16, 3), std::string(3, '\0'));
    EXPECT_EQ(b[544 + 19], 2);
    EXPECT_EQ(b[544 + 20], 'C');

    const std::size_t t = 4 * 512;
    EXPECT_EQ(u32(b, t), 6u);  // root
    EXPECT_EQ(b[t + 8], 0x10);
    EXPECT_EQ(b[t + 9], 'C');
    EXPECT_EQ(std::uint8_t(b[t + 11]), 0x57);
    EXPECT_EQ(u16(b, t + 12), 20);
    EXPECT_EQ(u16(b, t + 14), 42);
    EXPECT_EQ(u16(b, t + 18), 24);
    EXPECT_EQ(b[t + 20], 1);
    EXPECT_EQ(std::string(b.c_str() + t + 24), "Upper(Left(Country,80))");
    EXPECT_EQ(b[t + 246], 1);
    EXPECT_EQ(u32(b, t + 248), 6u);
    EXPECT_EQ(u32(b, t + 252), 6u);

    const std::size_t leaf = 6 * 512;
    EXPECT_EQ(u32(b, leaf), 3u);
    EXPECT_EQ(u32(b, leaf + 4), 0u);
    EXPECT_EQ(b.substr(leaf + 8 + 3 * 24), std::string(1024 - 8 - 3 * 24, '\0'));
}

TEST(MdxBuild, MaintainsTagNameThreadsAndReplacesTagsInPlace) {
    mdxtest::Scratch dir;
    const std::string path = dir.file("T.MDX");
    auto mdx = MdxFile::create(path, "T", 0);
    const auto keys = mdxtest::producerFor(KeyShape::Words, 8);
    for (const char* name : {"NEWINDEX", "ALPHA", "ZULU", "MIDDLE"})
        mdx->addTag(name, "X", 8, 50, keys);
    mdx->addTag("alpha", "Y", 12, 60, mdxtest::producerFor(KeyShape::Numbers, 12));
    ASSERT_EQ(mdx->tags().size(), 4u);
    EXPECT_EQ(mdx->tags()[1].name, "ALPHA");
    EXPECT_EQ(mdx->tags()[1].expression, "Y");
    EXPECT_EQ(mdx->tags()[1].keyLength, 12);
    mdx.reset();

    const std::string b = fileBytes(path);
    auto threads = [&](int slot) { return b.substr(544 + 32 * std::size_t(slot) + 16, 3); };
    EXPECT_EQ(threads(0), std::string("\x02\x03\x00", 3));  // NEWINDEX: less ALPHA, greater ZULU
    EXPECT_EQ(threads(1), std::string("\x00\x04\x01", 3));  // ALPHA: greater MIDDLE, parent 1
    EXPECT_EQ(threads(2), std::string("\x00\x00\x01", 3));
    EXPECT_EQ(threads(3), std::string("\x00\x00\x02", 3));
    EXPECT_EQ(b[u32(b, 544 + 32) * 512 + 20], 2);  // ALPHA's rebuild counter

    auto reopened = MdxFile::open(path, false);
    for (int tag = 0; tag < 4; ++tag) reopened->verify(tag);
    EXPECT_EQ(mdxtest::entriesOf(*reopened, 1), mdxtest::expectedOrder(KeyShape::Numbers, 12, 60));
}

TEST(MdxBuild, DeletingAndRebuildingReclaimsSpace) {
    mdxtest::Scratch dir;
    const std::string path = dir.file("T.MDX");
    auto mdx = MdxFile::create(path, "T", 0);
    const auto keys = mdxtest::producerFor(KeyShape::Words, 20);
    mdx->addTag("ONE", "A", 20, 3000, keys);
    const auto oneTagSize = std::filesystem::file_size(path);
    mdx->addTag("TWO", "B", 20, 3000, keys);
    mdx->deleteTag("two");
    EXPECT_EQ(std::filesystem::file_size(path), oneTagSize);
    mdx->deleteTag("absent");

    for (std::uint32_t r = 1; r <= 500; ++r)
        mdx->insertKey(0, mdxtest::makeKey(KeyShape::Words, r, 20).c_str(), 5000 + r);
    mdx->rebuildAll(3000, [&](const TagInfo&) { return keys; });
    EXPECT_EQ(std::filesystem::file_size(path), oneTagSize);
    EXPECT_EQ(mdxtest::entriesOf(*mdx, 0), mdxtest::expectedOrder(KeyShape::Words, 20, 3000));

    mdx->deleteTag("ONE");
    EXPECT_TRUE(mdx->tags().empty());
    EXPECT_EQ(std::filesystem::file_size(path), 2048u);
}

TEST(MdxBuild, RefusesInvalidTags) {
    mdxtest::Scratch dir;
    auto mdx = MdxFile::create(dir.file("T.MDX"), "T", 0);
    const auto keys = mdxtest::producerFor(KeyShape::Words, 10);
    EXPECT_THROW(mdx->addTag("ELEVENCHARS", "X", 10, 1, keys), EngineError);
    EXPECT_THROW(mdx->addTag("A", "X", 101, 1, keys), EngineError);
    EXPECT_THROW(mdx->addTag("A", std::string(221, 'X'), 10, 1, keys), EngineError);
    for (int i = 0; i < 47; ++i) mdx->addTag("T" + std::to_string(i), "X", 10, 1, keys);
    EXPECT_THROW(mdx->addTag("ONEMORE", "X", 10, 1, keys), EngineError);
    EXPECT_NO_THROW(mdx->addTag("T5", "Y", 10, 2, keys));  // replacing needs no new slot
}

TEST(MdxBuild, AFailingKeyProducerLeavesTheFileUsable) {
    mdxtest::Scratch dir;
    const std::string path = dir.file("T.MDX");
    auto mdx = MdxFile::create(path, "T", 0);
    mdx->addTag("GOOD", "X", 10, 100, mdxtest::producerFor(KeyShape::Words, 10));
    const auto size = std::filesystem::file_size(path);
    EXPECT_THROW(mdx->addTag("BAD", "X", 10, 100,
                             [](std::uint32_t recno, char*) {
                                 if (recno == 50) throw EngineError("bad record");
                             }),
                 EngineError);
    EXPECT_EQ(mdx->tags().size(), 1u);
    mdx.reset();
    EXPECT_EQ(std::filesystem::file_size(path), size);
    MdxFile::open(path, true)->verify(0);
}

}  // namespace
}  // namespace engine
