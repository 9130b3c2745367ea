#include "reports/page_model.h"

#include <QImageIOHandler>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace reports {

QImage decodePicture(const PlacedImage& placed, QSizeF largest) {
    QImageReader reader(placed.path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (stored.isValid()) {
        QSizeF fine =
            largest.boundedTo(QSizeF(placed.width * kPictureDpi, placed.height * kPictureDpi));
        if (reader.transformation() & QImageIOHandler::TransformationRotate90) fine.transpose();
        // JPEG files decode at a half, quarter or eighth of their size for a fraction of the
        // work, so a large photograph drawn small is cheap.
        const QSize want =
            stored.scaled(fine.toSize().expandedTo(QSize(1, 1)), Qt::KeepAspectRatio);
        if (want.width() < stored.width()) reader.setScaledSize(want);
    }
    return reader.read();
}

QString substituteFamily(const QString& family) {
    struct Twin {
        const char* name;
        const char* twin;
    };
    static const Twin kTwins[] = {
        {"Arial", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
    };
    for (const Twin& t : kTwins)
        if (family.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(t.twin);
    return family.isEmpty() ? QStringLiteral("Liberation Sans") : family;
}

QFont resolvedFont(const PageFont& font) {
    QFont f(substituteFamily(font.family));
    f.setPointSize(font.points);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    // Unhinted outlines scale linearly, so a page measured at one resolution draws the same at
    // any other.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

std::vector<PlacedLine> mergedLines(const std::vector<PlacedLine>& lines) {
    constexpr double kSame = 1e-6;  // inch
    struct Segment {
        bool vertical;
        long long at;  // position across the segment, in millionths of an inch
        double across, from, to;
    };
    std::vector<Segment> straight;
    std::vector<PlacedLine> out;
    straight.reserve(lines.size());
    for (const PlacedLine& l : lines) {
        if (std::abs(l.y1 - l.y2) < kSame)
            straight.push_back({false, std::llround(l.y1 / kSame), l.y1, std::min(l.x1, l.x2),
                                std::max(l.x1, l.x2)});
        else if (std::abs(l.x1 - l.x2) < kSame)
            straight.push_back({true, std::llround(l.x1 / kSame), l.x1, std::min(l.y1, l.y2),
                                std::max(l.y1, l.y2)});
        else
            out.push_back(l);
    }
    std::sort(straight.begin(), straight.end(), [](const Segment& a, const Segment& b) {
        if (a.vertical != b.vertical) return a.vertical < b.vertical;
        if (a.at != b.at) return a.at < b.at;
        return a.from < b.from;
    });
    for (std::size_t i = 0; i < straight.size();) {
        Segment joined = straight[i];
        for (++i; i < straight.size() && straight[i].vertical == joined.vertical &&
                  straight[i].at == joined.at && straight[i].from <= joined.to + kSame;
             ++i)
            joined.to = std::max(joined.to, straight[i].to);
        if (joined.vertical)
            out.push_back({joined.across, joined.from, joined.across, joined.to});
        else
            out.push_back({joined.from, joined.across, joined.to, joined.across});
    }
    return out;
}

}  // namespace reports
