// The statistics behind the status bar, the window and the companion: exact amounts, blanks
// and missing years as groups of their own, the most valuable stamps, purchases over time,
// and the chart's top groups with "Other".
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>

#include "collection/search_criteria.h"
#include "collection/search_filter.h"
#include "collection/stamp_table_defs.h"
#include "engine/table.h"
#include "statistics/breakdown_rows.h"
#include "statistics/collection_scan.h"
#include "statistics/statistics_text.h"
#include "statistics/stored_amounts.h"

namespace statistics {
namespace {

TEST(StoredAmountsTest, ReadsStoredDigitsExactlyAndRoundsTotalsHalfAwayFromZero) {
    EXPECT_EQ(readAmount("             12.5000").tenThousandths, 125000);
    EXPECT_FALSE(readAmount("  0").blank);
    EXPECT_TRUE(readAmount("          ").blank);
    EXPECT_EQ(readAmount(" -0.0050").tenThousandths, -50);
    EXPECT_EQ(readAmount("1.23456").tenThousandths, 12346);  // a fifth decimal rounds
    EXPECT_EQ(readAmount("12.5x").tenThousandths, 125000);   // leading number, as the editor
    EXPECT_EQ(readAmount("*****").tenThousandths, 0);
    EXPECT_EQ(readAmount("1.5E+02").tenThousandths, 1500000);
    EXPECT_EQ(readAmount(" 99999999999999.9999").tenThousandths, 999999999999999999);
    EXPECT_EQ(readAmount("123456789012345.5").tenThousandths, 1234567890123455000);
    EXPECT_EQ(readQuantity("   12"), 12);
    EXPECT_EQ(readQuantity("     "), 0);
    EXPECT_EQ(readQuantity("  -3"), -3);

    EXPECT_EQ(totalCents(3, 50), 2);  // 3 x 0.005 = 0.015
    EXPECT_EQ(totalCents(3, -50), -2);
    EXPECT_EQ(totalCents(1, 49), 0);
    EXPECT_EQ(totalCents(-7, 12345), -864);  // -8.6415
    EXPECT_EQ(totalCents(99999, 99999999999999), 99998999999999000);  // beyond 64 bits on the way
}

TEST(StoredAmountsTest, MoneyFromCentsInEitherFormatWithoutLosingACent) {
    collection::RegionalSettings regional;
    regional.decimal = u',';
    regional.thousands = u'.';
    regional.currencyDigits = 0;
    // Beyond what a double holds to the cent.
    EXPECT_EQ(moneyText(1234567890123456789, 1, regional), "12,345,678,901,234,567.89");
    EXPECT_EQ(moneyText(-5, 1, regional), "-0.05");
    EXPECT_EQ(moneyText(0, 1, regional), "0.00");
    EXPECT_EQ(moneyText(123456750, 2, regional), "1.234.568");  // no decimals: rounded
    EXPECT_EQ(moneyText(-40, 2, regional), "0");                // rounds to zero: no sign
    regional.currencyDigits = 3;
    EXPECT_EQ(moneyText(123456, 2, regional), "1.234,560");
    EXPECT_EQ(countText(1234567, 2, regional), "1.234.567");
    EXPECT_EQ(countText(-1234, 1, regional), "-1,234");
    EXPECT_EQ(plainCents(-123456), "-1234.56");
    EXPECT_EQ(plainCents(7), "0.07");
}

// A collection written through the engine, one record a row of (field name, text).
class StatisticsTableTest : public ::testing::Test {
  protected:
    using Row = std::map<std::string, std::string>;

    void SetUp() override {
        path = dir.filePath("STAMPS.DBF").toStdString();
        engine::Table::create(path, collection::stampTableFieldDefs());
    }

