// Refitting report lines to a width, and the layout drawing's boxes and hit test.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

#include "reports/layout_geometry.h"
#include "reports/line_refit.h"

using namespace reports;

namespace {

ReportLine lineOfWidths(std::initializer_list<int> widths) {
    ReportLine line = fillerLine(0);
    int i = 0;
    for (int w : widths) line[i++].width = w;
    return line;
}

std::vector<int> widthsOf(const ReportLine& line) {
    std::vector<int> widths;
    for (const LineEntry& e : line) widths.push_back(e.width);
    return widths;
}

}  // namespace

TEST(RefitLine, WideningGivesTheFirstUnusedEntryTheDifferenceAndKeepsItsKind) {
    ReportLine line = lineOfWidths({30, 30, 30});
    line[3] = {QStringLiteral("COUNTRY"), 3, 0, QString()};
    refitLine(line, 120);
    EXPECT_EQ(line[3].width, 30);
    EXPECT_EQ(line[3].name, QStringLiteral("COUNTRY"));
    EXPECT_EQ(line[3].fieldNumber, 3);
    EXPECT_EQ(usedEntries(line), 4);

    // Every entry in use: the 20th takes the shortfall.
    ReportLine full = fillerLine(0);
    for (LineEntry& e : full) e.width = 4;
    full[19].width = 14;  // 19 x 4 + 14 = 90
    refitLine(full, 120);
    EXPECT_EQ(full[19].width, 44);
    EXPECT_EQ(full[0].width, 4);
}

TEST(RefitLine, NarrowingCutsTheEntryThatCrossesTheWidthAndEmptiesTheRest) {
    ReportLine line = lineOfWidths({100, 40, 10});
    refitLine(line, 120);
    EXPECT_EQ(widthsOf(line)[0], 100);
    EXPECT_EQ(widthsOf(line)[1], 20);
    EXPECT_EQ(widthsOf(line)[2], 0);

    // An entry wider than the line alone becomes the whole line.
    ReportLine wide = lineOfWidths({200, 10});
    refitLine(wide, 90);
    EXPECT_EQ(wide[0].width, 90);
    EXPECT_EQ(wide[1].width, 0);
}

TEST(RefitLine, AFirstEntrySetOnAnEmptyLineLeavesTheRestToTheNext) {
    ReportLine line = fillerLine(120);
    line[0].width = 20;
    refitLine(line, 120);
    EXPECT_EQ(line[0].width, 20);
    EXPECT_EQ(line[1].width, 100);
    EXPECT_EQ(usedEntries(line), 2);

    // A width of 0, or a negative one from a damaged file, counts as unused.
    ReportLine zero = lineOfWidths({0});
    refitLine(zero, 150);
    EXPECT_EQ(zero[0].width, 150);
    ReportLine negative = lineOfWidths({-5, 10});
    refitLine(negative, 90);
    EXPECT_EQ(negative[0].width, 90);
    EXPECT_EQ(negative[1].width, 0);
}

TEST(LayoutGeometry, BoxesSpreadWidthsOverTheDrawingAndTheLastReachesTheEdge) {
    LayoutGeometry g;
    g.reportWidth = 120;
    g.bodyLines = 2;
    const QRect row = g.rowRect(1);
    EXPECT_EQ(row, QRect(QPoint(4, 75), QPoint(629, 94)));
    EXPECT_EQ(g.rowRect(2).top(), 95);
    EXPECT_EQ(g.rowRect(kTotalsRow), QRect(QPoint(4, 355), QPoint(629, 375)));

    const auto boxes = entryBoxes(lineOfWidths({60, 30}), row, 120);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].rect.left(), 4);
    EXPECT_EQ(boxes[0].rect.right(), 4 + 625 * 60 / 120 - 1);
    // The two widths sum to 90 of 120: the last box still runs to the right edge.
    EXPECT_EQ(boxes[1].rect.right(), 629);

    // A line with no entry in use is one box for its first entry.
    const auto empty = entryBoxes(fillerLine(0), row, 120);
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].rect, row);

    LayoutGeometry big = g;
    big.scale = 1.5;
    EXPECT_EQ(big.rowRect(1), QRect(QPoint(6, 112), QPoint(943, 141)));
}

