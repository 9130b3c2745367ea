// The PDF file written straight from the pages, against the same pages painted through
// QPdfWriter; and the glyph widths the layout measures, against Qt's shaped text.
#include "reports/pdf_file.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "report_test_collection.h"
#include "reports/font_glyphs.h"
#include "reports/report_definition.h"

using namespace report_testing;
using reports::ReportDefinition;
using reports::RunResult;

namespace {

std::vector<StampRow> kernedStamps() {
    return {
        {"AV1", "\xC3\x96sterreich", "1850", "9 Kr", "2", "12.5", "3", "WAVE To Yvonne, P. Te"},
        {"T2", "Tonga", "1897", "1d", "1", "1234.56", "7", "Turtles, office issue"},
    };
}

// A report in two faces and three sizes: bold title, coloured body.
ReportDefinition mixedFonts() {
    ReportDefinition r = reports::defaultReports()[0];
    r.titles = {QStringLiteral("AVATAR Catalogue"), QString(), QStringLiteral("Wants")};
    r.font(reports::kTitleFont) = {QStringLiteral("Arial"), 14, true};
    r.font(reports::kBodyFont) = {QStringLiteral("Arial"), 9, false, false, false, false, 0x800000};
    r.font(reports::kColumnHeaderFont) = {QStringLiteral("Arial"), 10, true};
    return r;
}

QString layoutText(const QString& pdf) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

}  // namespace

TEST(PdfFileTest, ReadsAsThePaintedPdfOfTheSamePages) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ReportCollection c(kernedStamps());
    const ReportDefinition r = mixedFonts();
    reports::ReportJob job(r, c.table, c.settings(), reports::letterPage());
    const QString direct = c.file(QStringLiteral("direct.pdf"));
    const QString painted = c.file(QStringLiteral("painted.pdf"));
    ASSERT_EQ(job.runToPdf(direct), RunResult::Completed);
    {
        QPdfWriter writer(painted);
        writer.setResolution(static_cast<int>(reports::kReferenceDpi));
        ASSERT_EQ(job.runToDevice(writer), RunResult::Completed);
    }
    const QString text = layoutText(direct);
    EXPECT_EQ(text, layoutText(painted));
    for (const char* want : {"AVATAR Catalogue", "\xC3\x96sterreich", "WAVE To Yvonne, P. Te",
                             "GRAND TOTALS", "Page 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(want))) << want;

    // One embedded font per face, whatever the sizes; every object where the table says.
    const QByteArray bytes = contentsOf(direct);
    EXPECT_EQ(bytes.count("/Subtype /Type0"), 2);
    EXPECT_EQ(bytes.count("/FontFile2"), 2);
    const qsizetype xref = bytes.lastIndexOf("\nxref\n") + 1;
    ASSERT_GT(xref, 0);
    const QList<QByteArray> rows = bytes.mid(xref).split('\n');
    const int count = rows[1].split(' ')[1].toInt();
    ASSERT_GT(count, 10);
    for (int n = 1; n < count; ++n) {
        const qsizetype at = rows[2 + n].left(10).toLongLong();
        EXPECT_TRUE(bytes.mid(at).startsWith(QByteArray::number(n) + " 0 obj\n")) << n;
    }
    EXPECT_TRUE(bytes.endsWith("%%EOF\n"));
}

TEST(PdfFileTest, UnderlinedFontsArePaintedInstead) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ReportDefinition r = mixedFonts();
    r.font(reports::kTitleFont).underline = true;
    EXPECT_FALSE(reports::PdfFile::canEmbed(reports::pageFont(r.font(reports::kTitleFont))));
    EXPECT_TRUE(reports::PdfFile::canEmbed(reports::pageFont(r.font(reports::kBodyFont))));
    ReportCollection c(kernedStamps());
    reports::ReportJob job(r, c.table, c.settings(), reports::letterPage());
    const QString pdf = c.file(QStringLiteral("underlined.pdf"));
    ASSERT_EQ(job.runToPdf(pdf), RunResult::Completed);
    EXPECT_FALSE(contentsOf(pdf).contains("/Producer <FEFF"));  // QPdfWriter's file
    EXPECT_TRUE(layoutText(pdf).contains(QLatin1String("AVATAR Catalogue")));
}

TEST(PdfFileTest, AFileThatCannotBeWrittenFailsTheRun) {
    ReportCollection c(kernedStamps());
    reports::ReportJob job(mixedFonts(), c.table, c.settings(), reports::letterPage());
    EXPECT_EQ(job.runToPdf(c.file(QStringLiteral("no/such/folder/out.pdf"))), RunResult::Failed);
    EXPECT_FALSE(job.error().isEmpty());
}

TEST(FontGlyphsTest, WidthsAgreeWithQtsShapedText) {
    QImage device(1, 1, QImage::Format_Mono);
    const int dotsPerMeter = qRound(reports::kReferenceDpi / 0.0254);
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    for (const reports::PageFont& font :
         {reports::PageFont{QStringLiteral("Arial"), 8},
          reports::PageFont{QStringLiteral("Times New Roman"), 11, true},
          reports::PageFont{QStringLiteral("Courier New"), 10, false, true}}) {
        const reports::FontGlyphs glyphs(font);
        EXPECT_TRUE(glyphs.trueTypeOutlines()) << font.family.toStdString();
        QFont qt = reports::resolvedFont(font);
        qt.setPixelSize(glyphs.pixelSize());
        const QFontMetricsF metrics(qt, &device);
        for (const QString& text :
             {QStringLiteral("AVATAR To Wa P. Te"), QStringLiteral("1,234.56"),
              QStringLiteral("\u00d6sterreich \u00e9t\u00e9"),
              QStringLiteral("soft\u00adhyphen")}) {
            const double ours = glyphs.width64(text) / 64.0;
            // Qt rounds each kerned position to 1/64 dot; the kerning pairs here are few.
            EXPECT_NEAR(ours, metrics.horizontalAdvance(text), 4 / 64.0)
                << font.family.toStdString() << ": " << text.toStdString();
        }
        // A tab in a field's text takes the place of a blank.
        EXPECT_EQ(glyphs.width64(u"a\tb"), glyphs.width64(u"a b"));
    }
}
