// Comma-separated files as other programs write them: quoted text beside unquoted numbers, values
// of several lines, quotes inside values, and records left broken by an unclosed quote. The files
// in data/ were written by LibreOffice Calc and Python's csv module.
#include <gtest/gtest.h>

#include "engine/table.h"
#include "interchange/delimited_line_reader.h"
#include "interchange/import_run.h"
#include "interchange_test_support.h"

namespace interchange::testing {
namespace {

using Records = std::vector<std::vector<std::string>>;

struct ReadResult {
    Records records;
    std::vector<std::uint64_t> unreadableLines;
};

ReadResult readAll(const std::string& path, int fields) {
    DelimitedLineReader reader(path);
    ReadResult out;
    std::vector<std::string> values;
    while (!reader.atEnd()) {
        const int n = reader.readRecord(values, fields);
        if (n > 0) out.records.emplace_back(values.begin(), values.begin() + n);
        if (n < 0) out.unreadableLines.push_back(reader.recordLine());
    }
    return out;
}

std::string dataFile(const std::string& name) {
    return std::string(TESS_SOURCE_DIR) + "/tests/interchange/data/" + name;
}

class CsvReadingTest : public ::testing::Test {
  protected:
    ReadResult read(const std::string& bytes, int fields = 6) {
        return readAll(scratch_.write("in.csv", bytes), fields);
    }
    Scratch scratch_;
};

TEST_F(CsvReadingTest, UnquotedFieldsEndAtTheCommaAndQuotedOnesMayHoldLineBreaks) {
    const ReadResult got = read(
        "N1,\"France, Paris\",1950,12.5\r\n"
        "\"N2\",\"Line one\r\nLine two\",,0.99\r\n"
        "N3,5\" block,\"say \"\"hi\"\"\",\"a\nb\rc\"\n");
    EXPECT_TRUE(got.unreadableLines.empty());
    EXPECT_EQ(got.records,
              (Records{{"N1", "France, Paris", "1950", "12.5"},
                       {"N2", "Line one Line two", "", "0.99"},
                       {"N3", "5\" block", "say \"hi\"", "a b c"}}));
}

TEST_F(CsvReadingTest, AQuoteLeftOpenMakesOneLineUnreadableAndReadingGoesOn) {
    // Line 2 opens a quote it never closes: the line is named and the next record still reads.
    const ReadResult got = read(
        "\"1\",\"a\"\r\n"
        "\"2\",\"b\r\n"
        "\"3\",\"c\"\r\n"
        "\"4\",\"d\"\r\n"
        "\"5\",\"e\r\n");  // open to the end of the file
    EXPECT_EQ(got.records, (Records{{"1", "a"}, {"3", "c"}, {"4", "d"}}));
    EXPECT_EQ(got.unreadableLines, (std::vector<std::uint64_t>{2, 5}));
    // Line numbers count the lines inside values of several lines.
    const ReadResult multi = read("\"1\",\"x\ny\nz\"\n\"2\",\"b\n\"3\",\"c\"\n");
    EXPECT_EQ(multi.records, (Records{{"1", "x y z"}, {"3", "c"}}));
    EXPECT_EQ(multi.unreadableLines, (std::vector<std::uint64_t>{4}));
}

TEST_F(CsvReadingTest, AnImportNamesTheUnreadableLinesAndPostsNoJunk) {
    const std::string collection = scratch_.file("STAMPS.DBF");
    makeCollection(collection);
    engine::Table table;
    table.open(collection, engine::OpenMode::Shared);
    const std::string src = scratch_.write(
        "broken.txt", "\"Catalog\",\"Country\"\r\n\"A\",\"France\r\n\"B\",\"Chile\"\r\n");
    const ImportResult r = importText(table, src, 2, true, {1, 3}, {});
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.added, 1u);
    EXPECT_EQ(r.unreadable, 1u);
    EXPECT_EQ(unreadableLinesText(r),
              "Line 2 could not be read (a quote left open) and was left out.");
    ImportResult many;
    many.unreadable = 25;
    for (std::uint64_t i = 1; i <= kUnreadableLinesNamed; ++i) many.unreadableLines.push_back(i);
    const std::string text = unreadableLinesText(many);
    EXPECT_EQ(text.rfind("25 lines could not be read (a quote left open) and were left out: "
                         "lines 1, 2, 3, ",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find(", 19, 20 and 5 more."), std::string::npos) << text;
}

// What LibreOffice and Python wrote: one record a spreadsheet row, every value in its own field.
TEST_F(CsvReadingTest, FilesOfLibreOfficeAndPythonReadRowForRow) {
    const ReadResult lo = readAll(dataFile("libreoffice-quote-text-cells.csv"), 7);
    EXPECT_TRUE(lo.unreadableLines.empty());
    ASSERT_EQ(lo.records.size(), 6u);
    EXPECT_EQ(lo.records[1], (std::vector<std::string>{"SG1", "France", "1950", "12.50",
                                                        "03/15/1990", "Marianne, \"Ceres\" type",
                                                        "2"}));
    EXPECT_EQ(lo.records[2][1], "C\xC3\xB4te d'Ivoire");
    EXPECT_EQ(lo.records[2][3], "1,234.50");
    EXPECT_EQ(lo.records[2][5], "Line one Line two");
    EXPECT_EQ(lo.records[4], (std::vector<std::string>{"SG4", "Chile", "", "", "05/17/1930",
                                                       "Trailing space ", "0"}));
    EXPECT_EQ(lo.records[5][1], "Quote\"Inside");
    // Windows-1252, quotes only where needed.
    const ReadResult plain = readAll(dataFile("libreoffice-default.csv"), 7);
    ASSERT_EQ(plain.records.size(), 6u);
    EXPECT_EQ(plain.records[3][1], "\xC3\x96sterreich");
    EXPECT_EQ(plain.records[2][5], "Line one Line two");
    EXPECT_EQ(plain.records[2][6], "1");
    for (const char* name : {"python-quote-nonnumeric.csv", "python-quote-minimal.csv"}) {
        const ReadResult py = readAll(dataFile(name), 5);
        EXPECT_EQ(py.records, (Records{{"Catalog", "Country", "Year", "Market Value", "Quantity"},
                                       {"N1", "France", "1950", "12.5", "2"},
                                       {"N2", "Chile", "1890", "0.99", "1"}}))
            << name;
    }
}

// The first-line check still asks for a quoted first line: files whose titles stand unquoted are
// refused whole, never split; files with quoted titles pass.
TEST_F(CsvReadingTest, FirstLinesOfPeerFiles) {
    EXPECT_EQ(readFirstLine(dataFile("libreoffice-quote-text-cells.csv")).check,
              FirstLineCheck::Passed);
    EXPECT_EQ(readFirstLine(dataFile("python-quote-nonnumeric.csv")).names.size(), 5u);
    EXPECT_EQ(readFirstLine(dataFile("libreoffice-default.csv")).check,
              FirstLineCheck::UnclosedField);
    EXPECT_EQ(readFirstLine(dataFile("python-quote-minimal.csv")).check,
              FirstLineCheck::UnclosedField);
}

TEST_F(CsvReadingTest, ALibreOfficeFileImportsIntoTheRightFields) {
    const std::string collection = scratch_.file("STAMPS.DBF");
    makeCollection(collection);
    engine::Table table;
    table.open(collection, engine::OpenMode::Shared);
    ImportOptions options;
    options.dateFormat = {1, false};
    options.currentYear = 2026;
    // Catalog, Country, Year, Market Value, Date, Description, Quantity
    const ImportResult r = importText(table, dataFile("libreoffice-quote-text-cells.csv"), 7,
                                      true, {1, 3, 7, 5, 14, 2, 6}, options);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.added, 5u);
    std::vector<std::string> got;
    for (table.first(); !table.eof(); table.next()) {
        std::string row;
        for (const char* f : {"Catalog", "Country", "Year", "MarketValu", "Date", "Descriptio",
                              "Quantity"})
            row += table.text(table.requireField(f)) + "|";
        got.push_back(row);
    }
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{
                       "SG1|France|1950|12.5000|19900315|Marianne, \"Ceres\" type|2|",
                       "SG2|C\xC3\xB4te d'Ivoire|1960|1234.5000|20011231|Line one Line two|1|",
                       "SG3|\xC3\x96sterreich|1850|0.9900||Plain|10|",
                       "SG4|Chile|||19300517|Trailing space|0|",
                       "SG5|Quote\"Inside|2000|7.0000|20240229||3|",
                   }));
}