TEST(LayoutGeometry, HitTestFindsTheRowAndEntryOnlyInShownRows) {
    ReportDefinition report;
    report.line(1) = lineOfWidths({60, 60});
    report.line(2) = fillerLine(120);
    report.totals = lineOfWidths({30, 90});
    LayoutGeometry g;
    g.reportWidth = 120;
    g.bodyLines = 2;

    EXPECT_EQ(hitTest(g, report, {10, 80}), (LayoutHit{1, 0}));
    EXPECT_EQ(hitTest(g, report, {400, 80}), (LayoutHit{1, 1}));
    EXPECT_EQ(hitTest(g, report, {629, 100}), (LayoutHit{2, 0}));
    EXPECT_FALSE(hitTest(g, report, {400, 120}));  // below the body rows
    EXPECT_FALSE(hitTest(g, report, {2, 80}));     // left of the drawing
    EXPECT_FALSE(hitTest(g, report, {100, 360}));  // totals row not shown
    g.totalsShown = true;
    EXPECT_EQ(hitTest(g, report, {100, 360}), (LayoutHit{kTotalsRow, 0}));
    EXPECT_EQ(hitTest(g, report, {300, 360}), (LayoutHit{kTotalsRow, 1}));
    g.bodyLines = 0;
    EXPECT_FALSE(hitTest(g, report, {10, 80}));
}

TEST(LayoutGeometry, EachKindOfEntryShowsItsCaptionColourAndAlignment) {
    const QStringList labels = {QStringLiteral("Catalog"), QStringLiteral("Description"),
                                QStringLiteral("Land")};
    const QFontMetrics metrics{QFont(QStringLiteral("Arial"), 8)};
    const auto caption = [&](const LineEntry& e, bool totals = false, int width = 500) {
        return entryCaption(e, totals, labels, metrics, width);
    };
    const EntryCaption filler = caption({kFillerName, 0, 10, QString()});
    EXPECT_EQ(filler.text, QStringLiteral("Filler"));
    EXPECT_EQ(filler.color, QColor(Qt::darkGreen));
    EXPECT_EQ(filler.align, Qt::AlignHCenter);
    const EntryCaption label = caption({kLabelName, 0, 10, QStringLiteral("Year:")});
    EXPECT_EQ(label.text, QStringLiteral("Year:"));
    EXPECT_EQ(label.color, QColor(Qt::red));
    EXPECT_EQ(label.align, Qt::AlignRight);
    // A field shows the label of the field that prints (its number); a total shows its name.
    const EntryCaption field = caption({QStringLiteral("COUNTRY"), 3, 20, QString()});
    EXPECT_EQ(field.text, QStringLiteral("Land"));
    EXPECT_EQ(field.color, QColor(Qt::black));
    EXPECT_EQ(field.align, Qt::AlignLeft);
    EXPECT_EQ(caption({QStringLiteral("Quantity"), 3, 10, QString()}, true).text,
              QStringLiteral("Quantity"));

    // Too wide: cut from the end until it fits, then left-aligned.
    const QString longLabel = QStringLiteral("Purchase Price Total:");
    const int room = metrics.horizontalAdvance(QStringLiteral("Purchase")) + 1;
    const EntryCaption cut = caption({kLabelName, 0, 5, longLabel}, false, room);
    EXPECT_TRUE(longLabel.startsWith(cut.text));
    EXPECT_LT(cut.text.size(), longLabel.size());
    EXPECT_LE(metrics.horizontalAdvance(cut.text), room);
    EXPECT_GT(metrics.horizontalAdvance(longLabel.left(cut.text.size() + 1)), room);
    EXPECT_EQ(cut.align, Qt::AlignLeft);
}
