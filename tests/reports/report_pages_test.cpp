// Page breaks, the page layout of printed pages, PDF output, cancel, and damaged definitions.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>

#include "report_test_collection.h"
#include "reports/page_engine.h"
#include "reports/report_definition.h"

using namespace report_testing;
using reports::ReportDefinition;
using reports::RunResult;

namespace {

std::vector<StampRow> manyStamps(int n) {
    static std::vector<std::string> texts;
    texts.clear();
    texts.reserve(n * 2);
    std::vector<StampRow> rows;
    for (int i = 0; i < n; ++i) {
        texts.push_back(QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0')).toStdString());
        texts.push_back(QStringLiteral("Stamp %1").arg(i).toStdString());
    }
    for (int i = 0; i < n; ++i)
        rows.push_back({texts[2 * i].c_str(), i < n / 2 ? "Austria" : "Belgium", "1900", "1 c", "1",
                        "2", "1", texts[2 * i + 1].c_str()});
    return rows;
}

// The text output cut into pages at the form feeds.
std::vector<QStringList> pagesOf(const QStringList& lines) {
    std::vector<QStringList> pages(1);
    for (const QString& line : lines) {
        pages.back() << line;
        if (line.endsWith(QChar(12))) pages.emplace_back();
    }
    EXPECT_TRUE(pages.back().isEmpty()) << "output ends with a page footer";
    pages.pop_back();
    return pages;
}

ReportDefinition bigBodyFont(ReportDefinition r, int points) {
    r.font(reports::kBodyFont).size = points;
    return r;
}

}  // namespace

TEST(ReportPagesTest, RecordsAreNeverSplitAndEveryPageEndsWithItsFooter) {
    ReportCollection c(manyStamps(40));
    // 40-point body lines: 12 lines to a page body, so a 2-line record, a heading (2 more
    // lines) and a totals block (3 more) must each be moved whole to the next page.
    const QStringList lines = c.textOf(bigBodyFont(reports::defaultReports()[1], 40));
    const std::vector<QStringList> pages = pagesOf(lines);
    ASSERT_GE(pages.size(), 4u);
    int records = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const QStringList& page = pages[p];
        SCOPED_TRACE(p + 1);
        EXPECT_TRUE(page.last().startsWith(QStringLiteral("Page %1     ").arg(p + 1)));
        EXPECT_TRUE(page[page.size() - 2].isEmpty());
        for (qsizetype i = 0; i < page.size(); ++i) {
            if (!page[i].startsWith(QLatin1String("Country:"))) continue;
            ++records;
            ASSERT_LT(i + 1, page.size());
            EXPECT_TRUE(page[i + 1].startsWith(QLatin1String("  Desc:")))
                << page[i + 1].toStdString();
        }
        // At most 12 body lines, then the blank line and the footer.
        EXPECT_LE(page.size(), 14);
    }
    EXPECT_EQ(records, 40);
    EXPECT_TRUE(lines.contains(QStringLiteral("GRAND TOTALS").rightJustified(66)));
}

