// Laid-out pages: what the page engine produces and every output draws or keeps.
//
// Coordinates are inches from the top-left corner of the page in its orientation. A page is a
// list of placed items: text runs (already positioned and justified, so drawing never measures)
// and straight lines (boxes are four lines). Fonts are kept once per document and referenced by
// index. A page is small (a few hundred items), so keeping or re-making one is cheap.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <vector>

namespace reports {

// Resolution of the device every text is measured on, in dots per inch.
inline constexpr double kReferenceDpi = 1200.0;

struct PageFont {
    QString family;  // as the report names it ("Arial", "Courier New", ...)
    int points = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color = Qt::black;

    bool operator==(const PageFont&) const = default;
};

struct PlacedText {
    double x = 0;         // left edge of the run
    double baseline = 0;  // baseline of the run
    int font = 0;         // index into PageDocument::fonts
    QString text;
};

struct PlacedLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A picture file drawn to fill a rectangle (inches; the rectangle already has the picture's
// shape as shown, its orientation applied).
struct PlacedImage {
    double x = 0, y = 0, width = 0, height = 0;  // top-left corner and size
    QString path;
};

struct Page {
    std::vector<PlacedText> texts;
    std::vector<PlacedLine> lines;
    std::vector<PlacedImage> images;  // drawn under the lines and texts
};

// Pictures are decoded at most this fine for drawing and for PDF files.
inline constexpr double kPictureDpi = 300.0;

// The picture of `placed`, turned as its file says, decoded no larger than `largest` pixels
// (nor finer than kPictureDpi over its rectangle); a null image when the file cannot be read.
// Reads the file each time: nothing is kept.
QImage decodePicture(const PlacedImage& placed, QSizeF largest);

// `lines` with the segments that lie on one horizontal or vertical line and touch or overlap
// joined into one (the shared edges of neighbouring boxes drawn once); other lines as they are.
// Positions within a millionth of an inch count as the same.
std::vector<PlacedLine> mergedLines(const std::vector<PlacedLine>& lines);

// What a painter needs besides the pages themselves.
struct PageSetup {
    QSizeF size{8.5, 11.0};  // inches, in the page's orientation
    bool landscape = false;
};

// The Qt font that draws `font`: "Arial" and "Courier New" (and the other usual names) resolve
// to their metric twins Liberation Sans, Serif and Mono, so widths agree on every machine.
QFont resolvedFont(const PageFont& font);
// The family that stands in for `family` ("Arial" -> "Liberation Sans").
QString substituteFamily(const QString& family);

}  // namespace reports
