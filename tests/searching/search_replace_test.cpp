// Search and replace without its window: the checks and their order, text, number and date
// matching, confirmation, the index and search afterwards, another program holding the file,
// and a failure in the middle of the run.
#include "searching/search_replace.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "collection/date_format.h"
#include "collection/other_process.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "collection/table_maintenance.h"
#include "engine/error.h"
#include "engine/mdx_file.h"
#include "engine/table.h"

namespace editing {
namespace {

using collection::testing::catalogsInOrder;
using collection::testing::makeStampCollection;
using collection::testing::StampRow;

const collection::DateFormat kDates{7, true};  // mm/dd/yyyy
const QString kCountrySort = QStringLiteral("Upper(Left(Country,80))");

TEST(SearchReplaceCheckTest, RefusalsComeInOrderWithTheirEntryBox) {
    struct Case {
        const char* name;
        ReplaceRequest request;
        std::optional<QString> message;
        ReplaceEntry focus = ReplaceEntry::FieldList;
    };
    const Case cases[] = {
        {"no field", {0, "a", "b"}, kNoFieldSelected, ReplaceEntry::FieldList},
        {"number with comma", {5, "5,0", "6"}, kBadSearchValue, ReplaceEntry::Search},
        {"empty number", {6, "         ", "6"}, kBadSearchValue, ReplaceEntry::Search},
        {"bad replacement number", {7, " 1950 ", "19x"}, kBadReplaceValue, ReplaceEntry::Replace},
        {"numbers", {5, "-5.", " .25 "}, std::nullopt},
        {"blank date mask", {14, "  /  /    ", "01/02/2000"}, kBadSearchDate, ReplaceEntry::Search},
        {"impossible date", {14, "02/30/2000", "01/02/2000"}, kBadSearchDate, ReplaceEntry::Search},
        {"blank replacement date",
         {14, "02/03/2000", "  /  /    "},
         kBadReplaceDate,
         ReplaceEntry::Replace},
        {"dates", {14, "02/03/2000", "3/4/01"}, std::nullopt},
        {"empty text", {3, "", ""}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<ReplaceRefusal> refusal = validateReplace(c.request, kDates);
        ASSERT_EQ(refusal.has_value(), c.message.has_value()) << c.name;
        if (!refusal) continue;
        EXPECT_EQ(refusal->message, *c.message) << c.name;
        EXPECT_EQ(refusal->focus, c.focus) << c.name;
    }
}

class SearchReplaceRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        dbf = dir.filePath(QStringLiteral("STAMPS.DBF"));
    }
    void make(const std::vector<StampRow>& rows, const QString& sortExpression = kCountrySort) {
        makeStampCollection(dbf, rows);
        sort = sortExpression;
        collection::rebuildSortTagOnOpen(table, dbf, sort);
    }
    ReplaceResult run(int field, const QString& search, const QString& replacement) {
        hooks.reapplyViewer = [this] { ++reapplied; };
        hooks.tell = [this](const QString& title, const QString& text) {
            told << title + QStringLiteral(": ") + text;
        };
        SearchAndReplaceRun runner(table, dbf, sort, kDates, hooks);
        const ReplaceResult result = runner.run({field, search, replacement});
        counters = runner.counters();
        return result;
    }
    std::vector<std::string> column(const char* name) {
        std::vector<std::string> out;
        const int field = table.requireField(name);
        for (std::uint32_t r = 1; r <= table.physicalCount(); ++r)
            out.push_back(table.record(r).text(field));
        return out;
    }
    void setMarketValues(const std::vector<double>& values) {
        table.close();
        table.open(dbf.toStdString(), engine::OpenMode::Exclusive);
        const int field = table.requireField("MarketValu");
        std::size_t i = 0;
        for (table.first(); !table.eof() && i < values.size(); table.next()) {
            table.edit();
            table.setNumber(field, values[i++]);
            table.post();
        }
        collection::reopenShared(table, dbf, "NewIndex");
    }

