// engine::Table against other dBase readers and writers: tables the engine
// writes are read field for field by Python's dbf and dbfread packages, and
// tables dbf writes are read by the engine. Skipped where the packages are
// missing.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

// Prints one line per value of every live record, "ordinal|FIELD|value", with
// each value in one canonical text: C trimmed, N with exactly its decimals, D
// as YYYYMMDD, L as T/F, blanks empty; then "deleted|<count>". argv[1] is
// the reader ("dbf" or "dbfread"), argv[2] the table.
const char* const kDumpScript = R"PY(
import sys, datetime
reader, path = sys.argv[1], sys.argv[2]
def canon(value, kind, dec):
    if value is None: return ''
    if isinstance(value, bool): return 'T' if value else 'F'
    if isinstance(value, datetime.date): return value.strftime('%Y%m%d')
    if isinstance(value, (int, float)) and kind in 'NF':
        return '%.*f' % (dec, value) if dec else str(int(value))
    return str(value).rstrip()
lines, deleted = [], 0
if reader == 'dbf':
    import dbf
    t = dbf.Table(path)
    t.open(dbf.READ_ONLY)
    field_infos = [(n.upper(), t.field_info(n)) for n in t.field_names]
    live = 0
    for r in t:
        if dbf.is_deleted(r):
            deleted += 1
            continue
        for (name, info), value in zip(field_infos, r):
            lines.append('%d|%s|%s' % (live, name, canon(value, chr(info.field_type), info.decimal)))
        live += 1
    t.close()
else:
    import dbfread
    t = dbfread.DBF(path, load=True)
    for i, r in enumerate(t.records):
        for f in t.fields:
            lines.append('%d|%s|%s' % (i, f.name.upper(), canon(r[f.name], f.type, f.decimal_count)))
    deleted = len(t.deleted)
lines.append('deleted|%d' % deleted)
sys.stdout.buffer.write(('\n'.join(lines) + '\n').encode('utf-8'))
)PY";

// The same canonical lines from the engine's own reading of `path`.
std::string engineDump(const std::string& path) {
    Table t;
    t.open(path, OpenMode::Shared);
    std::ostringstream out;
    std::uint32_t live = 0, deleted = 0;
    for (std::uint32_t r = 1; r <= t.physicalCount(); ++r) {
        RecordView v = t.record(r);
        if (v.deleted()) {
            ++deleted;
            continue;
        }
        for (int f = 0; f < t.fieldCount(); ++f)
            out << live << '|' << t.fields()[std::size_t(f)].name << '|' << v.text(f) << '\n';
        ++live;
    }
    out << "deleted|" << deleted << '\n';
    return out.str();
}

class TableInterop : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("COLLECT.DBF");
    void SetUp() override {
        if (!pythonHasModule("dbf")) GTEST_SKIP() << "/usr/bin/python3 has no dbf package";
    }
};

TEST_F(TableInterop, CollectionTablesWrittenByTheEngineReadTheSameElsewhere) {
    Table::create(path, collectionFields());
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        const int catalog = t.requireField("CATALOG"), country = t.requireField("COUNTRY"),
                  market = t.requireField("MARKETVALU"), year = t.requireField("YEAR"),
                  date = t.requireField("DATE"), cost = t.requireField("COST"),
                  catalogI = t.requireField("CATALOGI"), descr = t.requireField("DESCRIPTIO"),
                  wanted = t.requireField("WANTED");
        t.append();
        t.setText(catalog, "A-1");
        t.setText(country, "Österreich");
        t.setText(descr, "Kaiser Franz Joseph, 10 Kreuzer – Ægypten € œ ß ÿ");
        t.setNumber(market, 1234.5);
        t.setInteger(year, 1850);
        t.setDate(date, Date{2024, 12, 7});
        t.setNumber(cost, -0.25);
        t.setInteger(catalogI, -2147483647);
        t.setText(wanted, "Yes");
        t.post();
        t.append();  // everything blank
        t.post();
        t.append();
        t.setText(catalog, "deleted");
        t.post();
        t.deleteRecord();
        t.append();
        t.setText(country, "Curaçao");
        t.setNumber(market, 0.0001);
        t.setInteger(year, -5);
        t.setDate(date, Date{1999, 2, 28});
        t.setText(wanted, "No");
        t.post();
    }
    const std::string ours = engineDump(path);
    EXPECT_NE(ours.find("0|COUNTRY|Österreich\n"), std::string::npos) << ours;
    EXPECT_NE(ours.find("0|MARKETVALU|1234.5000\n"), std::string::npos) << ours;
    EXPECT_NE(ours.find("2|YEAR|-5\n"), std::string::npos) << ours;
    EXPECT_NE(ours.find("deleted|1\n"), std::string::npos) << ours;

    CommandResult viaDbf = runPython(kDumpScript, {"dbf", path});
    ASSERT_EQ(viaDbf.exitCode, 0) << viaDbf.output;
    EXPECT_EQ(viaDbf.output, ours);
    if (!pythonHasModule("dbfread")) return;
    CommandResult viaDbfread = runPython(kDumpScript, {"dbfread", path});
    ASSERT_EQ(viaDbfread.exitCode, 0) << viaDbfread.output;
    EXPECT_EQ(viaDbfread.output, ours);
}