    void write(const std::vector<Row>& rows, const std::vector<std::uint32_t>& deleted = {}) {
        engine::Table t;
        t.open(path, engine::OpenMode::Exclusive);
        for (const Row& row : rows) {
            t.append();
            for (const auto& [name, text] : row) t.setText(name, text);
            t.post();
        }
        for (std::uint32_t recno : deleted) {
            ASSERT_TRUE(t.goToRecord(recno));
            t.deleteRecord();
        }
    }

    CollectionStatistics all(const collection::SearchFilter* filter = nullptr) {
        CollectionStatistics::Options options;
        options.breakdowns = {kBreakdowns.begin(), kBreakdowns.end()};
        options.mostValuable = 2;
        options.purchases = true;
        return scanCollection(path, filter, options);
    }

    static std::map<std::string, Tally> byName(const std::vector<GroupTally>& groups) {
        std::map<std::string, Tally> out;
        for (const GroupTally& g : groups) out[g.name] = g.tally;
        return out;
    }

    QTemporaryDir dir;
    std::string path;
};

TEST_F(StatisticsTableTest, SummaryAndBreakdownsKeepBlanksAndMissingYears) {
    write({{{"Country", "France"}, {"Quantity", "2"}, {"MarketValu", "1.25"}, {"Cost", "0.50"},
            {"Year", "1953"}, {"Wanted", "YES"}, {"Date", "19990105"}},
           {{"Country", "France"}, {"Quantity", "1"}, {"MarketValu", "10"}, {"Year", "1958"},
            {"Date", "19980101"}},
           {{"Country", "FRANCE"}, {"Quantity", "3"}, {"Cost", "0.33"}, {"Year", "0"}},
           {{"Country", ""}, {"Quantity", "1"}, {"MarketValu", "100"}, {"Year", "1840"},
            {"Date", "19980101"}},
           {{"Country", "Österreich"}, {"Quantity", "5"}, {"MarketValu", "1000"},
            {"Year", "1850"}},
           {{"Country", "Italy"}, {"Quantity", "1"}, {"MarketValu", "7"}, {"Year", "2001"}}},
          {5});  // Österreich deleted
    const CollectionStatistics s = all();
    const Summary& sum = s.summary();
    EXPECT_EQ(sum.total, (Tally{5, 8, 250 + 1000 + 10000 + 700, 100 + 99}));
    EXPECT_EQ(sum.total.gainCents(), 11950 - 199);
    EXPECT_EQ(sum.wanted, 1);
    EXPECT_EQ(sum.withoutValue, 1);
    EXPECT_EQ(sum.oldestYear, 1840);
    EXPECT_EQ(sum.newestYear, 2001);

    const auto countries = byName(s.groups(Breakdown::Country));
    ASSERT_EQ(countries.size(), 4u);  // letter case counts, as in a GROUP BY
    EXPECT_EQ(countries.at("France"), (Tally{2, 3, 1250, 100}));
    EXPECT_EQ(countries.at("FRANCE").stamps, 1);
    EXPECT_EQ(countries.at(kBlankGroup), (Tally{1, 1, 10000, 0}));
    const auto decades = byName(s.groups(Breakdown::Decade));
    EXPECT_EQ(decades.at("1950s").stamps, 2);
    EXPECT_EQ(decades.at("1840s").stamps, 1);
    EXPECT_EQ(decades.at(kNoYearGroup).stamps, 1);
    EXPECT_EQ(byName(s.groups(Breakdown::Topic)).at(kBlankGroup).stamps, 5);
    for (Breakdown b : kBreakdowns) EXPECT_EQ(totalOf(s.groups(b)), sum.total);

    const auto top = s.mostValuable();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].recNo, 4u);
    EXPECT_EQ(top[1].recNo, 2u);
    EXPECT_EQ(top[1].country, "France");

    const Purchases p = s.purchases();
    EXPECT_EQ(p.undated, 2);
    ASSERT_EQ(p.points.size(), 2u);
    EXPECT_EQ(p.points[0].date, 19980101);
    EXPECT_EQ(p.points[0].valueCents, 11000);
    EXPECT_EQ(p.points[1].valueCents, 11250);
    EXPECT_EQ(p.points[1].costCents, 100);

