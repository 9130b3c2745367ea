// Damaged and foreign files: every case is an EngineError naming the file,
// never a crash or a hang.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "engine/error.h"
#include "engine/mdx_file.h"
#include "mdx_test_util.h"

namespace engine {
namespace {

using mdxtest::KeyShape;

// A 58-byte-key tag of 5000 records: 334 leaves under a four-level tree.
class MdxDamage : public ::testing::Test {
  public:
    void SetUp() override {
        path_ = dir_.file("MASTER.MDX");
        MdxFile::create(path_, "MASTER", 0)
            ->addTag("NEWINDEX", "K", 58, 5000, mdxtest::producerFor(KeyShape::Words, 58));
        std::ifstream in(path_, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
    }

    std::uint32_t get(std::size_t at) const {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | std::uint8_t(bytes_[at + std::size_t(i)]);
        return v;
    }
    void put(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at + std::size_t(i)] = char(v >> (8 * i) & 0xFF);
    }
    void save() const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes_.data(), std::streamsize(bytes_.size()));
    }
    std::size_t tagHeader() const { return std::size_t(get(544)) * 512; }
    std::uint32_t root() const { return get(tagHeader()); }
    static std::size_t at(std::uint32_t page) { return std::size_t(page) * 512; }
    // Child i of the interior node at `page` (item length 64).
    std::uint32_t child(std::uint32_t page, std::size_t i) const {
        return get(at(page) + 8 + 64 * i);
    }

    mdxtest::Scratch dir_;
    std::string path_;
    std::string bytes_;
};

struct DamageCase {
    const char* name;
    std::function<void(MdxDamage&)> patch;
    const char* message;  // part of the expected error text
};

void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.name;
}

class MdxDamageOnOpen : public MdxDamage, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(MdxDamageOnOpen, IsReportedWithTheFileName) {
    GetParam().patch(*this);
    save();
    for (bool writable : {false, true}) {
        try {
            MdxFile::open(path_, writable);
            FAIL() << "no error for " << GetParam().name;
        } catch (const EngineError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("\"" + path_ + "\""), std::string::npos) << text;
            EXPECT_NE(text.find(GetParam().message), std::string::npos) << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MdxDamageOnOpen,
    ::testing::Values(
        DamageCase{"TooShort", [](MdxDamage& d) { d.bytes_.resize(1000); }, "not a dBase IV index"},
        DamageCase{"WrongVersion", [](MdxDamage& d) { d.bytes_[0] = 3; }, "version byte is 3"},
        DamageCase{"WrongBlockSize", [](MdxDamage& d) { d.bytes_[23] = 2; }, "1024"},
        DamageCase{"TooManyTags", [](MdxDamage& d) { d.bytes_[28] = 48; }, "more than 47"},
        DamageCase{"Truncated", [](MdxDamage& d) { d.bytes_.resize(d.bytes_.size() / 2); },
                   "pages but the file holds"},
        DamageCase{"TagHeaderOutside", [](MdxDamage& d) { d.put(544, 99998); },
                   "header of tag \"NEWINDEX\" lies outside"},
        DamageCase{"KeyLengthZero", [](MdxDamage& d) { d.bytes_[d.tagHeader() + 12] = 0; },
                   "key length of 0"},
        DamageCase{"ItemLengthWrong", [](MdxDamage& d) { d.bytes_[d.tagHeader() + 18] = 60; },
                   "item length of 60"},
        DamageCase{"ExpressionUnterminated",
                   [](MdxDamage& d) { d.bytes_.replace(d.tagHeader() + 24, 221, 221, 'X'); },
                   "not terminated"},
        DamageCase{"RootOutside", [](MdxDamage& d) { d.put(d.tagHeader(), 99998); },
                   "points outside the file (to page 99998)"},
        DamageCase{"ChildOutside",
                   [](MdxDamage& d) { d.put(std::size_t(d.root()) * 512 + 8, 99998); },
                   "points outside the file (to page 99998)"},
        DamageCase{"ChildCycle",
                   [](MdxDamage& d) {
                       const std::uint32_t level2 = d.child(d.root(), 0);
                       const std::uint32_t level1 = d.child(level2, 0);
                       d.put(std::size_t(level1) * 512 + 8, d.root());
                   },
                   "levels deep"},
        DamageCase{"LeafCountAboveMax",
                   [](MdxDamage& d) { d.put(std::size_t(d.get(d.tagHeader() + 248)) * 512, 16); },
                   "holds 16 keys, more than the 15"},
        DamageCase{"InteriorCountHuge",
                   [](MdxDamage& d) { d.put(std::size_t(d.root()) * 512, 0xFFFFFFF0u); },
                   "more than the 15"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MdxDamage, WalksAndChangesCheckPagesDamagedAfterOpening) {
    auto mdx = MdxFile::open(path_, true);
    put(at(root()) + 8, 99998);  // through the file, seen by the shared mapping
    save();
    std::vector<std::uint32_t> order;
    EXPECT_THROW(mdx->collectOrder(0, order), EngineError);
    EXPECT_THROW(mdx->forEach(0, [](std::string_view, std::uint32_t) {}), EngineError);
    EXPECT_THROW(mdx->verify(0), EngineError);
    const std::string key(58, ' ');
    EXPECT_THROW(mdx->insertKey(0, key.data(), 1), EngineError);
    EXPECT_THROW(mdx->removeKey(0, key.data(), 1), EngineError);
}

TEST_F(MdxDamage, VerifyFindsKeysOutOfOrderAndWrongSeparators) {
    const std::size_t leaf = at(get(tagHeader() + 248));
    std::swap_ranges(bytes_.begin() + std::ptrdiff_t(leaf + 8),
                     bytes_.begin() + std::ptrdiff_t(leaf + 72),
                     bytes_.begin() + std::ptrdiff_t(leaf + 72));
    save();
    EXPECT_THROW(MdxFile::open(path_, false)->verify(0), EngineError);

    SetUp();
    bytes_[at(root()) + 8 + 4] ^= 0x7F;  // first separator key of the root
    save();
    try {
        MdxFile::open(path_, false)->verify(0);
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("differs from the largest key"), std::string::npos);
    }
}

}  // namespace
}  // namespace engine
