// Import and export runs on real collection files: values land in the fields they are assigned
// to, conversions apply, failures keep what was posted, and export writes what the table shows.
#include <gtest/gtest.h>

#include "engine/error.h"
#include "engine/table.h"
#include "interchange/export_fields.h"
#include "interchange/export_run.h"
#include "interchange/import_assignment.h"
#include "interchange/import_run.h"
#include "interchange_test_support.h"

namespace interchange::testing {
namespace {

class RunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        options_.dateFormat = {7, false};  // m/d/yyyy
        options_.currentYear = 2024;
    }
    std::string field(const char* name) { return table_.text(table_.requireField(name)); }

    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    engine::Table table_;
    ImportOptions options_;
};

TEST_F(RunTest, TextImportPutsEachValueWhereItsRowSays) {
    const std::string src =
        scratch_.write("in.txt",
                       "\"Land\",\"Nr\",\"Qty\",\"Bought\",\"Price\",\"Note\"\r\n"
                       "\"France\",\"A-1\",\"12 pieces\",\"3/7/1997\",\"12.5\",\"dropped\"\r\n"
                       "\r\n"
                       "\"Spain\",\"B-2\",\"\",\"March 1997\",\"x\",\"dropped\"\r\n");
    // Import field 0 -> Country (3), 1 -> Catalog (1), 2 -> Quantity (6), 3 -> Date (14),
    // 4 -> Cost (15), 5 -> none.
    const FieldAssignment assignment = {3, 1, 6, 14, 15, 0};
    std::vector<std::uint64_t> counts;
    options_.progress = [&](std::uint64_t n) { counts.push_back(n); };
    const ImportResult r = importText(table_, src, 6, true, assignment, options_);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.added, 2u);
    EXPECT_EQ(counts, (std::vector<std::uint64_t>{1, 2}));
    table_.first();
    EXPECT_EQ(field("Country"), "France");
    EXPECT_EQ(field("Catalog"), "A-1");
    EXPECT_EQ(field("Quantity"), "12");
    EXPECT_EQ(field("Date"), "19970307");
    EXPECT_EQ(field("Cost"), "12.5000");
    EXPECT_EQ(field("Descriptio"), "");
    table_.next();
    EXPECT_EQ(field("Country"), "Spain");
    EXPECT_EQ(field("Quantity"), "");   // an empty value leaves the number blank
    EXPECT_EQ(field("Date"), "");       // month spelled out: left empty, the run goes on
    EXPECT_EQ(field("Cost"), "0.0000");
}

TEST_F(RunTest, TextTheCodePageCannotHoldIsStoredWithStandInsAndCounted) {
    const std::string src =
        scratch_.write("in.txt",
                       "\"\xC5\x81\xC3\xB3"
                       "d\xC5\xBA\"\r\n\"\xC3\x96sterreich\"\r\n\"\xE6\x97\xA5\"\r\n");
    const ImportResult r = importText(table_, src, 1, false, {3}, options_);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.added, 3u);
    EXPECT_EQ(r.valuesChanged, 2u);  // "Łódź" and "日"; "Österreich" fits
    table_.first();
    EXPECT_EQ(field("Country"),
              "?\xC3\xB3"
              "d?");
    // Stand-ins were for the run only: typed text is refused again afterwards.
    table_.append();
    EXPECT_THROW(table_.setText(table_.requireField("Country"), "\xC5\x81"), engine::EngineError);
    table_.cancel();
}

TEST_F(RunTest, WithoutSkipTheFirstLineIsDataToo) {
    const std::string src = scratch_.write("in.txt", "\"Title\"\r\n\"Value\"\r\n");
    const ImportResult r = importText(table_, src, 1, false, {2}, options_);
    EXPECT_EQ(r.added, 2u);
    table_.first();
    EXPECT_EQ(field("Descriptio"), "Title");
}

TEST_F(RunTest, RowsMarkedNoOrEmptyImportNothingAndEqualNamesKeepTheirRows) {
    // Two import fields both named "<BLANK FIELD>": row 1 (Catalog) holds field 1, row 3
    // (Country) field 0; row 2 holds nothing, and field 2 sits in a row marked No.
    std::vector<ImportRow> rows = defaultImportRows(3);
    rows[0] = {1, true};
    rows[1] = {-1, false};
    rows[2] = {0, true};
    rows[3] = {2, false};
    const FieldAssignment a = assignmentFromRows(rows, 3);
    EXPECT_EQ(a, (FieldAssignment{3, 1, 0}));
    const std::string src = scratch_.write("in.txt", "\"\",\"\",\"x\"\r\n\"FR\",\"7\",\"no\"\r\n");
    importText(table_, src, 3, true, a, options_);
    table_.first();
    EXPECT_EQ(field("Country"), "FR");
    EXPECT_EQ(field("Catalog"), "7");
    EXPECT_EQ(field("Descriptio"), "");
}

