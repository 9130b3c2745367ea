// An independent reader (Perl XBase's index_dump) must walk our tags in the
// order our own walk gives, for bulk-built tags and for tags grown by inserts.
// index_dump prints one line per entry: the raw key bytes, a blank, the record
// number. It needs no table file beside the index.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "engine/mdx_file.h"
#include "mdx_test_util.h"

namespace engine {
namespace {

using mdxtest::Entry;
using mdxtest::KeyShape;

bool haveIndexDump() {
    return std::system("command -v index_dump >/dev/null 2>&1") == 0;
}

// Runs index_dump on `tag` and parses its lines, given the key length.
std::vector<Entry> dumpTag(const std::string& path, const std::string& tag, int keyLength) {
    const std::string command = "index_dump '" + path + "' " + tag + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << output;

    std::vector<Entry> entries;
    const std::size_t kl = std::size_t(keyLength);
    for (std::size_t start = 0; start < output.size();) {
        const std::size_t end = output.find('\n', start + kl);
        const std::string line = output.substr(start, end - start);
        if (end == std::string::npos || line.size() < kl + 2 || line[kl] != ' ') {
            ADD_FAILURE() << "unexpected index_dump output: " << line;
            break;
        }
        entries.emplace_back(line.substr(0, kl), std::uint32_t(std::stoul(line.substr(kl + 1))));
        start = end + 1;
    }
    return entries;
}

struct DumpCase {
    const char* name;
    KeyShape shape;
    int keyLength;
    std::uint32_t count;
};

void PrintTo(const DumpCase& c, std::ostream* os) {
    *os << c.name;
}

class MdxIndexDump : public ::testing::TestWithParam<DumpCase> {
  protected:
    void SetUp() override {
        if (!haveIndexDump())
            GTEST_SKIP() << "index_dump (Debian libdbd-xbase-perl) is not installed";
    }

    void expectSameOrder(const std::string& path) {
        const DumpCase& c = GetParam();
        auto mdx = MdxFile::open(path, false);
        const int tag = mdx->findTag("NEWINDEX");
        mdx->verify(tag);
        std::vector<std::uint32_t> order;
        mdx->collectOrder(tag, order);
        const std::vector<Entry> dumped = dumpTag(path, "NEWINDEX", c.keyLength);
        EXPECT_EQ(mdxtest::recnosOf(dumped), order);
        EXPECT_EQ(dumped, mdxtest::expectedOrder(c.shape, c.keyLength, c.count));
    }

    mdxtest::Scratch dir_;
};

TEST_P(MdxIndexDump, ReadsBulkBuiltTagsInOurOrder) {
    const DumpCase& c = GetParam();
    const std::string path = dir_.file("MASTER.MDX");
    MdxFile::create(path, "MASTER", 0x57)
        ->addTag("NEWINDEX", "K", c.keyLength, c.count, mdxtest::producerFor(c.shape, c.keyLength));
    expectSameOrder(path);
}

TEST_P(MdxIndexDump, ReadsTagsGrownByInsertsInOurOrder) {
    const DumpCase& c = GetParam();
    const std::string path = dir_.file("MASTER.MDX");
    {
        auto mdx = MdxFile::create(path, "MASTER", 0x57);
        // A second tag first, so the blocks of the two tags interleave.
        mdx->addTag("OTHER", "K", 8, 0, mdxtest::producerFor(KeyShape::Words, 8));
        mdx->addTag("NEWINDEX", "K", c.keyLength, 0, mdxtest::producerFor(c.shape, c.keyLength));
        std::vector<std::uint32_t> recnos(c.count);
        for (std::uint32_t i = 0; i < c.count; ++i) recnos[i] = i + 1;
        std::shuffle(recnos.begin(), recnos.end(), std::mt19937(7));
        for (std::uint32_t r : recnos) {
            mdx->insertKey(1, mdxtest::makeKey(c.shape, r, c.keyLength).data(), r);
            mdx->insertKey(0, mdxtest::makeKey(KeyShape::Words, r, 8).data(), r);
        }
        // Remove and put back a slice, so unlinked nodes and fixed separators
        // are part of what the reader walks.
        for (std::uint32_t r = 1; r <= c.count / 3; ++r)
            mdx->removeKey(1, mdxtest::makeKey(c.shape, r, c.keyLength).data(), r);
        for (std::uint32_t r = c.count / 3; r >= 1; --r)
            mdx->insertKey(1, mdxtest::makeKey(c.shape, r, c.keyLength).data(), r);
    }
    expectSameOrder(path);
}

// 20-byte keys: 42 per node, interior nodes up to 41 keys (42 children).
INSTANTIATE_TEST_SUITE_P(
    Cases, MdxIndexDump,
    ::testing::Values(DumpCase{"EmptyTag", KeyShape::Words, 20, 0},
                      DumpCase{"OneFullLeaf", KeyShape::Words, 20, 42},
                      DumpCase{"FirstSplit", KeyShape::Words, 20, 43},
                      DumpCase{"ThreeLevels", KeyShape::Words, 20, 42 * 42 + 1},
                      DumpCase{"Duplicates", KeyShape::FewDistinct, 20, 500},
                      DumpCase{"BlanksAndMinusSigns", KeyShape::Numbers, 12, 1500},
                      DumpCase{"Cp1252Bytes", KeyShape::HighBytes, 20, 1500}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace engine
