#include "collection/search_criteria.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "collection/search_filter.h"
#include "collection/stamp_table_defs.h"
#include "engine/table.h"

namespace {

using collection::LevelResult;
using collection::SearchCriteria;
using collection::SearchRowInput;

constexpr int kCatalog = 1, kCountry = 3, kYear = 7, kTopic = 13, kDate = 14, kCost = 15;

const collection::DateFormat kMdy{7, false};  // mm/dd/yyyy

LevelResult addLevel(SearchCriteria& c, std::vector<SearchRowInput> rows) {
    return collection::addSearchLevel(c, rows, kMdy);
}

TEST(SearchCriteriaTest, CellsConvertOnceWithTheirOperator) {
    SearchCriteria c;
    ASSERT_EQ(addLevel(c, {{kCountry, 1, "  fra "},
                           {kYear, 4, "> 1900      AND < 1950    "},
                           {kCost, 2, "> 2.5"},
                           {kDate, 3, "< 01/02/1950"}})
                  .status,
              LevelResult::Added);
    const auto& items = c.items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].text, "FRA");
    EXPECT_EQ(items[0].test, collection::SearchTest::Contains);
    EXPECT_EQ(items[1].test, collection::SearchTest::Greater);
    EXPECT_EQ(items[1].value, 1900);
    EXPECT_EQ(items[2].test, collection::SearchTest::Less);
    EXPECT_EQ(items[2].value, 1950);
    EXPECT_EQ(items[3].value, 2.5);
    EXPECT_TRUE(items[4].isDate);
    EXPECT_EQ(items[4].value, 19500102);
    EXPECT_TRUE(items[4].endOfLevel);
    EXPECT_FALSE(items[3].endOfLevel);
    EXPECT_EQ(c.levels(), 1);
}

TEST(SearchCriteriaTest, EmptyCellsAndMaskTextsAddNothing) {
    SearchCriteria c;
    EXPECT_EQ(addLevel(c, {{kYear, 1, "=          "},
                           {kDate, 1, "=   /  /    "},
                           {kDate, 4, ">   /  /     AND <   /  /    "},
                           {kYear, 4, ">           AND <         "},
                           {kCountry, 1, "   "}})
                  .status,
              LevelResult::NoCriteria);
    EXPECT_TRUE(c.empty());
}

TEST(SearchCriteriaTest, RefusedLevelKeepsEarlierLevelsOnly) {
    SearchCriteria c;
    ASSERT_EQ(addLevel(c, {{kCountry, 1, "Italy"}}).status, LevelResult::Added);
    // Half-filled range, an unreadable number and an impossible date: each drops the level.
    for (const SearchRowInput& bad : std::vector<SearchRowInput>{{kYear, 4, "> 1900 AND <"},
                                                                 {kYear, 4, "> AND < 1950"},
                                                                 {kYear, 1, "= 19x0"},
                                                                 {kDate, 2, "> 02/30/1950"}}) {
        const LevelResult r = addLevel(c, {{kCountry, 1, "France"}, bad});
        EXPECT_EQ(r.status, LevelResult::Invalid) << bad.text.toStdString();
        EXPECT_EQ(r.failedRow, 1);
        EXPECT_EQ(c.count(), 1);
    }
}

TEST(SearchCriteriaTest, TheSeventySixthCriterionClearsTheSearch) {
    SearchCriteria c;
    for (int level = 0; level < 3; ++level) {
        std::vector<SearchRowInput> rows;
        for (int i = 0; i < 25; ++i) rows.push_back({kCountry, 1, "x"});
        ASSERT_EQ(addLevel(c, rows).status, LevelResult::Added);
    }
    EXPECT_EQ(c.count(), 75);
    EXPECT_EQ(addLevel(c, {{kTopic, 1, "birds"}}).status, LevelResult::TooMany);
    EXPECT_TRUE(c.empty());
}