    QTemporaryDir dir;
    QString dbf;
    QString sort;
    engine::Table table;
    ReplaceHooks hooks;
    ReplaceCounters counters;
    QStringList told;
    int reapplied = 0;
};

TEST_F(SearchReplaceRunTest, TextMatchesWholeValuesInAnyCaseAndTheTableEndsSortedAndShared) {
    make({{"1", "Chile", 1900, ""},
          {"2", "Chile (Santiago)", 1900, ""},
          {"3", "CHILE", 1900, ""},
          {"4", "Austria", 1900, ""},
          {"5", "chile", 1900, ""}});
    EXPECT_EQ(run(3, QStringLiteral(" chile "), QStringLiteral("Zambia")), ReplaceResult::Done);
    EXPECT_EQ(column("Country"), (std::vector<std::string>{"Zambia", "Chile (Santiago)", "Zambia",
                                                           "Austria", "Zambia"}));
    EXPECT_EQ(counters, (ReplaceCounters{5, 3, 3}));
    EXPECT_TRUE(told.isEmpty());
    EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"4", "2", "1", "3", "5"}));
    EXPECT_GE(reapplied, 2);
}

TEST_F(SearchReplaceRunTest, NoToEveryQuestionCountsTheMatchesAndChangesNothing) {
    make({{"A1", "Chile", 1900, ""}, {"A2", "Peru", 1900, ""}, {"A3", "CHILE", 1900, ""}});
    QStringList asked;
    hooks.confirm = [&](const QString& catalog) {
        asked << catalog;
        return false;
    };
    EXPECT_EQ(run(3, QStringLiteral("chile"), QStringLiteral("Peru")), ReplaceResult::Done);
    EXPECT_EQ(asked, (QStringList{"A1", "A3"}));
    EXPECT_EQ(counters, (ReplaceCounters{3, 2, 0}));
    EXPECT_EQ(column("Country"), (std::vector<std::string>{"Chile", "Peru", "CHILE"}));
}

TEST_F(SearchReplaceRunTest, NumbersMatchByValueAndDatesByDate) {
    make({{"1", "a", 1900, "19970307"},
          {"2", "b", 1900, "19970308"},
          {"3", "c", 1900, "19970307"},
          {"4", "d", 1900, ""}});
    setMarketValues({5, 5.0001, 5.01, 5.0});
    EXPECT_EQ(run(5, QStringLiteral("5"), QStringLiteral("7.5")), ReplaceResult::Done);
    EXPECT_EQ(counters, (ReplaceCounters{4, 2, 2}));
    EXPECT_EQ(column("MarketValu"),
              (std::vector<std::string>{"7.5000", "5.0001", "5.0100", "7.5000"}));
    EXPECT_EQ(run(14, QStringLiteral("03/07/1997"), QStringLiteral("12/31/2001")),
              ReplaceResult::Done);
    EXPECT_EQ(column("Date"), (std::vector<std::string>{"20011231", "19970308", "20011231", ""}));
}

TEST_F(SearchReplaceRunTest, AnEmptySearchTextReplacesEmptyFieldsAndEmptySortLeavesRecordOrder) {
    make({{"1", "", 1900, ""}, {"2", "Chile", 1900, ""}, {"3", "", 1900, ""}}, QString());
    EXPECT_EQ(run(3, QString(), QStringLiteral("Unknown")), ReplaceResult::Done);
    EXPECT_EQ(column("Country"), (std::vector<std::string>{"Unknown", "Chile", "Unknown"}));
    EXPECT_EQ(table.selectedIndex(), "");
    EXPECT_TRUE(table.tags().empty());
}

TEST_F(SearchReplaceRunTest, ARunningSearchIsSuspendedForTheRunAndResumedAfter) {
    make({{"1", "Chile", 1900, ""}, {"2", "Chile", 1900, ""}});
    std::vector<std::string> events;
    hooks.suspendSearch = [&] {
        events.push_back("suspend");
        return true;
    };
    hooks.resumeSearch = [&] { events.push_back("resume"); };
    hooks.progress = [&](const ReplaceCounters& c) {
        events.push_back("record " + std::to_string(c.processed));
    };
    run(3, QStringLiteral("Chile"), QStringLiteral("Peru"));
    EXPECT_EQ(events, (std::vector<std::string>{"suspend", "record 1", "record 2", "resume"}));
}

TEST_F(SearchReplaceRunTest, AnotherProgramHoldingTheFileChangesNothing) {
    make({{"1", "Chile", 1900, ""}});
    collection::testing::OtherProcessHolding other(dbf);
    ASSERT_TRUE(other.holds());
    EXPECT_EQ(run(3, QStringLiteral("Chile"), QStringLiteral("Peru")), ReplaceResult::InUse);
    EXPECT_EQ(told, QStringList{QStringLiteral("Error: ") + kReplaceInUse});
    EXPECT_EQ(column("Country"), std::vector<std::string>{"Chile"});
    EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(reapplied, 1);
}

