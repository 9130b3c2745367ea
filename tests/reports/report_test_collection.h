// A small fixed stamp collection for the report tests, and helpers to run a report over it.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "collection/collection_file.h"
#include "collection/date_format.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "engine/table.h"
#include "reports/report_job.h"

namespace report_testing {

struct StampRow {
    const char* catalog;
    const char* country;
    const char* year;
    const char* face;
    const char* quantity;
    const char* market;
    const char* cost;
    const char* description;
    const char* date = "";  // YYYYMMDD
};

// Six stamps of three countries, entered out of order. Belgium's first stamp has quantity 0
// (it adds nothing to the money totals) and a description longer than any column; Canada's
// second has no year and no face value.
inline std::vector<StampRow> sixStamps() {
    return {
        {"C1", "Canada", "1851", "3 Pence", "1", "1000", "800", "Beaver", "20240115"},
        {"A2", "Austria", "1908", "10 Heller", "1", "4.25", "1", "Jubilee issue"},
        {"B1", "Belgium", "1849", "20 c", "0", "150", "99",
         "Epaulettes, with a description far longer than the column that holds it in print, "
         "even in the smallest type"},
        {"A1", "Austria", "1850", "9 Kreuzer", "2", "12.5", "3", "Coat of arms"},
        {"B2", "Belgium", "1912", "5 c", "3", "0.4", "0.1", "Pellens"},
        {"C2", "Canada", "", "", "10", "1", "0.5", "Lot"},
    };
}

class ReportCollection {
  public:
    // Creates the collection, ordered by `levels` (record order when all are 0).
    explicit ReportCollection(const std::vector<StampRow>& rows,
                              collection::SortLevels levels = {3, 0, 0, 0})
        : levels_(levels) {
        collection::applyDateFormat(1, false);
        const QString path = dbfPath();
        EXPECT_TRUE(collection::MakeNewDB(path, [](const QString&, const QString&) {}));
        table.open(path.toStdString(), engine::OpenMode::Exclusive);
        for (const StampRow& r : rows) {
            table.append();
            table.setText("Catalog", r.catalog);
            table.setText("Country", r.country);
            if (*r.year) table.setText("Year", r.year);
            table.setText("FaceValue", r.face);
            table.setText("Quantity", r.quantity);
            table.setText("MarketValu", r.market);
            table.setText("Cost", r.cost);
            table.setText("Descriptio", r.description);
            if (*r.date) table.setText("Date", r.date);
            table.post();
        }
        collection::buildSortTag(table, collection::BuildSortString(levels));
        table.close();
        table.open(path.toStdString(), engine::OpenMode::Shared);
        if (!collection::BuildSortString(levels).isEmpty()) table.selectIndex("NewIndex");
    }

    QString dbfPath() const { return dir_.filePath(QStringLiteral("STAMPS.DBF")); }
    QString file(const QString& name) const { return dir_.filePath(name); }

    reports::RenderSettings settings() const {
        reports::RenderSettings s;
        s.fieldLabels = reports::defaultFieldLabels();
        s.sortLevels = levels_;
        s.today = QDate(2026, 3, 9);
        return s;
    }

    // The report's text-file output, one entry per line (CR LF removed).
    QStringList textOf(const reports::ReportDefinition& report) {
        reports::ReportJob job(report, table, settings(), reports::letterPage());
        const QString path = file(QStringLiteral("out.txt"));
        EXPECT_EQ(job.runToText(path), reports::RunResult::Completed);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QString all = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(all.endsWith(QLatin1String("\r\n")));
        QStringList lines = all.split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines;
    }

    engine::Table table;

  private:
    QTemporaryDir dir_;
    collection::SortLevels levels_;
};

}  // namespace report_testing