// Writes a dBase III table with Python's dbf package; argv[1] is the path.
// dbf refuses to create numeric fields wider than 19, hence COST N(19,4).
const char* const kWriteScript = R"PY(
import sys, datetime, dbf
t = dbf.Table(sys.argv[1], 'NAME C(20); YEAR N(11,0); COST N(19,4); BOUGHT D; OK L; NOTE M',
              codepage='cp1252', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('Österreich €', 1998, 2.675, datetime.date(2024, 1, 31), True, 'a memo'))
t.append(('', None, None, None, None, ''))
t.append(('Curaçao', -5, -0.5, None, False, 'another memo'))
t.append(('Ørsted Æbleø', 2147483647, 123456789.1234, datetime.date(1900, 1, 1), False, ''))
dbf.delete(t[2])
t.close()
)PY";

TEST_F(TableInterop, TablesWrittenByPythonDbfReadFieldForField) {
    CommandResult w = runPython(kWriteScript, {path});
    ASSERT_EQ(w.exitCode, 0) << w.output;

    // The engine may add to such a table, and dbf still reads all of it.
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.append();
    t.setText(0, "Zürich");
    t.setInteger(1, 2000);
    EXPECT_THROW(t.setText(5, "memo"), EngineError);
    t.post();
    t.close();
    CommandResult viaDbf = runPython(kDumpScript, {"dbf", path});
    ASSERT_EQ(viaDbf.exitCode, 0) << viaDbf.output;
    EXPECT_NE(viaDbf.output.find("3|NAME|Zürich\n3|YEAR|2000\n"), std::string::npos)
        << viaDbf.output;

    // A dBase III memo file that went missing: the memo reads as empty.
    const std::string memo = dir.file("COLLECT.DBT");
    ASSERT_TRUE(exists(memo));
    ASSERT_EQ(::remove(memo.c_str()), 0);
    t.open(path, OpenMode::Shared);
    ASSERT_EQ(t.fieldCount(), 6);
    EXPECT_EQ(t.fields()[5].type, FieldType::Memo);
    ASSERT_EQ(t.physicalCount(), 5u);
    struct Row {
        const char* name;
        std::optional<std::int64_t> year;
        std::optional<double> cost;
        Date bought;
        const char* ok;
        bool deleted;
    };
    const Row rows[] = {
        {"Österreich €", 1998, 2.675, {2024, 1, 31}, "T", false},
        {"", std::nullopt, std::nullopt, {}, "", false},
        {"Curaçao", -5, -0.5, {}, "F", true},
        {"Ørsted Æbleø", 2147483647, 123456789.1234, {1900, 1, 1}, "F", false},
        {"Zürich", 2000, std::nullopt, {}, "", false},
    };
    for (std::uint32_t r = 1; r <= 5; ++r) {
        SCOPED_TRACE("record " + std::to_string(r));
        const Row& want = rows[r - 1];
        RecordView v = t.record(r);
        EXPECT_EQ(v.text(0), want.name);
        EXPECT_EQ(v.integer(1), want.year);
        EXPECT_EQ(v.number(2), want.cost);
        EXPECT_EQ(v.date(3), want.bought);
        EXPECT_EQ(v.text(4), want.ok);
        EXPECT_EQ(v.deleted(), want.deleted);
        EXPECT_EQ(v.text(5), "");
    }
    EXPECT_EQ(t.recordCount(), 4u);
}

}  // namespace
}  // namespace engine