TEST_F(SearchReplaceRunTest, AFailureMidRunKeepsEarlierChangesAndRebuildsTheIndex) {
    make({{"1", "Chile", 1900, ""},
          {"2", "Chile", 1900, ""},
          {"3", "Chile", 1900, ""},
          {"4", "Chile", 1900, ""}});
    hooks.confirm = [](const QString& catalog) {
        if (catalog == QLatin1String("3")) throw engine::EngineError("disk full");
        return true;
    };
    EXPECT_EQ(run(3, QStringLiteral("Chile"), QStringLiteral("Albania")), ReplaceResult::Failed);
    EXPECT_EQ(told, QStringList{QStringLiteral("Error: ") + replaceFailedMessage(2)});
    EXPECT_EQ(column("Country"),
              (std::vector<std::string>{"Albania", "Albania", "Chile", "Chile"}));
    EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"1", "2", "3", "4"}));

    // A replacement the numeric field cannot hold fails at its first match: nothing half-changed.
    hooks.confirm = nullptr;
    told.clear();
    EXPECT_EQ(run(7, QStringLiteral("1900"), QStringLiteral("123456789012345")),
              ReplaceResult::Failed);
    EXPECT_EQ(told, QStringList{QStringLiteral("Error: ") + replaceFailedMessage(0)});
    EXPECT_EQ(column("Year"), (std::vector<std::string>{"1900", "1900", "1900", "1900"}));
}


// (key, record number) of every entry of the sort tag, in index order.
std::vector<std::pair<std::string, std::uint32_t>> sortTagEntries(const QString& dbf) {
    QString mdx = dbf;
    mdx.replace(QStringLiteral(".DBF"), QStringLiteral(".MDX"));
    const auto file = engine::MdxFile::open(mdx.toStdString(), false);
    const int tag = file->findTag("NewIndex");
    std::vector<std::pair<std::string, std::uint32_t>> out;
    if (tag < 0) return out;
    file->verify(tag);
    file->forEach(tag, [&](std::string_view key, std::uint32_t recno) {
        out.emplace_back(std::string(key), recno);
    });
    return out;
}

TEST_F(SearchReplaceRunTest, TheSortIndexAfterARunIsTheOneARebuildGives) {
    std::vector<StampRow> rows;
    const char* const countries[] = {"Chile", "Peru", "CHILE", "Austria", "chile", "Zambia"};
    for (int i = 0; i < 3000; ++i)
        rows.push_back({std::to_string(i), countries[i % 6], 1900 + i % 50, ""});
    make(rows);
    EXPECT_EQ(run(3, QStringLiteral("chile"), QStringLiteral("Bolivia")), ReplaceResult::Done);
    EXPECT_EQ(counters.changed, 1500);
    const auto afterRun = sortTagEntries(dbf);
    EXPECT_EQ(afterRun.size(), 3000u);
    table.close();
    {
        engine::Table t;
        t.open(dbf.toStdString(), engine::OpenMode::Exclusive);
        t.regenerateIndexes();
    }
    EXPECT_EQ(sortTagEntries(dbf), afterRun);
}

TEST_F(SearchReplaceRunTest, AProcessKilledDuringARunLeavesTheSortTag) {
    std::vector<StampRow> rows;
    for (int i = 0; i < 200; ++i) rows.push_back({std::to_string(i), i % 2 ? "Chile" : "Peru", 1900, ""});
    make(rows);
    table.close();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        hooks.progress = [](const ReplaceCounters& c) {
            if (c.processed == 120) ::_exit(0);  // as if killed in the middle
        };
        run(3, QStringLiteral("chile"), QStringLiteral("Bolivia"));
        ::_exit(1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    engine::Table t;
    t.open(dbf.toStdString(), engine::OpenMode::Exclusive);  // rebuilds the marked index
    ASSERT_EQ(t.tags().size(), 1u);
    EXPECT_EQ(t.tags()[0].name, "NEWINDEX");
    t.selectIndex("NewIndex");
    std::string previous;
    int seen = 0;
    for (t.first(); !t.eof(); t.next(), ++seen) {
        const std::string country = t.text("Country");
        EXPECT_LE(QString::fromStdString(previous).toUpper(), QString::fromStdString(country).toUpper());
        previous = country;
    }
    EXPECT_EQ(seen, 200);
}

}  // namespace
}  // namespace editing
