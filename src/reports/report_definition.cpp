#include "reports/report_definition.h"

#include <QtEndian>
#include <cstring>
#include <string>

#include "engine/codepage.h"

namespace reports {

namespace {

using namespace offsets;

// Font record layout: name text of 50, size, four style flags, colour.
constexpr int kFontNameAt = 0;
constexpr int kFontPointsAt = 51;
constexpr int kFontBoldAt = 53;
constexpr int kFontItalicAt = 54;
constexpr int kFontUnderlineAt = 55;
constexpr int kFontStrikeAt = 56;
constexpr int kFontColorAt = 57;

// Line entry layout: name text of 30, field number, width, label text of 40.
constexpr int kEntryNameAt = 0;
constexpr int kEntryFieldAt = 31;
constexpr int kEntryWidthAt = 32;
constexpr int kEntryLabelAt = 34;

bool flagAt(const char* p) {
    return p[0] != 0;
}

double realAt(const char* p) {
    quint64 bits = qFromLittleEndian<quint64>(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

ReportFont decodeFont(const char* p) {
    ReportFont f;
    f.name = decodeText(p + kFontNameAt, kFontNameLength);
    f.size = decodeInt16(p + kFontPointsAt);
    f.bold = flagAt(p + kFontBoldAt);
    f.italic = flagAt(p + kFontItalicAt);
    f.underline = flagAt(p + kFontUnderlineAt);
    f.strikeOut = flagAt(p + kFontStrikeAt);
    f.color = qFromLittleEndian<quint32>(p + kFontColorAt);
    return f;
}

class Writer {
  public:
    explicit Writer(QByteArray& bytes) : p_(bytes.data()) {}

    void text(int at, const QString& value, int capacity) {
        const std::string bytes = engine::fromUtf8(value.toStdString(), engine::CodePage::Cp1252);
        const int n = std::min<int>(static_cast<int>(bytes.size()), capacity);
        p_[at] = static_cast<char>(n);
        std::memcpy(p_ + at + 1, bytes.data(), n);
    }
    void int16(int at, int value) { qToLittleEndian<qint16>(static_cast<qint16>(value), p_ + at); }
    void flag(int at, bool value) { p_[at] = value ? 1 : 0; }
    void real(int at, double value) {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        qToLittleEndian<quint64>(bits, p_ + at);
    }
    void font(int at, const ReportFont& f) {
        text(at + kFontNameAt, f.name, kFontNameLength);
        int16(at + kFontPointsAt, f.size);
        flag(at + kFontBoldAt, f.bold);
        flag(at + kFontItalicAt, f.italic);
        flag(at + kFontUnderlineAt, f.underline);
        flag(at + kFontStrikeAt, f.strikeOut);
        qToLittleEndian<quint32>(f.color, p_ + at + kFontColorAt);
    }
    void line(int at, const ReportLine& entries) {
        for (int i = 0; i < kEntriesPerLine; ++i) {
            const LineEntry& e = entries[i];
            const int base = at + i * kEntrySize;
            text(base + kEntryNameAt, e.name, kReportNameLength);
            p_[base + kEntryFieldAt] = static_cast<char>(e.fieldNumber);
            int16(base + kEntryWidthAt, e.width);
            text(base + kEntryLabelAt, e.label, kLabelLength);
        }
    }

  private:
    char* p_;
};

}  // namespace

std::int16_t decodeInt16(const char* bytes) {
    return qFromLittleEndian<qint16>(bytes);
}

QColor colorFromWindows(std::uint32_t value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::uint32_t colorToWindows(const QColor& color) {
    return std::uint32_t(color.red()) | (std::uint32_t(color.green()) << 8) |
           (std::uint32_t(color.blue()) << 16);
}

QString decodeText(const char* bytes, int capacity) {
    const int n = std::min<int>(static_cast<unsigned char>(bytes[0]), capacity);
    return QString::fromStdString(
        engine::toUtf8(std::string_view(bytes + 1, n), engine::CodePage::Cp1252));
}

LineEntry decodeEntry(const char* p) {
    LineEntry e;
    e.name = decodeText(p + kEntryNameAt, kReportNameLength);
    e.fieldNumber = static_cast<unsigned char>(p[kEntryFieldAt]);
    e.width = decodeInt16(p + kEntryWidthAt);
    e.label = decodeText(p + kEntryLabelAt, kLabelLength);
    return e;
}

ReportLine decodeLine(const char* p) {
    ReportLine line;
    for (int i = 0; i < kEntriesPerLine; ++i) line[i] = decodeEntry(p + i * kEntrySize);
    return line;
}

ReportDefinition decodeReport(const QByteArray& bytes, qsizetype at, bool* ok) {
    const bool whole = at >= 0 && bytes.size() - at >= kReportRecordSize;
    if (ok) *ok = whole;
    ReportDefinition r;
    if (!whole) return r;
    const char* p = bytes.constData() + at;
    r.name = decodeText(p + kName, kReportNameLength);
    r.width = decodeInt16(p + kWidth);
    for (int i = 0; i < 5; ++i) r.fonts[i] = decodeFont(p + kFonts + i * kFontSize);
    r.columnHeaders = flagAt(p + kColumnHeaders);
    r.pageNumbers = flagAt(p + kPageNumbers);
    r.landscape = flagAt(p + kLandscape);
    r.dateOnPages = flagAt(p + kDateOnPages);
    r.useTotals = flagAt(p + kUseTotals);
    r.numberOfLines = decodeInt16(p + kNumberOfLines);
    r.totals = decodeLine(p + kTotalsLine);
    r.topMargin = realAt(p + kTopMargin);
    r.bottomMargin = realAt(p + kBottomMargin);
    r.leftMargin = realAt(p + kLeftMargin);
    r.rightMargin = realAt(p + kRightMargin);
    r.verticalLines = flagAt(p + kVerticalLines);
    r.horizontalLines = flagAt(p + kHorizontalLines);
    for (int i = 0; i < 3; ++i) r.titles[i] = decodeText(p + kTitles + i * 81, kTitleLength);
    for (int i = 0; i < kMaxBodyLines; ++i) r.lines[i] = decodeLine(p + kBodyLines + i * kLineSize);
    r.groupLevel1 = flagAt(p + kGroupLevel1);
    r.groupLevel2 = flagAt(p + kGroupLevel2);
    return r;
}

QByteArray encodeReport(const ReportDefinition& r) {
    QByteArray bytes(kReportRecordSize, '\0');
    Writer w(bytes);
    w.text(kName, r.name, kReportNameLength);
    w.int16(kWidth, r.width);
    for (int i = 0; i < 5; ++i) w.font(kFonts + i * kFontSize, r.fonts[i]);
    w.flag(kColumnHeaders, r.columnHeaders);
    w.flag(kPageNumbers, r.pageNumbers);
    w.flag(kLandscape, r.landscape);
    w.flag(kDateOnPages, r.dateOnPages);
    w.flag(kUseTotals, r.useTotals);
    w.int16(kNumberOfLines, r.numberOfLines);
    w.line(kTotalsLine, r.totals);
    w.real(kTopMargin, r.topMargin);
    w.real(kBottomMargin, r.bottomMargin);
    w.real(kLeftMargin, r.leftMargin);
    w.real(kRightMargin, r.rightMargin);
    w.flag(kVerticalLines, r.verticalLines);
    w.flag(kHorizontalLines, r.horizontalLines);
    for (int i = 0; i < 3; ++i) w.text(kTitles + i * 81, r.titles[i], kTitleLength);
    for (int i = 0; i < kMaxBodyLines; ++i) w.line(kBodyLines + i * kLineSize, r.lines[i]);
    w.flag(kGroupLevel1, r.groupLevel1);
    w.flag(kGroupLevel2, r.groupLevel2);
    return bytes;
}

ReportLine fillerLine(int firstWidth) {
    ReportLine line;
    line[0].width = firstWidth;
    return line;
}

}  // namespace reports
