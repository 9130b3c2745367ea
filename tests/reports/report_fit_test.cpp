// What a report does with values that do not fit their columns, a column-header font larger
// than the body's, and margins that leave no room: numbers are never shown as other numbers,
// nothing is drawn outside its area, and no margin reaches the page unchecked.
#include <gtest/gtest.h>

#include <QFile>
#include <cmath>
#include <limits>

#include "report_test_collection.h"
#include "reports/page_engine.h"
#include "reports/pdf_file.h"
#include "reports/report_definition.h"
#include "reports/report_margins.h"

using namespace report_testing;
using reports::LineEntry;
using reports::ReportDefinition;
using reports::RunResult;

namespace {

LineEntry field(const char* name, int number, int width) {
    return {QString::fromLatin1(name), number, width, QString()};
}

// Catalogue number, quantity, market value and purchase date in columns too narrow for the
// large values; the totals line holds the quantity and market value totals.
ReportDefinition narrowColumns(int quantityWidth = 3) {
    ReportDefinition r = reports::defaultReports()[0];
    r.groupLevel1 = false;
    r.line(1) = reports::fillerLine(0);
    r.line(1)[0] = field("Catalog", 1, 10);
    r.line(1)[1] = field("Quantity", 6, quantityWidth);
    r.line(1)[2] = field("MarketValu", 5, 8);
    r.line(1)[3] = field("Date", 14, 6);
    r.totals = reports::fillerLine(0);
    r.totals[0] = {reports::kLabelName, 0, 10, QStringLiteral("TOTALS:")};
    r.totals[1] = field("Quantity", 3, quantityWidth);
    r.totals[2] = field("Market Value", 1, 8);
    return r;
}

std::vector<StampRow> bigValues() {
    return {{"BIG", "Canada", "1851", "3 Pence", "25000", "1234567.89", "99999.99", "Beaver",
             "18980601"},
            {"SMALL", "Canada", "1852", "1 Penny", "2", "12.5", "3", "Coat", ""}};
}

// The texts of a recorded page with their point sizes.
std::vector<std::pair<QString, int>> textsOf(const reports::RecordedReport& recorded, int index) {
    const reports::Page page = recorded.page(index);
    std::vector<std::pair<QString, int>> out;
    for (const reports::PlacedText& t : page.texts)
        out.emplace_back(t.text, recorded.fonts()[t.font].points);
    return out;
}

int sizeOf(const std::vector<std::pair<QString, int>>& texts, const QString& text) {
    for (const auto& [t, points] : texts)
        if (t == text) return points;
    return 0;
}

}  // namespace

TEST(ReportFitTest, TextFileMarksNumbersTooWideForTheirColumnAndKeepsTheOthersWhole) {
    ReportCollection c(bigValues());
    const QStringList lines = c.textOf(narrowColumns());
    const QString all = lines.join(QLatin1Char('\n'));
    // 25,000 in three characters, 1,234,567.89 in eight, 6/1/1898 or 6/1/98 in six: marked,
    // never cut to "25," or "1,234,56".
    EXPECT_TRUE(all.contains(QStringLiteral("BIG       ###########")));
    EXPECT_FALSE(all.contains(QStringLiteral("25,")));
    EXPECT_FALSE(all.contains(QStringLiteral("1,234,56")));
    // Values that fit are whole and padded as before.
    EXPECT_TRUE(all.contains(QStringLiteral("SMALL     2  12.50")));
    // The totals (25,002 and 30,864,197,275.00) do not fit either; the label is right-aligned.
    EXPECT_TRUE(all.contains(QStringLiteral("   TOTALS:###########")));
}

TEST(ReportFitTest, PagesDrawNumbersWholeInASmallerSizeOrMarkedWhenNoneFits) {
    ReportCollection c(bigValues());
    reports::ReportJob job(narrowColumns(4), c.table, c.settings(), reports::letterPage());
    reports::RecordedReport recorded;
    ASSERT_EQ(job.runToPages(recorded), RunResult::Completed);
    const auto texts = textsOf(recorded, 0);
    for (const auto& [t, points] : texts) {
        EXPECT_FALSE(t == QLatin1String("25,") || t == QLatin1String("1,234,56"))
            << t.toStdString();
    }
    // 12.50 fits in the body's 8 points; 1,234,567.89 is drawn whole in a smaller size.
    EXPECT_EQ(sizeOf(texts, QStringLiteral("12.50")), 8);
    const int market = sizeOf(texts, QStringLiteral("1,234,567.89"));
    EXPECT_GE(market, reports::kSmallestWholePoints);
    EXPECT_LT(market, 8);
    // The quantity column is 4/120 of 7.5 inches: 25,000 fits in it at 4 points or more.
    const int quantity = sizeOf(texts, QStringLiteral("25,000"));
    EXPECT_GE(quantity, reports::kSmallestWholePoints);
    EXPECT_LT(quantity, 8);

    // A two-character quantity column holds 25,000 at no legible size: it is marked.
    reports::ReportJob narrow(narrowColumns(2), c.table, c.settings(), reports::letterPage());
    reports::RecordedReport marked;
    ASSERT_EQ(narrow.runToPages(marked), RunResult::Completed);
    const auto markedTexts = textsOf(marked, 0);
    EXPECT_EQ(sizeOf(markedTexts, QStringLiteral("25,000")), 0);
    EXPECT_EQ(sizeOf(markedTexts, QStringLiteral("#")), 8);  // as many as the column holds
    EXPECT_EQ(sizeOf(markedTexts, QStringLiteral("2")), 8);
}

