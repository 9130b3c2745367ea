// Text-file output of the default reports over a small fixed collection, line for line against
// expected files in tests/reports/data. In those files a line "| text" is one expected output
// line (trailing blanks not compared, a form feed written as <FF>) and the "#" lines above it
// say why it is what it is.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "report_test_collection.h"
#include "reports/report_definition.h"

using namespace report_testing;
using reports::ReportDefinition;

namespace {

QStringList expectedLines(const QString& name) {
    QFile f(QStringLiteral(TESS_SOURCE_DIR "/tests/reports/data/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text)) << name.toStdString();
    QStringList lines;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1Char('|'))) lines << line.mid(1).trimmed();
    return lines;
}

// Output lines as the expected files write them.
QStringList comparable(const QStringList& lines) {
    QStringList out;
    for (QString line : lines) {
        line.replace(QChar(12), QStringLiteral("<FF>"));
        static const QRegularExpression trailing(QStringLiteral("\\s+$"));
        line.remove(trailing);
        // The expected files begin each line after "| ", so leading blanks count from there.
        out << line.trimmed();
    }
    return out;
}

void expectLines(const QStringList& got, const QString& expectedFile) {
    const QStringList want = expectedLines(expectedFile);
    const QStringList have = comparable(got);
    for (qsizetype i = 0; i < std::max(want.size(), have.size()); ++i)
        EXPECT_EQ(have.value(i).toStdString(), want.value(i).toStdString())
            << expectedFile.toStdString() << " line " << i + 1;
}

ReportDefinition defaultReport(int number) {
    return reports::defaultReports()[number - 1];
}

}  // namespace

TEST(ReportTextTest, OneLineReportGroupedByCountry) {
    ReportCollection c(sixStamps());
    ReportDefinition r = defaultReport(1);
    r.titles = {QStringLiteral("My Collection"), QString(), QStringLiteral("Checklist")};
    expectLines(c.textOf(r), QStringLiteral("report1_grouped.txt"));
}

TEST(ReportTextTest, TwoLineReportWithoutGrouping) {
    ReportCollection c(sixStamps(), {0, 0, 0, 0});
    expectLines(c.textOf(defaultReport(2)), QStringLiteral("report2_ungrouped.txt"));
}

TEST(ReportTextTest, SummaryReportPrintsOnlyHeadingsAndTotals) {
    ReportCollection c(sixStamps());
    expectLines(c.textOf(defaultReport(4)), QStringLiteral("report4_grouped.txt"));
}

TEST(ReportTextTest, GroupingOnTwoLevelsHeadsEachPair) {
    ReportCollection c(sixStamps(), {3, 7, 0, 0});
    ReportDefinition r = defaultReport(5);
    r.groupLevel2 = true;
    r.useTotals = false;
    expectLines(c.textOf(r), QStringLiteral("report5_two_levels.txt"));
}