TEST_F(RunTest, ImportFieldsPastRow25HaveNoStampField) {
    std::vector<ImportRow> rows = defaultImportRows(27);
    EXPECT_EQ(rows.size(), 27u);
    const FieldAssignment a = assignmentFromRows(rows, 27);
    EXPECT_EQ(a[24], 25);
    EXPECT_EQ(a[25], 0);
    EXPECT_EQ(a[26], 0);
}

TEST_F(RunTest, MatchingByNameUsesDbaseNamesAndLabels) {
    QStringList labels;
    for (int k = 1; k <= 25; ++k) labels << QStringLiteral("Label %1").arg(k);
    labels[2] = QStringLiteral("Land");
    const FieldAssignment a =
        assignmentByName({"land", "DESCRIPTIO", "Unknown", "Land", "1950", "Label 7"}, labels);
    EXPECT_EQ(a, (FieldAssignment{3, 2, 0, 0, 0, 7}));
    EXPECT_EQ(stampFieldNamed(QStringLiteral("14"), labels), 14);
    EXPECT_EQ(stampFieldNamed(QStringLiteral("26"), labels), 0);
}

TEST_F(RunTest, AVanishedSourceEndsTheRunWithAMessage) {
    const ImportResult r = importText(table_, scratch_.file("gone.txt"), 1, false, {1}, options_);
    EXPECT_NE(r.error.find("gone.txt"), std::string::npos) << r.error;
    EXPECT_EQ(r.added, 0u);
    EXPECT_EQ(table_.state(), engine::EditState::Browse);
}

TEST_F(RunTest, ATableThatRefusesPostsKeepsWhatWasPosted) {
    const std::string src = scratch_.write("in.txt", "\"a\"\r\n\"b\"\r\n\"c\"\r\n");
    // The second post fails as a full disk would: the table is closed under the run.
    options_.progress = [&](std::uint64_t n) {
        if (n == 1) table_.close();
    };
    const ImportResult r = importText(table_, src, 1, false, {1}, options_);
    EXPECT_EQ(r.added, 1u);
    EXPECT_FALSE(r.error.empty());
    table_.open(collection_, engine::OpenMode::Shared);
    EXPECT_EQ(rows(table_).size(), 1u);
}

TEST_F(RunTest, DbaseImportCopiesDatesAndConvertsTheRest) {
    const std::string src = scratch_.file("SRC.DBF");
    engine::Table::create(src, {{"NAME", engine::FieldType::Character, 30, 0},
                                {"BOUGHT", engine::FieldType::Date, 8, 0},
                                {"PRICE", engine::FieldType::Numeric, 10, 2},
                                {"COUNT", engine::FieldType::Character, 10, 0}});
    {
        engine::Table s;
        s.open(src, engine::OpenMode::Exclusive);
        s.append();
        s.setText(0, "Penny Black");
        s.setDate(1, {1840, 5, 6});
        s.setNumber(2, 1250.5);
        s.setText(3, "3 copies");
        s.post();
        s.append();
        s.setText(0, "deleted");
        s.post();
        s.deleteRecord();
    }
    EXPECT_EQ(dbfFieldNames(src), (std::vector<std::string>{"NAME", "BOUGHT", "PRICE", "COUNT"}));
    options_.dateFormat = {1, false};  // m/d/yy: a trip through text would lose the century
    const ImportResult r = importDbf(table_, src, {2, 14, 5, 6}, options_);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.added, 1u);
    table_.first();
    EXPECT_EQ(field("Descriptio"), "Penny Black");
    EXPECT_EQ(field("Date"), "18400506");
    EXPECT_EQ(field("MarketValu"), "1250.5000");
    EXPECT_EQ(field("Quantity"), "3");
}

TEST_F(RunTest, ImportingTheCollectionIntoItselfDoublesItOnce) {
    const std::string src = scratch_.write("in.txt", "\"a\"\r\n\"b\"\r\n");
    importText(table_, src, 1, false, {1}, options_);
    const ImportResult r =
        importDbf(table_, collection_, assignmentFromRows(defaultImportRows(25), 25), options_);
    EXPECT_EQ(r.added, 2u);
    EXPECT_EQ(rows(table_).size(), 4u);
}

