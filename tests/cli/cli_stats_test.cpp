// `tessellon-cli stats` against the sqlite3 shell on the benchmarks' synthetic stamps, with
// blank countries, deleted records and a search-narrowed view; and its arguments.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "../../bench/bench_data.h"
#include "cli_run.h"
#include "sqlite_script.h"
#include "collection/stamp_table_defs.h"
#include "engine/table.h"

namespace {

using cli::testing::run;

class CliStatsTest : public ::testing::Test {
  protected:
    static constexpr std::uint32_t kRecords = 3000;
    static constexpr int kCountry = 2, kMarketValue = 4, kQuantity = 5, kYear = 6, kCost = 14;

    void SetUp() override {
        if (QStandardPaths::findExecutable("sqlite3").isEmpty()) GTEST_SKIP() << "no sqlite3";
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
        dbf = dir.filePath("STAMPS.DBF").toStdString();
        const bench::SyntheticCollection data(kRecords, 20261207);
        engine::Table::create(dbf, collection::stampTableFieldDefs());
        engine::Table t;
        t.open(dbf, engine::OpenMode::Exclusive);
        std::string csv = "Country,Quantity,MarketValu,Cost,Year\n";
        for (std::uint32_t r = 0; r < data.size(); ++r) {
            t.append();
            for (int f = 0; f < bench::kStampFieldCount; ++f) t.setText(f, data.field(r, f));
            // Every seventh stamp has no country; every thirteenth is stored with blanks only.
            std::string country(data.field(r, kCountry));
            if (r % 7 == 3) country.clear();
            t.setText(kCountry, r % 13 == 4 ? "   " : country);
            if (r % 13 == 4) country.clear();
            t.post();
            // Every eleventh is deleted: neither side counts it.
            if (r % 11 == 5) {
                t.deleteRecord();
                continue;
            }
            csv += "\"" + country + "\"," + std::string(data.field(r, kQuantity)) + "," +
                   std::string(data.field(r, kMarketValue)) + "," +
                   std::string(data.field(r, kCost)) + "," + std::string(data.field(r, kYear)) +
                   "\n";
        }
        t.close();
        const std::string csvPath = dir.filePath("stamps.csv").toStdString();
        std::ofstream(csvPath) << csv;
        sqlite = dir.filePath("stamps.sqlite").toStdString();
        sql("CREATE TABLE stamps(Country TEXT, Quantity INTEGER, MarketValu REAL, Cost REAL, "
            "Year INTEGER);\n.import --csv --skip 1 \"" + csvPath + "\" stamps\n");
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    std::string sql(const std::string& script) {
        return cli::testing::runSqliteScript(sqlite, script);
    }

    // "group,stamps,copies,value,cost,gain" lines of sqlite's GROUP BY, sorted.
    std::string grouped(const std::string& where) {
        const std::string cents = "sum(Quantity * CAST(round(%s * 100) AS INTEGER))";
        auto sum = [&](const char* column) {
            std::string s = cents;
            s.replace(s.find("%s"), 2, column);
            return s;
        };
        auto money = [](const std::string& c) { return "printf('%.2f', (" + c + ") / 100.0)"; };
        const std::string out = sql(
            ".mode list\n.separator ,\nSELECT CASE WHEN trim(Country) = '' THEN '(blank)' ELSE "
            "Country END AS g, count(*), sum(Quantity), " +
            money(sum("MarketValu")) + ", " + money(sum("Cost")) + ", " +
            money(sum("MarketValu") + " - " + sum("Cost")) + " FROM stamps " + where +
            " GROUP BY g;\n");
        return sortedLines(out, false);
    }

    // The CSV lines without the heading and the share column, sorted.
    static std::string sortedLines(const std::string& text, bool companion) {
        std::istringstream in(text);
        std::vector<std::string> lines;
        std::string line;
        bool first = companion;
        while (std::getline(in, line)) {
            if (first) {
                first = false;
                continue;
            }
            if (companion) line.erase(line.rfind(','));
            lines.push_back(line);
        }
        std::sort(lines.begin(), lines.end());
        std::string joined;
        for (const std::string& l : lines) joined += l + "\n";
        return joined;
    }

    QTemporaryDir dir;
    std::string dbf, sqlite;
};

TEST_F(CliStatsTest, ByCountryAgreesWithSqliteGroupForGroupToTheCent) {
    const auto all = run({"stats", dbf, "--by", "Country", "--csv"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out.substr(0, all.out.find('\n')),
              "Country,Stamps,Copies,Market Value,Purchase Price,Gain,Share of Value %");
    const std::string expected = grouped("");
    EXPECT_NE(expected.find("(blank),"), std::string::npos);
    EXPECT_EQ(sortedLines(all.out, true), expected);

    // Narrowed by a search: the criteria of `search`.
    const auto narrowed =
        run({"stats", dbf, "--by", "country", "--csv", "Year:> 1900 AND < 1950", "--or",
             "Country:fra"});
    ASSERT_EQ(narrowed.status, 0) << narrowed.err;
    EXPECT_EQ(sortedLines(narrowed.out, true),
              grouped("WHERE (Year > 1900 AND Year < 1950) OR instr(upper(Country), 'FRA') > 0"));
}

TEST_F(CliStatsTest, SummaryTotalsAgreeWithSqlite) {
    const auto summary = run({"stats", dbf, "--csv"});
    ASSERT_EQ(summary.status, 0) << summary.err;
    const std::string totals = sql(
        ".mode list\n.separator ,\nSELECT count(*), sum(Quantity), printf('%.2f', "
        "sum(Quantity * CAST(round(MarketValu * 100) AS INTEGER)) / 100.0), printf('%.2f', "
        "sum(Quantity * CAST(round(Cost * 100) AS INTEGER)) / 100.0), min(Year), max(Year) "
        "FROM stamps;\n");
    std::istringstream in(totals);
    std::string stamps, copies, value, cost, oldest, newest;
    std::getline(in, stamps, ',');
    std::getline(in, copies, ',');
    std::getline(in, value, ',');
    std::getline(in, cost, ',');
    std::getline(in, oldest, ',');
    std::getline(in, newest);
    EXPECT_NE(summary.out.find("\nStamps," + stamps + "\n"), std::string::npos) << summary.out;
    EXPECT_NE(summary.out.find("\nCopies," + copies + "\n"), std::string::npos);
    EXPECT_NE(summary.out.find("\nMarket Value," + value + "\n"), std::string::npos);
    EXPECT_NE(summary.out.find("\nPurchase Price," + cost + "\n"), std::string::npos);
    EXPECT_NE(summary.out.find("\nOldest Year," + oldest + "\n"), std::string::npos);
    EXPECT_NE(summary.out.find("\nNewest Year," + newest + "\n"), std::string::npos);

    // The text form says which records it covers and uses the number formats.
    const auto text = run({"stats", dbf, "Country:fra"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.rfind("The stamps of the current search\n", 0), 0u) << text.out;
    EXPECT_NE(text.out.find("Market Value:"), std::string::npos);
}

TEST_F(CliStatsTest, RefusesUnknownFieldsAndBadCriteria) {
    auto r = run({"stats", dbf, "--by", "Description"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Not a field statistics are broken down by: Description"),
              std::string::npos);
    r = run({"stats", dbf, "--by"});
    EXPECT_EQ(r.status, 2);
    r = run({"stats", dbf, "Nowhere:x"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Not a criterion"), std::string::npos);
    r = run({"stats", dir.filePath("MISSING.DBF").toStdString()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Error: "), std::string::npos);
}

}  // namespace