    // A search narrows every figure.
    collection::SearchCriteria criteria;
    ASSERT_EQ(collection::addSearchLevel(criteria, {{3, collection::kOpEqual, "fra"}},
                                         collection::DateFormat{1, false})
                  .status,
              collection::LevelResult::Added);
    const collection::SearchFilter filter(criteria, [&] {
        engine::Table t;
        t.open(path, engine::OpenMode::ReadOnly);
        return t.fields();
    }(), engine::CodePage::Cp1252);
    const CollectionStatistics narrowed = all(&filter);
    EXPECT_EQ(narrowed.summary().total.stamps, 3);
    EXPECT_EQ(narrowed.summary().total.valueCents, 1250);
    EXPECT_EQ(narrowed.groups(Breakdown::Country).size(), 2u);
}

TEST(BreakdownRowsTest, ChartShowsTopGroupsAndOtherAddingUpToTheTotal) {
    std::vector<GroupTally> groups;
    for (int i = 0; i < 20; ++i)
        groups.push_back({"G" + std::to_string(i), Tally{i + 1, i, (i % 7) * 1000, 5}});
    const Tally total = totalOf(groups);
    const auto slices = chartSlices(groups, Measure::Value);
    ASSERT_EQ(slices.size(), 16u);
    EXPECT_EQ(slices.back().name, kOtherGroup);
    EXPECT_EQ(totalOf(slices), total);
    EXPECT_EQ(slices.front().tally.valueCents, 6000);
    for (std::size_t i = 1; i < 15; ++i)
        EXPECT_GE(slices[i - 1].tally.valueCents, slices[i].tally.valueCents);
    EXPECT_EQ(chartSlices(std::vector<GroupTally>(groups.begin(), groups.begin() + 15),
                          Measure::Stamps)
                  .size(),
              15u);

    sortGroups(groups, Column::Gain, true);
    EXPECT_EQ(groups.front().tally.gainCents(), 5995);
    sortGroups(groups, Column::Name, false);
    EXPECT_EQ(groups.front().name, "G0");
    EXPECT_EQ(shareBasisPoints(1, 3), 3333);
    EXPECT_EQ(shareBasisPoints(2, 3), 6667);
    EXPECT_EQ(shareBasisPoints(5, 0), 0);
    EXPECT_EQ(breakdownCsv({{"Paris, \"Ville\"", Tally{1, 2, 150, 200}}}, "Country"),
              "Country,Stamps,Copies,Market Value,Purchase Price,Gain,Share of Value %\n"
              "\"Paris, \"\"Ville\"\"\",1,2,1.50,2.00,-0.50,100.00\n");
}

TEST(CollectionStatisticsTest, AMillionStampsSumToTheCent) {
    // Records built in memory: Quantity N(5,0) then MarketValu N(12,2).
    std::vector<engine::FieldInfo> fields(2);
    fields[0].name = "QUANTITY";
    fields[0].type = engine::FieldType::Numeric;
    fields[0].length = 5;
    fields[0].offset = 1;
    fields[1].name = "MARKETVALU";
    fields[1].type = engine::FieldType::Numeric;
    fields[1].length = 12;
    fields[1].decimals = 2;
    fields[1].offset = 6;
    CollectionStatistics s(fields, engine::CodePage::Cp1252, {});
    const char record[] = "     3        0.07";
    double floating = 0;
    for (std::uint32_t r = 1; r <= 1000000; ++r) {
        s.add(engine::RecordView(record, &fields, engine::CodePage::Cp1252, r));
        floating += 3 * 0.07;
    }
    EXPECT_EQ(s.summary().total.valueCents, 21000000);
    EXPECT_EQ(s.summary().total.copies, 3000000);
    EXPECT_NE(floating, 210000.0);  // what summing doubles would have shown
}

}  // namespace
}  // namespace statistics