TEST(ReportFitTest, ALargerColumnHeaderFontStaysInsideTheBodyAreaAboveTheFirstRecord) {
    ReportCollection c(sixStamps());
    ReportDefinition r = reports::defaultReports()[0];
    r.font(reports::kColumnHeaderFont).size = 24;
    reports::ReportJob job(r, c.table, c.settings(), reports::letterPage());
    reports::RecordedReport recorded;
    ASSERT_EQ(job.runToPages(recorded), RunResult::Completed);
    const reports::Page page = recorded.page(0);
    double headerBaseline = 0, firstBody = 1e9;
    for (const reports::PlacedText& t : page.texts) {
        const int points = recorded.fonts()[t.font].points;
        if (t.text == QLatin1String("Country") && points == 24) headerBaseline = t.baseline;
        if (t.text == QLatin1String("Austria") || t.text == QLatin1String("Coat of arms"))
            firstBody = std::min(firstBody, t.baseline);
    }
    ASSERT_GT(headerBaseline, 0);
    // The 24-point header line (0.4 inch) starts at the body area's top, 1.25 inches down: its
    // baseline lies well inside that line, not above the area.
    EXPECT_GT(headerBaseline, 1.25 + 0.25);
    EXPECT_LT(headerBaseline, 1.25 + 0.4);
    // The first group heading and record come below the header line.
    EXPECT_GT(firstBody, 1.25 + 0.4);
}

TEST(ReportFitTest, MarginsAreBroughtWithinThePageAndPdfOutputSurvivesAnyMargin) {
    ReportDefinition r;
    r.leftMargin = 1e300;
    r.rightMargin = std::numeric_limits<double>::quiet_NaN();
    r.topMargin = -std::numeric_limits<double>::infinity();
    r.bottomMargin = 1e13;
    reports::clampMargins(r, reports::letterSize(false));
    EXPECT_GE(r.rightMargin, 0);
    EXPECT_LE(r.leftMargin + r.rightMargin, 7.5 + 1e-9);
    EXPECT_EQ(r.topMargin, 0);
    EXPECT_DOUBLE_EQ(r.bottomMargin, 8.0);
    // Margins within the room stay exactly as they are.
    ReportDefinition usual;
    usual.leftMargin = 1.25;
    reports::clampMargins(usual, reports::letterSize(true));
    EXPECT_EQ(usual.leftMargin, 1.25);
    EXPECT_EQ(usual.rightMargin, 0.5);

    // Straight into a run, whatever the definition says, a PDF file comes out.
    ReportCollection c(sixStamps());
    const double bad[] = {1e300, -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(), 1e13};
    for (const double margin : bad) {
        ReportDefinition d = reports::defaultReports()[0];
        d.leftMargin = d.rightMargin = margin;
        reports::ReportJob job(d, c.table, c.settings(), reports::letterPage());
        const QString pdf = c.file(QStringLiteral("margins.pdf"));
        ASSERT_EQ(job.runToPdf(pdf), RunResult::Completed) << margin;
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().contains("Austria") || f.size() > 1000);
    }
}

TEST(ReportFitTest, AFullDiskNamesTheFileAndTheReason) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
    ReportCollection c(sixStamps());
    reports::ReportJob job(reports::defaultReports()[0], c.table, c.settings(),
                           reports::letterPage());
    ASSERT_EQ(job.runToPdf(QStringLiteral("/dev/full")), RunResult::Failed);
    EXPECT_TRUE(
        job.error().startsWith(QLatin1String("The PDF file \"/dev/full\" could not be "
                                             "written: ")))
        << job.error().toStdString();
    EXPECT_TRUE(job.error().contains(QLatin1String("space"), Qt::CaseInsensitive))
        << job.error().toStdString();
    EXPECT_FALSE(job.error().contains(QLatin1String("Unknown error")));
}