TEST_F(RunTest, TextExportQuotesTrimsAndFollowsTheTableOrder) {
    table_.close();
    table_.open(collection_, engine::OpenMode::Exclusive);
    table_.addIndexTag("NewIndex", "Upper(Left(Country,80))");
    for (const auto& [country, descr] : std::vector<std::pair<const char*, const char*>>{
             {"Spain", "  say \"hi\"  "}, {"Austria", ""}, {"France", "Curaçao, €"}}) {
        table_.append();
        table_.setText(table_.requireField("Country"), country);
        table_.setText(table_.requireField("Descriptio"), descr);
        table_.setNumber(table_.requireField("Cost"), 2.5);
        table_.post();
    }
    table_.selectIndex("NewIndex");
    ExportRequest request;
    request.fields = {3, 2, 15};
    request.titles = {"Country", "Description", "Purchase Price"};
    const std::string out = scratch_.file("out.txt");
    const ExportResult r = exportText(table_, out, request);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.written, 3u);
    EXPECT_EQ(readBytes(out),
              "\"Country\",\"Description\",\"Purchase Price\"\r\n"
              "\"Austria\",\"\",\"2.5\"\r\n"
              "\"France\",\"Cura\xE7"
              "ao, \x80\",\"2.5\"\r\n"
              "\"Spain\",\"say \"\"hi\"\"\",\"2.5\"\r\n");
    // Through a filter: only the records the table shows.
    table_.setFilter([](const engine::RecordView& v) { return v.text(2) != "France"; });
    request.titles.clear();
    EXPECT_EQ(exportText(table_, out, request).written, 2u);
}

TEST_F(RunTest, DbaseExportDefinesTheListedFieldsAsTheCollectionDoes) {
    table_.append();
    table_.setText(table_.requireField("Catalog"), "A-1");
    table_.setDate(table_.requireField("Date"), {1840, 5, 6});
    table_.setInteger(table_.requireField("Year"), 1840);
    table_.post();
    ExportRequest request;
    request.fields = {14, 1, 7};
    request.dateFormat = {1, false};
    const std::string out = scratch_.file("OUT.DBF");
    const ExportResult r = exportDbf(table_, out, request);
    EXPECT_EQ(r.error, "");
    engine::Table t;
    t.open(out, engine::OpenMode::Shared);
    ASSERT_EQ(t.fieldCount(), 3);
    EXPECT_EQ(t.fields()[0].name, "DATE");
    EXPECT_EQ(t.fields()[0].type, engine::FieldType::Date);
    EXPECT_EQ(t.fields()[1].length, 12);
    EXPECT_EQ(t.fields()[2].type, engine::FieldType::Numeric);
    EXPECT_EQ(rows(t), (std::vector<std::string>{"18400506|A-1|1840"}));
    EXPECT_TRUE(t.tags().empty());
}

TEST_F(RunTest, ExportToAFolderThatIsGoneReportsIt) {
    ExportRequest request;
    request.fields = {1};
    EXPECT_FALSE(exportText(table_, scratch_.file("no/such/out.txt"), request).error.empty());
    EXPECT_FALSE(exportDbf(table_, scratch_.file("no/such/OUT.DBF"), request).error.empty());
}

TEST(ExportFields, RowsRepairPositionsAndStoreBack) {
    collection::CollectionSettings settings;
    settings.field(2).exportOrder = 1;  // Description claims row 1 as Catalog does
    settings.field(5).exported = false;
    const ExportRows rows = exportRows(settings);
    EXPECT_EQ(rows[0], (ExportRow{1, true}));
    EXPECT_EQ(rows[1], (ExportRow{2, true}));  // the free row takes the field left over
    EXPECT_EQ(rows[4], (ExportRow{5, false}));
    ExportRows moved = defaultExportRows();
    std::swap(moved[0], moved[1]);
    moved[2].exported = false;
    storeExportRows(settings, moved);
    EXPECT_EQ(exportRows(settings), moved);
    std::vector<int> list = exportList(moved);
    EXPECT_EQ(list.size(), 24u);
    EXPECT_EQ(list[0], 2);
    EXPECT_EQ(list[1], 1);
    EXPECT_EQ(list[2], 4);
}

}  // namespace
}  // namespace interchange::testing