// Python's csv module in its three quoting modes, with a comment of two lines.
TEST_F(CsvReadingTest, PythonsThreeQuotingModesImportAlike) {
    if (!pythonHas("csv")) GTEST_SKIP() << "no /usr/bin/python3";
    for (const char* mode : {"QUOTE_ALL", "QUOTE_NONNUMERIC", "QUOTE_MINIMAL"}) {
        const std::string src = scratch_.file(std::string(mode) + ".txt");
        const PythonResult p = runPython(R"(
import csv, sys
with open(sys.argv[1], 'w', newline='', encoding='utf-8') as f:
    w = csv.writer(f, quoting=getattr(csv, sys.argv[2]))
    w.writerow(['Catalog', 'Comments', 'Year', 'Market Value'])
    w.writerow(['P1', 'Two lines:\nsecond, with "quotes"', 1898, 12500.75])
    w.writerow(['P2', '', 1930, ''])
)",
                                         {src, mode});
        ASSERT_EQ(p.exitCode, 0) << p.output;
        ReadResult got = readAll(src, 4);
        // A last field left empty after the last comma is the same as a field not there.
        for (auto& record : got.records) record.resize(4);
        EXPECT_TRUE(got.unreadableLines.empty()) << mode;
        EXPECT_EQ(got.records, (Records{{"Catalog", "Comments", "Year", "Market Value"},
                                        {"P1", "Two lines: second, with \"quotes\"", "1898",
                                         "12500.75"},
                                        {"P2", "", "1930", ""}}))
            << mode;
    }
}

}  // namespace
}  // namespace interchange::testing
