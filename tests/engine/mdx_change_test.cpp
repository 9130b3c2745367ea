// Incremental maintenance of a tag against a reference set, and the
// crash-consistency stamp.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

#include "engine/error.h"
#include "engine/mdx_file.h"
#include "mdx_test_util.h"

namespace engine {
namespace {

using mdxtest::Entry;
using mdxtest::KeyShape;

struct ChangeCase {
    const char* name;
    KeyShape shape;
    int keyLength;
    std::uint32_t bulkCount;  // records in the tag before the random changes
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class MdxRandomChanges : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(MdxRandomChanges, MatchReferenceSetAfterEveryBatch) {
    const ChangeCase& c = GetParam();
    mdxtest::Scratch dir;
    const std::string path = dir.file("T.MDX");
    auto mdx = MdxFile::create(path, "T", 0);
    mdx->addTag("NEWINDEX", "K", c.keyLength, c.bulkCount,
                mdxtest::producerFor(c.shape, c.keyLength));
    const auto initial = mdxtest::expectedOrder(c.shape, c.keyLength, c.bulkCount);
    std::set<Entry> reference(initial.begin(), initial.end());

    std::mt19937 random(12345);
    std::uint32_t nextRecno = c.bulkCount + 1;
    for (int batch = 0; batch < 30; ++batch) {
        // Early batches mostly grow the tree, later ones mostly shrink it.
        const int insertPercent = batch < 15 ? 70 : 25;
        for (int step = 0; step < 300; ++step) {
            if (reference.empty() || int(random() % 100) < insertPercent) {
                const std::uint32_t recno =
                    random() % 4 == 0 ? nextRecno++ : 1 + random() % (nextRecno + 50);
                const std::string key = mdxtest::makeKey(c.shape, random() % 5000, c.keyLength);
                if (!reference.insert({key, recno}).second) continue;
                mdx->insertKey(0, key.data(), recno);
            } else {
                auto victim = reference.begin();
                std::advance(victim, random() % reference.size());
                ASSERT_TRUE(mdx->removeKey(0, victim->first.data(), victim->second));
                reference.erase(victim);
            }
        }
        ASSERT_NO_THROW(mdx->verify(0)) << "batch " << batch;
        ASSERT_EQ(mdxtest::entriesOf(*mdx, 0),
                  std::vector<Entry>(reference.begin(), reference.end()))
            << "batch " << batch;
    }
    mdx.reset();
    auto reopened = MdxFile::open(path, false);
    reopened->verify(0);
    EXPECT_EQ(mdxtest::entriesOf(*reopened, 0),
              std::vector<Entry>(reference.begin(), reference.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, MdxRandomChanges,
    ::testing::Values(ChangeCase{"EmptyStartLongKeys", KeyShape::Words, 58, 0},
                      ChangeCase{"BulkStartNumbers", KeyShape::Numbers, 12, 2000},
                      ChangeCase{"Duplicates", KeyShape::FewDistinct, 20, 500},
                      ChangeCase{"OneByteKeys", KeyShape::HighBytes, 1, 300},
                      ChangeCase{"LongestKeys", KeyShape::HighBytes, 100, 200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MdxChange, DuplicatesInsertedInReverseStayInRecordOrderAcrossLeaves) {
    mdxtest::Scratch dir;
    auto mdx = MdxFile::create(dir.file("T.MDX"), "T", 0);
    mdx->addTag("NEWINDEX", "K", 20, 0, mdxtest::producerFor(KeyShape::Words, 20));
    const std::string same(20, 'S');
    for (std::uint32_t r = 2000; r >= 1; --r) mdx->insertKey(0, same.data(), r * 2);
    for (std::uint32_t r = 1; r <= 2000; r += 7) mdx->insertKey(0, same.data(), r * 2 + 1);
    mdx->verify(0);
    std::vector<std::uint32_t> order;
    mdx->collectOrder(0, order);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ(order.size(), 2000u + 286u);
}

TEST(MdxChange, AppendingIncreasingKeysPacksNodesLikeABulkBuild) {
    mdxtest::Scratch dir;
    const std::string incremental = dir.file("A.MDX");
    const std::string bulk = dir.file("B.MDX");
    const std::uint32_t count = 20000;
    auto keyOf = [](std::uint32_t recno, char* out) { std::snprintf(out, 13, "%012u", recno); };
    auto a = MdxFile::create(incremental, "A", 0);
    a->addTag("NEWINDEX", "K", 12, 0, keyOf);
    char key[13];
    for (std::uint32_t r = 1; r <= count; ++r) {
        keyOf(r, key);
        a->insertKey(0, key, r);
    }
    a->verify(0);
    MdxFile::create(bulk, "B", 0)->addTag("NEWINDEX", "K", 12, count, keyOf);
    a.reset();
    EXPECT_LE(std::filesystem::file_size(incremental), std::filesystem::file_size(bulk) * 21 / 20);
}

TEST(MdxChange, RemovingEverythingLeavesAnEmptyRootLeaf) {
    mdxtest::Scratch dir;
    auto mdx = MdxFile::create(dir.file("T.MDX"), "T", 0);
    const auto keys = mdxtest::producerFor(KeyShape::Numbers, 12);
    mdx->addTag("NEWINDEX", "K", 12, 1000, keys);
    const std::string other = mdxtest::makeKey(KeyShape::Numbers, 2, 12);
    const std::string first = mdxtest::makeKey(KeyShape::Numbers, 1, 12);
    if (first != other) {
        EXPECT_FALSE(mdx->removeKey(0, other.data(), 1));  // key of another record
    }
    EXPECT_FALSE(mdx->removeKey(0, first.data(), 1001));  // record not indexed
    for (const Entry& e : mdxtest::expectedOrder(KeyShape::Numbers, 12, 1000))
        ASSERT_TRUE(mdx->removeKey(0, e.first.data(), e.second));
    mdx->verify(0);
    EXPECT_TRUE(mdxtest::entriesOf(*mdx, 0).empty());
    mdx->insertKey(0, first.data(), 7);
    mdx->verify(0);
    EXPECT_EQ(mdxtest::entriesOf(*mdx, 0), (std::vector<Entry>{{first, 7}}));
}

TEST(MdxChange, ReadOnlyIndexRefusesChanges) {
    mdxtest::Scratch dir;
    const std::string path = dir.file("T.MDX");
    MdxFile::create(path, "T", 0)
        ->addTag("NEWINDEX", "K", 4, 10, mdxtest::producerFor(KeyShape::Words, 4));
    auto mdx = MdxFile::open(path, false);
    EXPECT_THROW(mdx->insertKey(0, "ABCD", 11), EngineError);
    EXPECT_THROW(mdx->beginChange(), EngineError);
    std::vector<std::uint32_t> order;
    EXPECT_THROW(mdx->collectOrder(1, order), EngineError);  // no second tag
}

TEST(MdxStamp, IsConsistentOnlyAfterEndChangeWithTheSameCount) {
    mdxtest::Scratch dir;
    const std::string path = dir.file("T.MDX");
    auto mdx = MdxFile::create(path, "T", 0);
    mdx->addTag("NEWINDEX", "K", 4, 10, mdxtest::producerFor(KeyShape::Words, 4));
    EXPECT_FALSE(mdx->consistentWith(10));  // freshly built: the table stamps it
    mdx->endChange(10);
    EXPECT_TRUE(mdx->consistentWith(10));
    EXPECT_FALSE(mdx->consistentWith(11));
    mdx->beginChange();
    EXPECT_FALSE(mdx->consistentWith(10));
    mdx->endChange(11);
    mdx->insertKey(0, "ZZZZ", 11);  // a change without beginChange still marks the file
    EXPECT_FALSE(mdx->consistentWith(11));
    mdx->endChange(11);
    mdx.reset();
    EXPECT_TRUE(MdxFile::open(path, false)->consistentWith(11));

    // A process killed between beginChange and endChange leaves the mark.
    MdxFile::open(path, true)->beginChange();
    EXPECT_FALSE(MdxFile::open(path, false)->consistentWith(11));
}

}  // namespace
}  // namespace engine
