// Round trips through independent programs: Python's csv module writes what import reads and reads
// what export writes; Python's dbf package and dbfread read our dBase export, and a table written
// by the dbf package imports.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "engine/table.h"
#include "interchange/export_run.h"
#include "interchange/import_run.h"
#include "interchange/value_conversion.h"
#include "interchange_test_support.h"

namespace interchange::testing {
namespace {

// Values with everything a delimited file makes hard: quotes, commas, blanks at the ends (which
// export trims), Windows-1252 letters.
const std::vector<std::vector<std::string>> kStamps = {
    {"A-1", "Penny Black, \"plate 1a\"", "Great Britain", "12", "5/6/1840", "1250.5"},
    {"B 2", "Basel Dove", "Schweiz", "1", "7/1/1845", "0.25"},
    {"", "Österreich – Merkur, ½ Kreuzer", "Österreich", "3", "", "-2"},
};
const FieldAssignment kAssignment = {1, 2, 3, 6, 14, 15};  // Catalog ... Cost

class PeerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pythonHas("csv")) GTEST_SKIP() << "no /usr/bin/python3";
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        options_.dateFormat = {7, false};
    }
    void fill() {
        for (const auto& s : kStamps) {
            table_.append();
            for (std::size_t i = 0; i < s.size(); ++i) {
                const int f = kAssignment[i] - 1;
                if (s[i].empty()) continue;
                if (i == 4) {
                    table_.setDate(f, *importDate(s[i], options_.dateFormat, 2024));
                } else {
                    table_.setText(f, s[i]);
                }
            }
            table_.post();
        }
    }
    // The six test fields of every record as their edit texts.
    std::vector<std::vector<std::string>> tableValues() {
        std::vector<std::vector<std::string>> out;
        std::string text;
        for (table_.first(); !table_.eof(); table_.next()) {
            std::vector<std::string> row;
            for (int k : kAssignment) {
                editTextInto(table_.current(), k - 1, table_.fields()[std::size_t(k - 1)],
                             options_.dateFormat, text);
                row.push_back(text);
            }
            out.push_back(row);
        }
        return out;
    }
    static std::vector<std::vector<std::string>> jsonRows(const std::string& json) {
        std::vector<std::vector<std::string>> out;
        for (const QJsonValue& row :
             QJsonDocument::fromJson(QByteArray::fromStdString(json)).array()) {
            std::vector<std::string> values;
            for (const QJsonValue& v : row.toArray()) values.push_back(v.toString().toStdString());
            out.push_back(values);
        }
        return out;
    }
    static std::string jsonArgument(const std::vector<std::vector<std::string>>& rows) {
        QJsonArray all;
        for (const auto& row : rows) {
            QJsonArray r;
            for (const std::string& v : row) r.append(QString::fromStdString(v));
            all.append(r);
        }
        return QJsonDocument(all).toJson(QJsonDocument::Compact).toStdString();
    }

    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    engine::Table table_;
    ImportOptions options_;
};

TEST_F(PeerTest, AFileWrittenByPythonsCsvModuleImportsFieldForField) {
    const char* script = R"(
import csv, json, sys
rows = json.loads(sys.argv[2])
with open(sys.argv[1], 'w', newline='', encoding=sys.argv[3]) as f:
    w = csv.writer(f, quoting=csv.QUOTE_ALL)
    w.writerow(['Alpha Catalog', 'Description', 'Country', 'Quantity', 'Date', 'Price'])
    w.writerows(rows)
)";
    for (const char* encoding : {"cp1252", "utf-8"}) {
        const std::string src = scratch_.file(std::string("python-") + encoding + ".txt");
        const PythonResult p = runPython(script, {src, jsonArgument(kStamps), encoding});
        ASSERT_EQ(p.exitCode, 0) << p.output;
        const ImportResult r = importText(table_, src, 6, true, kAssignment, options_);
        EXPECT_EQ(r.error, "");
        EXPECT_EQ(r.added, 3u);
    }
    std::vector<std::vector<std::string>> expected = kStamps;
    expected.insert(expected.end(), kStamps.begin(), kStamps.end());
    EXPECT_EQ(tableValues(), expected);
}

