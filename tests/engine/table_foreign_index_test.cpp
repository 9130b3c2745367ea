// engine::Table with an index another dBase program wrote, holding tags this
// engine does not build: numeric and date keys, descending, FOR and unique
// tags, an expression it cannot evaluate. Reading works whatever the index
// holds and changes nothing; writing either leaves such a tag byte for byte or
// is refused with a message naming it; Rebuild Indexes drops only those tags.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/table.h"
#include "foreign_mdx.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

struct Stamp {
    const char* country;
    int year;
    int month, day;  // of the purchase date, in `year`
};
const std::vector<Stamp> kStamps = {
    {"Spain", 1950, 1, 1},  {"austria", 1900, 5, 15}, {"Chad", 1988, 3, 3},
    {"Fiji", 1920, 12, 31}, {"Benin", 1975, 1, 1},    {"Egypt", 1900, 2, 28},
    {"Gabon", 2001, 9, 11}, {"Denmark", 1955, 1, 2},  {"Angola", 1930, 7, 1},
    {"Haiti", 1960, 5, 5},
};

std::string upperText(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
std::string lowerText(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
std::string padded(std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
}

// A tag over every stamp (or those `keep` accepts), keys from `key`, in key
// order (reversed for a descending tag); a unique tag keeps the first record
// of each key.
ForeignTag makeTag(ForeignTag tag, const std::function<std::string(const Stamp&)>& key,
                   const std::function<bool(const Stamp&)>& keep = nullptr) {
    for (std::size_t i = 0; i < kStamps.size(); ++i)
        if (!keep || keep(kStamps[i]))
            tag.entries.emplace_back(key(kStamps[i]), std::uint32_t(i + 1));
    std::stable_sort(tag.entries.begin(), tag.entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (tag.unique)
        tag.entries.erase(
            std::unique(tag.entries.begin(), tag.entries.end(),
                        [](const auto& a, const auto& b) { return a.first == b.first; }),
            tag.entries.end());
    if (tag.descending) std::reverse(tag.entries.begin(), tag.entries.end());
    return tag;
}

ForeignTag countryTag() {  // a plain tag this engine builds and keeps up to date
    return makeTag({"CTRY", "UPPER(COUNTRY)", 'C', 20},
                   [](const Stamp& s) { return padded(upperText(s.country), 20); });
}

// The tags this engine can read but not keep, each as another program writes it.
std::vector<ForeignTag> foreignTags() {
    return {
        makeTag({"YEAR", "YEAR", 'N', 12}, [](const Stamp& s) { return bcdKey(s.year); }),
        makeTag({"BOUGHT", "BOUGHT", 'D', 8},
                [](const Stamp& s) { return dateKey(s.year, s.month, s.day); }),
        makeTag({"CTRYDESC", "UPPER(COUNTRY)", 'C', 20, /*descending=*/true},
                [](const Stamp& s) { return padded(upperText(s.country), 20); }),
        makeTag(
            {"MODERN", "UPPER(COUNTRY)", 'C', 20, false, false, "YEAR > 1950"},
            [](const Stamp& s) { return padded(upperText(s.country), 20); },
            [](const Stamp& s) { return s.year > 1950; }),
        makeTag({"ONEPERYEAR", "STR(YEAR,12,0)", 'C', 12, false, /*unique=*/true},
                [](const Stamp& s) {
                    return padded(std::string(8, ' ') + std::to_string(s.year), 12);
                }),
        makeTag({"LOWERC", "LOWER(COUNTRY)", 'C', 20},
                [](const Stamp& s) { return padded(lowerText(s.country), 20); }),
    };
}

std::vector<std::uint32_t> recnos(const ForeignTag& tag) {
    std::vector<std::uint32_t> out;
    for (const auto& e : tag.entries) out.push_back(e.second);
    return out;
}

class ForeignIndex : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");
    std::string mdxPath = dir.file("STAMPS.MDX");

    void write(const std::vector<ForeignTag>& tags) {
        std::vector<std::vector<std::string>> rows;
        for (std::size_t i = 0; i < kStamps.size(); ++i) {
            char date[9];
            std::snprintf(date, sizeof date, "%04d%02d%02d", kStamps[i].year, kStamps[i].month,
                          kStamps[i].day);
            rows.push_back({"r" + std::to_string(i + 1), kStamps[i].country,
                            std::to_string(kStamps[i].year), "", date});
        }
        createWithRows(path, sampleFields(), rows);
        patchBytes(path, 28, "\x01");  // the table has a production index
        writeFile(mdxPath, foreignMdx("STAMPS", tags));
    }
};

TEST_F(ForeignIndex, ReadingWorksWhateverTagsTheIndexHoldsAndWritesNothing) {
    std::vector<ForeignTag> tags = foreignTags();
    tags.push_back(countryTag());
    write(tags);
    const std::string dbfBefore = readFile(path), mdxBefore = readFile(mdxPath);
    for (OpenMode mode : {OpenMode::ReadOnly, OpenMode::Shared}) {
        Table t;
        ASSERT_NO_THROW(t.open(path, mode));
        EXPECT_EQ(t.indexNotice(), "");
        EXPECT_EQ(t.recordCount(), kStamps.size());
        const std::vector<TagInfo> info = t.tags();
        ASSERT_EQ(info.size(), tags.size());
        EXPECT_EQ(info[0].keyType, 'N');
        EXPECT_EQ(info[1].keyType, 'D');
        EXPECT_TRUE(info[2].descending);
        EXPECT_EQ(info[3].forExpression, "YEAR > 1950");
        EXPECT_TRUE(info[4].unique);
        // Each tag is walked as it stands: its own order, its own records.
        for (const ForeignTag& tag : tags) {
            SCOPED_TRACE(tag.name);
            t.selectIndex(tag.name);
            EXPECT_EQ(visitOrder(t), recnos(tag));
        }
        t.close();
        EXPECT_TRUE(readFile(path) == dbfBefore);
        EXPECT_TRUE(readFile(mdxPath) == mdxBefore);
    }
}

TEST_F(ForeignIndex, AChangeIsRefusedRatherThanLeaveATagItCannotKeepWrong) {
    for (const ForeignTag& tag : foreignTags()) {
        SCOPED_TRACE(tag.name);
        write({countryTag(), tag});
        const std::string mdxBefore = readFile(mdxPath);
        Table t;
        t.open(path, OpenMode::Shared);
        t.append();
        t.setText(kCountry, "Mali");
        try {
            t.post();
            ADD_FAILURE() << "the new record was posted";
        } catch (const EngineError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("tag " + tag.name + " (" + tag.expression + ")"),
                      std::string::npos)
                << message;
            EXPECT_NE(message.find("Rebuild Indexes drops"), std::string::npos) << message;
        }
        t.cancel();
        ASSERT_TRUE(t.goToRecord(3));
        t.edit();
        t.setText(kCountry, "Zaire");
        EXPECT_THROW(t.post(), EngineError);
        t.cancel();
        // Deleting changes no key: it is allowed and leaves the index alone.
        ASSERT_TRUE(t.goToRecord(4));
        t.deleteRecord();
        t.close();
        Table check;
        check.open(path, OpenMode::ReadOnly);
        EXPECT_EQ(check.physicalCount(), kStamps.size());
        EXPECT_EQ(check.record(3).text(kCountry), "Chad");
        EXPECT_TRUE(check.record(4).deleted());
        EXPECT_TRUE(readFile(mdxPath) == mdxBefore);
    }
}

TEST_F(ForeignIndex, RebuildIndexesKeepsTheTagsItCanBuildAndDropsTheRest) {
    std::vector<ForeignTag> tags = foreignTags();
    tags.push_back(countryTag());
    write(tags);
    const std::string mdxBefore = readFile(mdxPath);
    Table t;
    t.open(path, OpenMode::Exclusive);
    EXPECT_TRUE(readFile(mdxPath) == mdxBefore) << "an exclusive open rebuilt a sound index";
    std::vector<std::string> dropped;
    for (const TagInfo& tag : t.regenerateIndexes()) dropped.push_back(tag.name);
    EXPECT_EQ(dropped, (std::vector<std::string>{"YEAR", "BOUGHT", "CTRYDESC", "MODERN",
                                                 "ONEPERYEAR", "LOWERC"}));
    ASSERT_EQ(t.tags().size(), 1u);
    t.selectIndex("CTRY");
    EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
    appendRow(t, {"r11", "Mali"});  // every tag left can be kept up to date
    EXPECT_EQ(visitOrder(t), expectedUpperOrder(t, kCountry));
}

}  // namespace
}  // namespace engine
