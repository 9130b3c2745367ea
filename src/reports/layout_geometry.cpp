#include "reports/layout_geometry.h"

#include <QFontMetrics>
#include <algorithm>

namespace reports {

namespace {

constexpr int kLeft = 4;
constexpr int kRight = 629;
constexpr int kFirstBodyTop = 75;
constexpr int kRowHeight = 20;
constexpr int kTotalsTop = 355;
constexpr int kTotalsBottom = 376;

}  // namespace

int LayoutGeometry::left() const {
    return int(kLeft * scale);
}

int LayoutGeometry::right() const {
    return int(kRight * scale);
}

QRect LayoutGeometry::rowRect(int row) const {
    int top = 0, bottom = 0;
    if (row == kTotalsRow) {
        top = int(kTotalsTop * scale);
        bottom = int(kTotalsBottom * scale);
    } else {
        top = int((kFirstBodyTop + kRowHeight * (row - 1)) * scale);
        bottom = int((kFirstBodyTop + kRowHeight * row) * scale);
    }
    return QRect(QPoint(left(), top), QPoint(right(), bottom - 1));
}

std::vector<EntryBox> entryBoxes(const ReportLine& line, const QRect& row, int reportWidth) {
    std::vector<EntryBox> boxes;
    const int width = std::max(1, reportWidth);
    const double perChar = double(row.right() - row.left()) / width;
    long long sum = 0;
    int x = row.left();
    for (int i = 0; i < kEntriesPerLine && line[i].width > 0; ++i) {
        sum += line[i].width;
        const int end = std::min(row.right() + 1, row.left() + int(perChar * double(sum)));
        boxes.push_back({i, QRect(x, row.top(), std::max(0, end - x), row.height())});
        x = end;
    }
    if (boxes.empty()) boxes.push_back({0, row});
    QRect& last = boxes.back().rect;
    last.setRight(row.right());
    return boxes;
}

EntryCaption entryCaption(const LineEntry& entry, bool totals, const QStringList& fieldLabels,
                          const QFontMetrics& metrics, int width) {
    EntryCaption caption;
    if (entry.isFiller()) {
        caption = {QStringLiteral("Filler"), Qt::darkGreen, Qt::AlignHCenter};
    } else if (entry.isLabel()) {
        caption = {entry.label, Qt::red, Qt::AlignRight};
    } else {
        const QString text =
            totals ? entry.name : fieldLabels.value(entry.fieldNumber - 1, entry.name);
        caption = {text, Qt::black, Qt::AlignLeft};
    }
    if (metrics.horizontalAdvance(caption.text) <= width) return caption;
    while (!caption.text.isEmpty() && metrics.horizontalAdvance(caption.text) > width)
        caption.text.chop(1);
    caption.align = Qt::AlignLeft;
    return caption;
}

std::optional<LayoutHit> hitTest(const LayoutGeometry& geometry, const ReportDefinition& report,
                                 QPoint point) {
    const auto inRow = [&](int row, const ReportLine& line) -> std::optional<LayoutHit> {
        const QRect rect = geometry.rowRect(row);
        if (!rect.contains(point)) return std::nullopt;
        for (const EntryBox& box : entryBoxes(line, rect, geometry.reportWidth))
            if (box.rect.contains(point)) return LayoutHit{row, box.entry};
        return std::nullopt;
    };
    const int lines = std::clamp(geometry.bodyLines, 0, kMaxBodyLines);
    for (int row = 1; row <= lines; ++row)
        if (auto hit = inRow(row, report.line(row))) return hit;
    if (geometry.totalsShown) return inRow(kTotalsRow, report.totals);
    return std::nullopt;
}

}  // namespace reports