TEST_F(PeerTest, OurTextExportReadsBackInPythonsCsvModuleValueForValue) {
    fill();
    ExportRequest request;
    request.fields = kAssignment;
    request.dateFormat = options_.dateFormat;
    request.titles = {"Alpha Catalog", "Description", "Country", "Quantity", "Date", "Price"};
    const std::string out = scratch_.file("export.txt");
    ASSERT_EQ(exportText(table_, out, request).error, "");
    const PythonResult p = runPython(R"(
import csv, json, sys
with open(sys.argv[1], newline='', encoding='cp1252') as f:
    print(json.dumps(list(csv.reader(f))))
)",
                                     {out});
    ASSERT_EQ(p.exitCode, 0) << p.output;
    std::vector<std::vector<std::string>> expected = {request.titles};
    for (const auto& row : tableValues()) expected.push_back(row);
    EXPECT_EQ(jsonRows(p.output), expected);
}

TEST_F(PeerTest, OurDbaseExportReadsInDbfAndDbfread) {
    fill();
    ExportRequest request;
    request.fields = kAssignment;
    const std::string out = scratch_.file("EXPORT.DBF");
    ASSERT_EQ(exportDbf(table_, out, request).error, "");
    // Each reader prints every record's six values as text: numbers in plain form, dates as
    // m/d/yyyy, blanks as empty text.
    const char* script = R"(
import json, sys, datetime
def text(v):
    if v is None: return ''
    if isinstance(v, datetime.date): return '%d/%d/%d' % (v.month, v.day, v.year)
    if isinstance(v, float): return ('%.4f' % v).rstrip('0').rstrip('.')
    return str(v).strip()
if sys.argv[2] == 'dbf':
    import dbf
    t = dbf.Table(sys.argv[1]); t.open()
    names = [n.upper() for n in t.field_names]
    rows = [[text(r[n]) for n in t.field_names] for r in t]
else:
    import dbfread
    t = dbfread.DBF(sys.argv[1], encoding='cp1252')
    names = [n.upper() for n in t.field_names]
    rows = [[text(r[n]) for n in t.field_names] for r in t]
print(json.dumps([names] + rows))
)";
    std::vector<std::vector<std::string>> expected = {
        {"CATALOG", "DESCRIPTIO", "COUNTRY", "QUANTITY", "DATE", "COST"}};
    for (const auto& row : tableValues()) expected.push_back(row);
    for (const char* reader : {"dbf", "dbfread"}) {
        if (!pythonHas(reader)) continue;
        const PythonResult p = runPython(script, {out, reader});
        ASSERT_EQ(p.exitCode, 0) << reader << p.output;
        EXPECT_EQ(jsonRows(p.output), expected) << reader;
    }
}

TEST_F(PeerTest, ATableWrittenByPythonsDbfImports) {
    if (!pythonHas("dbf")) GTEST_SKIP() << "no dbf package";
    const std::string src = scratch_.file("PEER.DBF");
    const PythonResult p = runPython(R"(
import dbf, sys, datetime
t = dbf.Table(sys.argv[1], 'NAME C(40); LAND C(20); QTY N(5,0); BOUGHT D; PRICE N(12,2)',
              dbf_type='db3', codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('Penny Black', 'Great Britain', 12, datetime.date(1840, 5, 6), 1250.5))
t.append(('Merkur ½ Kreuzer', 'Österreich', 3, None, -2))
t.close()
)",
                                     {src});
    ASSERT_EQ(p.exitCode, 0) << p.output;
    const ImportResult r = importDbf(table_, src, {2, 3, 6, 14, 15}, options_);
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.added, 2u);
    table_.first();
    EXPECT_EQ(table_.text(table_.requireField("Descriptio")), "Penny Black");
    EXPECT_EQ(table_.text(table_.requireField("Date")), "18400506");
    EXPECT_EQ(table_.text(table_.requireField("Quantity")), "12");
    table_.next();
    EXPECT_EQ(table_.text(table_.requireField("Descriptio")), "Merkur ½ Kreuzer");
    EXPECT_EQ(table_.text(table_.requireField("Country")), "Österreich");
    EXPECT_EQ(table_.text(table_.requireField("Cost")), "-2.0000");
    EXPECT_EQ(table_.text(table_.requireField("Date")), "");
}

}  // namespace
}  // namespace interchange::testing