TEST(ReportPagesTest, PrintedPagesHoldTitlesBoxesAndFooter) {
    ReportCollection c(sixStamps());
    ReportDefinition r = reports::defaultReports()[0];
    r.titles[0] = QStringLiteral("Insurance Inventory");
    reports::ReportJob job(r, c.table, c.settings(), reports::letterPage());
    reports::RecordedReport recorded;
    ASSERT_EQ(job.runToPages(recorded), RunResult::Completed);
    ASSERT_EQ(recorded.pageCount(), 1);
    const reports::Page page = recorded.page(0);
    QStringList texts;
    for (const reports::PlacedText& t : page.texts) texts << t.text;
    for (const char* want : {"Insurance Inventory", "Country", "Austria", "Coat of arms", "TOTALS",
                             "GRAND TOTALS", "1,040.45", "812.30", "Page 1", "3/9/26"})
        EXPECT_TRUE(texts.contains(QLatin1String(want))) << want;
    // Vertical and horizontal lines are on: every cell of the six data rows and the header row
    // is boxed, the edges that cells share placed as one line. Each of the three groups'
    // tables (a heading, then its rows) has its six columns' seven edges and a rule above and
    // below every row; drawn, no rule lies over another.
    EXPECT_GE(page.lines.size(), 3u * (7u + 2u));
    EXPECT_LT(page.lines.size(), 7u * 6u * 4u);
    const std::vector<reports::PlacedLine> drawn = reports::mergedLines(page.lines);
    for (std::size_t i = 0; i < drawn.size(); ++i)
        for (std::size_t k = i + 1; k < drawn.size(); ++k) {
            const reports::PlacedLine& a = drawn[i];
            const reports::PlacedLine& b = drawn[k];
            const bool sameRule = a.y1 == a.y2 && b.y1 == b.y2 && std::abs(a.y1 - b.y1) < 1e-6;
            EXPECT_FALSE(sameRule && a.x1 < b.x2 && b.x1 < a.x2) << "overlapping rules at " << a.y1;
        }
    // The long description was cut to fit its column.
    for (const QString& t : texts) EXPECT_FALSE(t.contains(QLatin1String("smallest type")));
    // The title is centred on the page.
    for (const reports::PlacedText& t : page.texts) {
        if (t.text == QLatin1String("Insurance Inventory")) {
            EXPECT_NEAR(t.x, 4.25 - 0.6, 0.3);
        }
    }
}

TEST(ReportPagesTest, PdfShowsTheSameTitlesValuesAndTotalsAsTheTextFile) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ReportCollection c(sixStamps());
    ReportDefinition r = reports::defaultReports()[0];
    r.titles[0] = QStringLiteral("Insurance Inventory");
    const QStringList text = c.textOf(r);
    reports::ReportJob job(r, c.table, c.settings(), reports::letterPage());
    const QString pdf = c.file(QStringLiteral("out.pdf"));
    ASSERT_EQ(job.runToPdf(pdf), RunResult::Completed);
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString layout = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* want : {"Insurance Inventory", "Austria", "Belgium", "Canada", "Coat of arms",
                             "GRAND TOTALS", "1,040.45", "812.30", "Page 1"}) {
        EXPECT_TRUE(layout.contains(QLatin1String(want))) << want;
        EXPECT_TRUE(text.join(QLatin1Char('\n')).contains(QLatin1String(want))) << want;
    }
}

TEST(ReportPagesTest, CancelEndsTheRunAfterThePageItInterrupts) {
    ReportCollection c(manyStamps(40));
    reports::ReportJob job(bigBodyFont(reports::defaultReports()[1], 40), c.table, c.settings(),
                           reports::letterPage());
    int pages = 0;
    job.setPageStarted([&](int page) {
        if (page > 0) pages = page;
        if (page == 2) job.cancel();
    });
    reports::RecordedReport recorded;
    EXPECT_EQ(job.runToPages(recorded), RunResult::Canceled);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(recorded.pageCount(), 1);
}

