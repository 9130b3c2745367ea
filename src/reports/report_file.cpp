#include "reports/report_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "collection/stamp_schema.h"
#include "reports/report_margins.h"

namespace reports {

namespace {

constexpr qint64 kRecord = kReportRecordSize;

QString inFolderPath(const QString& folder, const char* name) {
    return QDir(folder).filePath(QString::fromLatin1(name));
}

bool writeAt(QFile& file, qint64 offset, const QByteArray& bytes) {
    return file.seek(offset) && file.write(bytes) == bytes.size();
}

// Opens for read and write, creating the file when it does not exist.
bool openForSaving(QFile& file) {
    return file.open(QIODevice::ReadWrite);
}

// Field number of a converted entry: looked up by its name (field table for body lines, the
// three total names for the totals line); the byte at the same place of the old entry when the
// name is not known.
int convertedFieldNumber(const LineEntry& e, bool totalsLine) {
    if (!e.isField()) return e.fieldNumber;
    if (totalsLine) {
        static const char* const kTotals[] = {"Market Value", "Purchase Price", "Quantity"};
        for (int i = 0; i < 3; ++i)
            if (e.name.compare(QLatin1String(kTotals[i]), Qt::CaseInsensitive) == 0) return i + 1;
        return e.fieldNumber;
    }
    const int n = collection::schemaFieldNumber(e.name.toStdString());
    return n > 0 ? n : e.fieldNumber;
}

ReportLine convertedLine(const char* bytes, bool totalsLine) {
    ReportLine line = decodeLine(bytes);
    for (LineEntry& e : line) e.fieldNumber = convertedFieldNumber(e, totalsLine);
    return line;
}

bool isDefaultName(const QString& name) {
    for (const ReportDefinition& d : defaultReports())
        if (d.name == name) return true;
    return false;
}

}  // namespace

ReportFile ReportFile::inFolder(const QString& folder) {
    return ReportFile(inFolderPath(folder, kReportFileName));
}

bool ReportFile::exists() const {
    return QFileInfo::exists(path_);
}

QStringList ReportFile::names() const {
    QStringList names;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return names;
    const QByteArray bytes = file.readAll();
    for (qsizetype at = 0; bytes.size() - at >= kRecord; at += kRecord)
        names << decodeText(bytes.constData() + at + offsets::kName, kReportNameLength);
    return names;
}

int ReportFile::count() const {
    const QFileInfo info(path_);
    return info.exists() ? static_cast<int>(info.size() / kRecord) : 0;
}

std::optional<ReportDefinition> ReportFile::read(int k) const {
    QFile file(path_);
    if (k < 0 || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    if ((qint64(k) + 1) * kRecord > file.size() || !file.seek(qint64(k) * kRecord))
        return std::nullopt;
    const QByteArray bytes = file.read(kRecord);
    bool ok = false;
    ReportDefinition report = decodeReport(bytes, 0, &ok);
    if (!ok) return std::nullopt;
    clampMargins(report, letterSize(report.landscape));
    return report;
}

bool ReportFile::replace(int k, const ReportDefinition& report) const {
    QFile file(path_);
    if (k < 0 || !openForSaving(file)) return false;
    if ((qint64(k) + 1) * kRecord > file.size()) return false;
    return writeAt(file, qint64(k) * kRecord, encodeReport(report));
}

bool ReportFile::append(const ReportDefinition& report) const {
    QFile file(path_);
    if (!openForSaving(file)) return false;
    // A partial record at the end (a damaged file) is overwritten, so records stay aligned.
    return writeAt(file, (file.size() / kRecord) * kRecord, encodeReport(report));
}

bool ReportFile::remove(int k) const {
    QFile file(path_);
    if (k < 0 || !file.open(QIODevice::ReadWrite)) return false;
    const qint64 records = file.size() / kRecord;
    if (k >= records) return false;
    for (qint64 i = k + 1; i < records; ++i) {
        if (!file.seek(i * kRecord)) return false;
        const QByteArray bytes = file.read(kRecord);
        if (bytes.size() != kRecord || !writeAt(file, (i - 1) * kRecord, bytes)) return false;
    }
    return file.resize((records - 1) * kRecord);
}

bool ReportFile::writeDefaults() const {
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    for (const ReportDefinition& r : defaultReports()) {
        const QByteArray bytes = encodeReport(r);
        if (file.write(bytes) != bytes.size()) return false;
    }
    return true;
}

void ensureReportFile(const QString& folder) {
    const ReportFile file = ReportFile::inFolder(folder);
    if (!file.exists()) file.writeDefaults();
    convertOldReportFile(folder);
}

ReportDefinition convertOldRecord(const char* p) {
    // Earlier layout: name, width, 50 unused bytes, three flags, line count, totals line,
    // three titles, twelve body lines.
    ReportDefinition r = blankDefaultReport();
    r.name = decodeText(p, kReportNameLength);
    r.width = decodeInt16(p + 31);
    r.columnHeaders = p[83] != 0;
    r.pageNumbers = p[84] != 0;
    r.useTotals = p[85] != 0;
    r.numberOfLines = decodeInt16(p + 86);
    r.totals = convertedLine(p + 88, true);
    for (int i = 0; i < 3; ++i) r.titles[i] = decodeText(p + 1588 + i * 81, kTitleLength);
    for (int i = 0; i < kMaxBodyLines; ++i)
        r.lines[i] = convertedLine(p + 1831 + i * offsets::kLineSize, false);
    const int size = r.width == 90 ? 10 : 8;
    for (int kind = kTitleFont; kind <= kFootnoteFont; ++kind) {
        const bool bold = kind == kTitleFont || kind == kColumnHeaderFont || kind == kFootnoteFont;
        r.font(kind) = ReportFont{QStringLiteral("Courier New"), size, bold};
    }
    // Settings the earlier layout did not have.
    r.landscape = false;
    r.dateOnPages = true;
    r.verticalLines = false;
    r.horizontalLines = false;
    r.groupLevel1 = true;
    r.groupLevel2 = false;
    return r;
}

ConversionResult convertOldReportFile(const QString& folder) {
    ConversionResult result;
    const QString oldPath = inFolderPath(folder, kOldReportFileName);
    QFile old(oldPath);
    if (!old.exists()) return result;
    result.found = true;
    if (!old.open(QIODevice::ReadOnly)) return result;
    const QByteArray bytes = old.readAll();
    const bool readWhole =
        old.error() == QFileDevice::NoError && bytes.size() % kOldReportRecordSize == 0;
    old.close();

    const ReportFile target = ReportFile::inFolder(folder);
    bool appendFailed = false;
    for (qsizetype at = 0; bytes.size() - at >= kOldReportRecordSize; at += kOldReportRecordSize) {
        const ReportDefinition r = convertOldRecord(bytes.constData() + at);
        if (isDefaultName(r.name)) {
            ++result.skipped;
        } else if (target.append(r)) {
            ++result.converted;
        } else {
            appendFailed = true;
        }
    }
    if (readWhole && !appendFailed) {
        QFile::remove(oldPath);
    } else {
        const QString aside = inFolderPath(folder, kOldReportAsideName);
        QFile::remove(aside);
        result.setAside = QFile::rename(oldPath, aside);
    }
    return result;
}

}  // namespace reports
