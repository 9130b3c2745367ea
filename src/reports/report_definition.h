// One report layout: the record of TESSELON.URP as a value, and its byte form.
//
// A record is 20,622 bytes, little-endian, with length-prefixed texts (one length byte, then the
// text's full capacity) in Windows-1252. `decodeReport` reads every field at its fixed offset
// from a buffer that must hold a whole record; `encodeReport` writes one (texts padded with
// zeros, the reserved tail zero). Nothing here touches files.
//
// Values read from a file are kept as stored, out-of-range widths and counts included: the
// renderer clamps what it uses, so a damaged record draws what fits instead of failing.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

namespace reports {

inline constexpr int kReportRecordSize = 20622;
inline constexpr int kEntriesPerLine = 20;
inline constexpr int kMaxBodyLines = 12;
inline constexpr int kReportNameLength = 30;
inline constexpr int kTitleLength = 80;
inline constexpr int kLabelLength = 40;
inline constexpr int kFontNameLength = 50;

inline const QString kFillerName = QStringLiteral("<FILLER>");
inline const QString kLabelName = QStringLiteral("<LABEL>");

// Font kinds as numbered by the renderer; the spare font (4) is stored but never drawn.
enum FontKind {
    kTitleFont = 1,
    kColumnHeaderFont = 2,
    kBodyFont = 3,
    kSpareFont = 4,
    kFootnoteFont = 5
};

struct ReportFont {
    QString name;
    int size = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint32_t color = 0;  // Windows colour value 0x00BBGGRR

    bool operator==(const ReportFont&) const = default;
};

// One cell of a line: a filler, a constant label, or a field (body lines: stamp field 1..25;
// totals line: running total 1..3).
struct LineEntry {
    QString name = kFillerName;
    int fieldNumber = 0;
    int width = 0;
    QString label;

    bool isFiller() const { return name == kFillerName; }
    bool isLabel() const { return name == kLabelName; }
    bool isField() const { return !isFiller() && !isLabel(); }
    bool operator==(const LineEntry&) const = default;
};

using ReportLine = std::array<LineEntry, kEntriesPerLine>;

struct ReportDefinition {
    QString name;
    int width = 120;                  // characters per line: 90, 120 or 150
    std::array<ReportFont, 5> fonts;  // index = FontKind - 1
    bool columnHeaders = true;
    bool pageNumbers = true;
    bool landscape = false;
    bool dateOnPages = true;
    bool useTotals = true;
    int numberOfLines = 1;  // 0..12
    ReportLine totals;
    double topMargin = 0.5;
    double bottomMargin = 0.5;
    double leftMargin = 0.5;
    double rightMargin = 0.5;
    bool verticalLines = false;
    bool horizontalLines = false;
    std::array<QString, 3> titles;
    std::array<ReportLine, kMaxBodyLines> lines;
    bool groupLevel1 = true;
    bool groupLevel2 = false;

    ReportFont& font(int kind) { return fonts.at(kind - 1); }
    const ReportFont& font(int kind) const { return fonts.at(kind - 1); }
    // Body line 1..12.
    ReportLine& line(int number) { return lines.at(number - 1); }
    const ReportLine& line(int number) const { return lines.at(number - 1); }

    bool operator==(const ReportDefinition&) const = default;
};

// Byte offsets of the record's fields.
namespace offsets {
inline constexpr int kName = 0;
inline constexpr int kWidth = 31;
inline constexpr int kFonts = 33;  // five font records of 61 bytes
inline constexpr int kFontSize = 61;
inline constexpr int kColumnHeaders = 338;
inline constexpr int kPageNumbers = 339;
inline constexpr int kLandscape = 340;
inline constexpr int kDateOnPages = 341;
inline constexpr int kUseTotals = 342;
inline constexpr int kNumberOfLines = 343;
inline constexpr int kTotalsLine = 345;
inline constexpr int kTopMargin = 1845;
inline constexpr int kBottomMargin = 1853;
inline constexpr int kLeftMargin = 1861;
inline constexpr int kRightMargin = 1869;
inline constexpr int kVerticalLines = 1877;
inline constexpr int kHorizontalLines = 1878;
inline constexpr int kTitles = 1879;  // three texts of 80, 81 bytes apart
inline constexpr int kBodyLines = 2122;
inline constexpr int kGroupLevel1 = 20122;
inline constexpr int kGroupLevel2 = 20123;
inline constexpr int kReserved = 20124;
inline constexpr int kEntrySize = 75;
inline constexpr int kLineSize = kEntrySize * kEntriesPerLine;  // 1500
}  // namespace offsets

// `bytes` must hold at least kReportRecordSize bytes from `at`; otherwise a blank definition is
// returned and `ok` (when given) set to false.
ReportDefinition decodeReport(const QByteArray& bytes, qsizetype at = 0, bool* ok = nullptr);
QByteArray encodeReport(const ReportDefinition& report);

// Entries 20 bytes and 75 bytes apart are read the same way in the older record layout.
LineEntry decodeEntry(const char* bytes);
ReportLine decodeLine(const char* bytes);
// A length-prefixed text of capacity `capacity` at `bytes`.
QString decodeText(const char* bytes, int capacity);
std::int16_t decodeInt16(const char* bytes);

// Stored font colours are Windows colour values, 0x00BBGGRR.
QColor colorFromWindows(std::uint32_t value);
std::uint32_t colorToWindows(const QColor& color);

// A line of 20 fillers, the first `firstWidth` wide and the rest 0.
ReportLine fillerLine(int firstWidth = 150);

// The blank record the six default reports start from: width 120, fonts "Arial" 8 point.
ReportDefinition blankDefaultReport();
// The six reports of a new TESSELON.URP, in file order.
std::array<ReportDefinition, 6> defaultReports();
// What New Report starts from: width 90, fonts "Courier New" 10 point, lines on.
ReportDefinition newReportTemplate();

}  // namespace reports