TEST(ReportPagesTest, DamagedDefinitionsDrawWhatFitsAndEnd) {
    ReportCollection c(sixStamps());
    struct Case {
        const char* name;
        std::function<void(ReportDefinition&)> damage;
    };
    const Case cases[] = {
        {"line count beyond 12", [](ReportDefinition& r) { r.numberOfLines = 300; }},
        {"negative line count", [](ReportDefinition& r) { r.numberOfLines = -4; }},
        {"report width 0", [](ReportDefinition& r) { r.width = 0; }},
        {"huge entry widths",
         [](ReportDefinition& r) {
             for (auto& e : r.line(1)) e.width = 32000;
         }},
        {"font of 0 points", [](ReportDefinition& r) { r.font(reports::kBodyFont).size = 0; }},
        {"font taller than the page",
         [](ReportDefinition& r) { r.font(reports::kBodyFont).size = 2000; }},
        {"margins wider than the page", [](ReportDefinition& r) { r.leftMargin = 30; }},
        {"margins that are not numbers",
         [](ReportDefinition& r) {
             r.bottomMargin = std::nan("");
             r.topMargin = 1e300;
         }},
        {"field numbers out of range",
         [](ReportDefinition& r) {
             r.line(1)[0].fieldNumber = 200;
             r.totals[3].fieldNumber = 77;
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        for (int base : {0, 2}) {
            ReportDefinition r = reports::defaultReports()[base];
            k.damage(r);
            reports::ReportJob job(r, c.table, c.settings(), reports::letterPage());
            reports::RecordedReport recorded;
            EXPECT_EQ(job.runToPages(recorded), RunResult::Completed);
            // Every page takes at least one record or block: six records need few pages.
            EXPECT_LE(recorded.pageCount(), 20);
            const QStringList text = c.textOf(r);
            EXPECT_FALSE(text.isEmpty());
        }
    }
}

namespace {

// Keeps every page of a run whole, as a printer gets them.
class KeepingSink : public reports::PageSink {
  public:
    void pageDone(reports::Page&& page, int, const std::vector<reports::PageFont>& f) override {
        pages.push_back(std::move(page));
        fonts = f;
    }
    std::vector<reports::Page> pages;
    std::vector<reports::PageFont> fonts;
};

void expectSamePage(const reports::Page& a, const std::vector<reports::PageFont>& aFonts,
                    const reports::Page& b, const std::vector<reports::PageFont>& bFonts) {
    ASSERT_EQ(a.texts.size(), b.texts.size());
    for (std::size_t k = 0; k < a.texts.size(); ++k) {
        EXPECT_EQ(a.texts[k].text, b.texts[k].text);
        EXPECT_DOUBLE_EQ(a.texts[k].x, b.texts[k].x);
        EXPECT_DOUBLE_EQ(a.texts[k].baseline, b.texts[k].baseline);
        // Font indexes may differ between the two; the fonts they name may not.
        ASSERT_LT(std::size_t(b.texts[k].font), bFonts.size());
        EXPECT_EQ(aFonts.at(a.texts[k].font), bFonts[b.texts[k].font]) << k;
    }
    EXPECT_EQ(a.lines.size(), b.lines.size());
}

}  // namespace

TEST(ReportPagesTest, RecordedPagesAreLaidOutOnDemandAsTheRunWouldDrawThem) {
    ReportCollection c(manyStamps(40));
    // Groups by country: the last page alone holds the grand totals.
    const ReportDefinition r = bigBodyFont(reports::defaultReports()[0], 30);

    KeepingSink whole;
    {
        reports::RenderSettings settings = c.settings();
        settings.mode = reports::OutputMode::Preview;
        reports::PageEngine engine(reports::letterPage(), whole);
        engine.setOrientation(r.landscape);
        reports::ReportRenderer renderer(r, c.table, engine, settings);
        ASSERT_TRUE(engine.run(renderer));
    }
    reports::ReportJob job(r, c.table, c.settings(), reports::letterPage());
    reports::RecordedReport recorded;
    ASSERT_EQ(job.runToPages(recorded), RunResult::Completed);
    const int count = recorded.pageCount();
    ASSERT_GE(count, 4);
    ASSERT_EQ(std::size_t(count), whole.pages.size());
    EXPECT_TRUE(recorded.fonts().empty()) << "the run measured and placed nothing";

    // Any page, in any order, comes out as the run laid it out, its fonts learned on the way.
    for (int i : {count - 1, 0, 1, count - 1}) {
        SCOPED_TRACE(i);
        const reports::Page page = recorded.page(i);
        expectSamePage(whole.pages[i], whole.fonts, page, recorded.fonts());
    }
    EXPECT_TRUE(recorded.page(count).texts.empty());
    EXPECT_TRUE(recorded.page(-1).texts.empty());

    // A range comes out page after page, and stops when asked to.
    KeepingSink range;
    recorded.layOut(1, count + 5, range);
    ASSERT_EQ(range.pages.size(), std::size_t(count - 1));
    for (int i = 1; i < count; ++i) {
        SCOPED_TRACE(i);
        expectSamePage(whole.pages[i], whole.fonts, range.pages[i - 1], range.fonts);
    }
    KeepingSink two;
    int asked = 0;
    recorded.layOut(0, count - 1, two, [&asked] { return ++asked < 2; });
    EXPECT_EQ(two.pages.size(), 2u);

    // With the table closed there is nothing to lay out pages from.
    c.table.close();
    EXPECT_TRUE(recorded.page(0).texts.empty());
}
