// Where the designer's layout drawing puts each entry of a report's lines, and which entry a
// mouse position falls on. Plain geometry, no widgets: TRepLayout paints from `entryBoxes` and
// chooses with `hitTest`, so both always agree.
//
// At a scale of 1 the drawing spans x = 4 to 629; body line n (1..12) is the row from
// y = 75 + 20 (n - 1), 20 high; the totals row spans y = 355 to 376. Every value is multiplied
// by the window scale factor and truncated. In a row, entry i's box ends at the left edge plus
// (drawing width / report width) x the sum of the widths of entries 1..i; the boxes stop at the
// first entry of width 0 and the last box reaches the right edge. A row whose first entry has
// width 0 is one box for entry 1, so an emptied line can still be chosen and filled.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <optional>
#include <vector>

#include "reports/report_definition.h"

class QFontMetrics;

namespace reports {

// The line a layout row shows: body lines 1..12, or the totals line.
inline constexpr int kTotalsRow = 0;

struct LayoutGeometry {
    double scale = 1.0;
    int reportWidth = 120;  // characters per line the boxes are spread over
    int bodyLines = 0;      // rows drawn for the body, 0..12
    bool totalsShown = false;

    int left() const;
    int right() const;
    // The rectangle of a row: a body line 1..bodyLines, or kTotalsRow.
    QRect rowRect(int row) const;
};

struct EntryBox {
    int entry = 0;  // 0-based position in the line
    QRect rect;
};

std::vector<EntryBox> entryBoxes(const ReportLine& line, const QRect& row, int reportWidth);

struct LayoutHit {
    int row = 0;    // body line 1..12, or kTotalsRow
    int entry = 0;  // 0-based
    bool operator==(const LayoutHit&) const = default;
};

// What an entry's box shows: a field its field label (from `fieldLabels`, by field number, as
// it prints) in black, left-aligned; a totals-line entry its total's name in black; a label its
// text in red, right-aligned; a filler "Filler" in green, centred. A text wider than `width`
// loses characters from its end until it fits and is then left-aligned.
struct EntryCaption {
    QString text;
    QColor color;
    Qt::Alignment align;
};

EntryCaption entryCaption(const LineEntry& entry, bool totals, const QStringList& fieldLabels,
                          const QFontMetrics& metrics, int width);

// The row and entry under `point`, given each row's line; nothing outside every shown row.
std::optional<LayoutHit> hitTest(const LayoutGeometry& geometry, const ReportDefinition& report,
                                 QPoint point);

}  // namespace reports
