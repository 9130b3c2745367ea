// The companion's criterion arguments and `tessellon-cli search`, checked against the sqlite3
// shell on the benchmarks' synthetic collection.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <sstream>

#include "../../bench/bench_data.h"
#include "cli/cli_commands.h"
#include "sqlite_script.h"
#include "cli/cli_criteria.h"
#include "collection/stamp_table_defs.h"
#include "engine/table.h"

namespace {

cli::FieldLabels defaultLabels() {
    cli::FieldLabels labels;
    for (int n = 1; n <= collection::kFieldCount; ++n)
        labels[std::size_t(n - 1)] = QString::fromLatin1(collection::schemaField(n).label.data(),
                                                         collection::schemaField(n).label.size());
    return labels;
}

cli::CriteriaParse parse(const std::vector<std::string>& args,
                         cli::FieldLabels labels = defaultLabels()) {
    return cli::parseCriteria(args, labels, collection::DateFormat{1, false});
}

TEST(CliCriteriaTest, FieldsByLabelOrNameAndLevelsByOr) {
    cli::FieldLabels labels = defaultLabels();
    labels[1] = "Where:~From";  // a label holding a colon and a tilde
    const cli::CriteriaParse p =
        parse({"country:fra", "Year:> 1900 AND < 1950", "--or", "Where: From:Paris: 1900",
               "DESCRIPTIO:x", "Purchase Price:< 2", "--or", "Date:< 01/01/1950"},
              labels);
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    const auto& c = p.criteria.items();
    ASSERT_EQ(c.size(), 7u);
    EXPECT_EQ(p.criteria.levels(), 3);
    EXPECT_EQ(c[0].field, 3);
    EXPECT_EQ(c[1].value, 1900);
    EXPECT_EQ(c[2].value, 1950);
    EXPECT_TRUE(c[2].endOfLevel);
    EXPECT_EQ(c[3].field, 2);
    EXPECT_EQ(c[3].text, "PARIS: 1900");
    EXPECT_EQ(c[4].field, 2);
    EXPECT_EQ(c[5].field, 15);
    EXPECT_EQ(c[5].test, collection::SearchTest::Less);
    EXPECT_TRUE(c[6].isDate);
    EXPECT_EQ(c[6].value, 19500101);
}

TEST(CliCriteriaTest, RefusalsNameTheArgumentAndKeepNothing) {
    EXPECT_TRUE(parse({}).ok());
    EXPECT_TRUE(parse({}).criteria.empty());
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"Nowhere:x"}, "Not a criterion"},
        {{"Country"}, "Not a criterion"},
        {{"Country:fra", "Year:> 1900 AND"}, "Invalid search criterion: Year:> 1900 AND"},
        {{"Date:31/12/1950"}, "Invalid search criterion"},
        {{"Country:fra", "--or"}, "No search criteria"},
        {{"Country:   "}, "No search criteria"},
    };
    for (const auto& c : cases) {
        const cli::CriteriaParse p = parse(c.args);
        EXPECT_TRUE(p.error.startsWith(c.error)) << p.error.toStdString();
        EXPECT_TRUE(p.criteria.empty());
    }
    std::vector<std::string> eleven;
    for (int i = 0; i < 11; ++i) {
        if (i) eleven.push_back("--or");
        eleven.push_back("Country:x");
    }
    EXPECT_TRUE(parse(eleven).error.contains("10 search levels"));
}

// The same synthetic stamps in a collection and in sqlite; each query's passing records (their
// catalog texts and numbers, in record order) must be the same on both sides.
class CliSearchTest : public ::testing::Test {
  protected:
    static constexpr std::uint32_t kRecords = 4000;

    void SetUp() override {
        if (QStandardPaths::findExecutable("sqlite3").isEmpty()) GTEST_SKIP() << "no sqlite3";
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
        dbf = dir.filePath("STAMPS.DBF").toStdString();
        const bench::SyntheticCollection data(kRecords, 20261207);
        engine::Table::create(dbf, collection::stampTableFieldDefs());
        engine::Table t;
        t.open(dbf, engine::OpenMode::Exclusive);
        for (std::uint32_t r = 0; r < data.size(); ++r) {
            t.append();
            for (int f = 0; f < bench::kStampFieldCount; ++f) t.setText(f, data.field(r, f));
            t.post();
        }
        t.close();
        const std::string csv = dir.filePath("stamps.csv").toStdString();
        data.writeCsv(csv);
        sqlite = dir.filePath("stamps.sqlite").toStdString();
        sql(bench::sqliteCreateTable() + ".import --csv --skip 1 \"" + csv + "\" stamps\n");
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    std::string sql(const std::string& script) {
        return cli::testing::runSqliteScript(sqlite, script);
    }

    // "Catalog|CatalogI" of each record the companion prints.
    std::string searched(std::vector<std::string> criteria) {
        criteria.insert(criteria.begin(), {"search", dbf});
        std::ostringstream out, err;
        EXPECT_EQ(cli::runCli(criteria, out, err), 0) << err.str();
        std::istringstream lines(out.str());
        std::string line, keys;
        while (std::getline(lines, line)) {
            std::vector<std::string> fields;
            std::string field;
            bool quoted = false;
            for (std::size_t i = 0; i < line.size(); ++i) {
                const char ch = line[i];
                if (ch == '"') {
                    if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        ++i;
                    } else {
                        quoted = !quoted;
                    }
                } else if (ch == ',' && !quoted) {
                    fields.push_back(field);
                    field.clear();
                } else {
                    field += ch;
                }
            }
            fields.push_back(field);
            keys += fields.at(0) + "|" + fields.at(20) + "\n";
        }
        return keys;
    }

    std::string selected(const std::string& where) {
        return sql("SELECT Catalog || '|' || CatalogI FROM stamps WHERE " + where +
                   " ORDER BY rowid;\n");
    }

    QTemporaryDir dir;
    std::string dbf, sqlite;
};

TEST_F(CliSearchTest, AgreesWithSqliteRecordForRecord) {
    const struct {
        std::vector<std::string> criteria;
        std::string where;
    } queries[] = {
        {{"Country:fra"}, "instr(upper(Country), 'FRA') > 0"},
        {{"Country:fra", "Year:> 1900 AND < 1950", "--or", "Topic:bird"},
         "(instr(upper(Country), 'FRA') > 0 AND Year > 1900 AND Year < 1950) OR "
         "instr(upper(Topic), 'BIRD') > 0"},
        {{"Date:< 01/01/1960"}, "Date < '19600101'"},
        {{"Purchase Price:> 79.5", "Wanted:yes"}, "Cost > 79.5 AND Wanted = 'Yes'"},
        {{"Year:= 1900", "--or", "CatalogI:< 50", "--or", "Description:perf 14", "Faults:thin"},
         "Year = 1900 OR CatalogI < 50 OR (instr(upper(Descriptio), 'PERF 14') > 0 AND "
         "instr(upper(Faults), 'THIN') > 0)"},
        {{"Date:> 12/31/2020 AND < 03/01/2021"}, "Date > '20201231' AND Date < '20210301'"},
    };
    for (const auto& q : queries) {
        const std::string expected = selected(q.where);
        EXPECT_FALSE(expected.empty()) << q.where;
        EXPECT_EQ(searched(q.criteria), expected) << q.where;
    }
    std::ostringstream out, err;
    ASSERT_EQ(cli::runCli({"search", dbf, "--count", "Country:fra"}, out, err), 0);
    EXPECT_EQ(out.str(),
              sql("SELECT count(*) FROM stamps WHERE instr(upper(Country), 'FRA') > 0;\n"));
}

}  // namespace