TEST(SearchCriteriaTest, OperatorFromTypedText) {
    EXPECT_EQ(collection::operatorFromText("1950"), collection::kOpEqual);
    EXPECT_EQ(collection::operatorFromText(" > 1900"), collection::kOpGreater);
    EXPECT_EQ(collection::operatorFromText("<1900"), collection::kOpLess);
    EXPECT_EQ(collection::operatorFromText("> 1900 and < 1950"), collection::kOpRange);
}

// The record test on a real table of the stamp schema.
class SearchFilterTest : public ::testing::Test {
  protected:
    struct Stamp {
        const char* catalog;
        const char* country;
        const char* year;  // "" blank
        const char* date;  // YYYYMMDD or "" blank
        const char* topic;
    };
    void SetUp() override {
        path = dir.filePath("S.DBF").toStdString();
        engine::Table::create(path, collection::stampTableFieldDefs());
        table.open(path, engine::OpenMode::Shared);
        const Stamp stamps[] = {
            {"1", "France", "1900", "19491231", "Birds"},
            {"2", "South Africa", "1901", "19500101", ""},
            {"3", "FRANCE", "1949", "", "birds of prey"},
            {"4", "Italy", "1950", "19600101", ""},
            {"5", "Italy", "", "19300101", "Ships"},
            {"6", "\xC3\x96sterreich", "1920", "", ""},
        };
        for (const Stamp& s : stamps) {
            table.append();
            table.setText("Catalog", s.catalog);
            table.setText("Country", s.country);
            table.setText("Year", s.year);
            table.setText("Date", s.date);
            table.setText("Topic", s.topic);
            table.post();
        }
    }

    // Catalog numbers of the records that pass, in record order.
    std::string passing(const std::vector<std::vector<SearchRowInput>>& levels) {
        SearchCriteria c;
        for (const auto& level : levels) EXPECT_EQ(addLevel(c, level).status, LevelResult::Added);
        table.setFilter(collection::SearchFilter(c, table));
        std::string out;
        for (table.first(); !table.eof(); table.next()) out += table.text(kCatalog - 1);
        table.clearFilter();
        return out;
    }

    QTemporaryDir dir;
    std::string path;
    engine::Table table;
};

TEST_F(SearchFilterTest, TextContainsInAnyCase) {
    EXPECT_EQ(passing({{{kCountry, 1, "fra"}}}), "13");
    EXPECT_EQ(passing({{{kCountry, 1, "fr"}}}), "123");        // anywhere in the text
    EXPECT_EQ(passing({{{kCountry, 1, "\xC3\xB6st"}}}), "6");  // cp1252 letters upper-cased too
    EXPECT_EQ(passing({{{kCountry, 1, "\xE2\x82\xAC"}}}), "");
}

TEST_F(SearchFilterTest, NumberAndDateComparisons) {
    EXPECT_EQ(passing({{{kYear, 4, "> 1900 AND < 1950"}}}), "236");
    EXPECT_EQ(passing({{{kYear, 1, "= 1950"}}}), "4");
    // A blank year has no value: it passes no number test.
    EXPECT_EQ(passing({{{kYear, 3, "< 1950"}}}), "1236");
    // A blank date counts as 0, before every date.
    EXPECT_EQ(passing({{{kDate, 3, "< 01/01/1950"}}}), "1356");
    EXPECT_EQ(passing({{{kDate, 2, "> 12/31/1949"}}}), "24");
}

TEST_F(SearchFilterTest, LevelsJoinWithOrAndCriteriaWithAnd) {
    EXPECT_EQ(passing({{{kCountry, 1, "france"}, {kYear, 1, "= 1949"}}}), "3");
    EXPECT_EQ(passing({{{kCountry, 1, "france"}, {kYear, 1, "= 1949"}}, {{kCountry, 1, "italy"}}}),
              "345");
    EXPECT_EQ(passing({{{kYear, 1, "= 1"}}, {{kTopic, 1, "BIRD"}}}), "13");
    table.setFilter(collection::SearchFilter());
    EXPECT_EQ(table.recordCount(), 0u);
}

}  // namespace
