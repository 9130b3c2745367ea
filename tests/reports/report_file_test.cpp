// TESSELON.URP: the default set byte for byte, the five file operations, the conversion of
// STAMP.URP, and damaged files.
#include "reports/report_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>

using namespace reports;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString textAt(const QByteArray& b, int at) {
    return QString::fromLatin1(b.constData() + at + 1, static_cast<unsigned char>(b[at]));
}
int int16At(const QByteArray& b, int at) {
    return qFromLittleEndian<qint16>(b.constData() + at);
}

// A record of the earlier 19,831-byte layout carrying `r`'s name, width, flags, titles and lines.
QByteArray oldRecord(const ReportDefinition& r) {
    const QByteArray now = encodeReport(r);
    QByteArray old(kOldReportRecordSize, '\0');
    std::memcpy(old.data(), now.constData(), 33);  // name and width
    old[83] = r.columnHeaders;
    old[84] = r.pageNumbers;
    old[85] = r.useTotals;
    std::memcpy(old.data() + 86, now.constData() + offsets::kNumberOfLines, 2);
    std::memcpy(old.data() + 88, now.constData() + offsets::kTotalsLine, offsets::kLineSize);
    std::memcpy(old.data() + 1588, now.constData() + offsets::kTitles, 243);
    std::memcpy(old.data() + 1831, now.constData() + offsets::kBodyLines, 12 * offsets::kLineSize);
    return old;
}

class ReportFileTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString folder() const { return dir.path(); }
    ReportFile file() const { return ReportFile::inFolder(folder()); }
};

}  // namespace

TEST_F(ReportFileTest, FreshStartWritesSixDefaultReportsAtTheirOffsets) {
    ensureReportFile(folder());
    const QByteArray b = readAll(file().path());
    ASSERT_EQ(b.size(), 123732);

    struct Expected {
        const char* name;
        int width, lines, fontSize, firstWidth;
        const char* firstEntry;
        int firstField;
    };
    const Expected expected[] = {
        {"120 Column 1 Line Report", 120, 1, 8, 8, "Catalog", 1},
        {"120 Column 2 Line Report", 120, 2, 8, 8, "<LABEL>", 0},
        {"Full Report", 120, 8, 8, 8, "<LABEL>", 0},
        {"Statistic/Summary Report", 90, 0, 10, 150, "<FILLER>", 0},
        {"90 Column 1 Line Report", 90, 1, 9, 8, "Catalog", 1},
        {"120 Column 5 Line Report", 120, 5, 8, 8, "<LABEL>", 0},
    };
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        const int at = k * kReportRecordSize;
        EXPECT_EQ(textAt(b, at), QLatin1String(expected[k].name));
        EXPECT_EQ(int16At(b, at + 31), expected[k].width);
        EXPECT_EQ(int16At(b, at + 343), expected[k].lines);
        EXPECT_EQ(textAt(b, at + 33), QLatin1String("Arial"));
        EXPECT_EQ(int16At(b, at + 277 + 51), expected[k].fontSize);  // footnote font size
        EXPECT_EQ(textAt(b, at + 2122), QLatin1String(expected[k].firstEntry));
        EXPECT_EQ(static_cast<int>(b[at + 2122 + 31]), expected[k].firstField);
        EXPECT_EQ(int16At(b, at + 2122 + 32), expected[k].firstWidth);
        // The totals line opens with the label "TOTALS:" 7 wide.
        EXPECT_EQ(textAt(b, at + 345 + 34), QLatin1String("TOTALS:"));
        EXPECT_EQ(int16At(b, at + 345 + 32), 7);
        EXPECT_EQ(b[at + 20122], 1);  // group by level 1
        EXPECT_EQ(b[at + 20123], 0);
    }
    EXPECT_EQ(file().names().size(), 6);

    // A second start leaves the file as it is.
    ASSERT_TRUE(file().remove(0));
    ensureReportFile(folder());
    EXPECT_EQ(file().count(), 5);
}

TEST_F(ReportFileTest, RecordsRoundTripThroughTheByteLayout) {
    ReportDefinition r = newReportTemplate();
    r.name = QStringLiteral("Österreich à vendre");
    r.titles[1] = QStringLiteral("Second title");
    r.topMargin = 0.75;
    r.line(3)[4] = {QStringLiteral("Cost"), 15, 12, QString()};
    const QByteArray bytes = encodeReport(r);
    ASSERT_EQ(bytes.size(), kReportRecordSize);
    bool ok = false;
    EXPECT_EQ(decodeReport(bytes, 0, &ok), r);
    EXPECT_TRUE(ok);
    // A buffer one byte short is no record.
    decodeReport(bytes.left(kReportRecordSize - 1), 0, &ok);
    EXPECT_FALSE(ok);
}

TEST_F(ReportFileTest, ReplaceAppendDeleteAndDamagedFiles) {
    const ReportFile f = file();
    EXPECT_TRUE(f.names().isEmpty());  // missing file lists nothing
    EXPECT_FALSE(f.read(0).has_value());
    EXPECT_FALSE(f.replace(0, newReportTemplate()));  // beyond the end

    ReportDefinition a = newReportTemplate();
    a.name = QStringLiteral("A");
    ASSERT_TRUE(f.append(a));  // creates the file
    ASSERT_TRUE(f.writeDefaults());
    ASSERT_TRUE(f.append(a));
    EXPECT_EQ(f.count(), 7);
    a.name = QStringLiteral("B");
    ASSERT_TRUE(f.replace(6, a));
    EXPECT_EQ(f.read(6)->name, QStringLiteral("B"));
    EXPECT_FALSE(f.replace(7, a));

    // Deleting report 1 of the six leaves the former second first.
    ASSERT_TRUE(f.remove(0));
    EXPECT_EQ(f.count(), 6);
    EXPECT_EQ(f.names().first(), QStringLiteral("120 Column 2 Line Report"));
    EXPECT_EQ(f.names().last(), QStringLiteral("B"));
    EXPECT_FALSE(f.remove(6));
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(f.remove(0));
    EXPECT_EQ(readAll(f.path()).size(), 0);  // an empty file lists nothing
    EXPECT_TRUE(f.names().isEmpty());

    // A truncated last record is not read and is overwritten by the next append.
    ASSERT_TRUE(f.writeDefaults());
    QFile raw(f.path());
    ASSERT_TRUE(raw.resize(2 * kReportRecordSize + 100));
    EXPECT_EQ(f.names().size(), 2);
    EXPECT_FALSE(f.read(2).has_value());
    ASSERT_TRUE(f.append(a));
    EXPECT_EQ(QFileInfo(f.path()).size(), 3 * kReportRecordSize);
    EXPECT_EQ(f.read(2)->name, QStringLiteral("B"));
}

TEST_F(ReportFileTest, StampUrpConvertsOnlyReportsWithOtherNames) {
    ReportDefinition full = defaultReports()[2];
    ReportDefinition mine = defaultReports()[0];
    mine.name = QStringLiteral("Full Report ");  // differs by one character: carried over
    mine.width = 90;
    mine.titles[0] = QStringLiteral("My stamps");
    mine.landscape = true;  // the old layout has no such flag; converted reports are portrait
    writeAll(folder() + "/STAMP.URP", oldRecord(full) + oldRecord(mine));

    ensureReportFile(folder());
    EXPECT_FALSE(QFile::exists(folder() + "/STAMP.URP"));
    const QStringList names = file().names();
    ASSERT_EQ(names.size(), 7);
    EXPECT_EQ(names[6], QStringLiteral("Full Report "));
    const ReportDefinition got = *file().read(6);
    EXPECT_EQ(got.width, 90);
    EXPECT_EQ(got.titles[0], QStringLiteral("My stamps"));
    EXPECT_FALSE(got.landscape);
    EXPECT_EQ(got.font(kTitleFont), (ReportFont{QStringLiteral("Courier New"), 10, true}));
    EXPECT_EQ(got.font(kBodyFont), (ReportFont{QStringLiteral("Courier New"), 10, false}));
    EXPECT_EQ(got.line(1), mine.line(1));
    EXPECT_EQ(got.totals, mine.totals);
}

TEST_F(ReportFileTest, ConvertedFieldEntriesTakeTheirNumberFromTheName) {
    ReportDefinition old = defaultReports()[0];
    old.name = QStringLiteral("Old");
    old.line(1)[1].fieldNumber = 0;  // Country, number lost
    old.totals[3].fieldNumber = 9;   // "Purchase Price"
    const ReportDefinition got = convertOldRecord(oldRecord(old).constData());
    EXPECT_EQ(got.line(1)[1].fieldNumber, 3);
    EXPECT_EQ(got.totals[3].fieldNumber, 2);
}

TEST_F(ReportFileTest, UnreadableStampUrpIsSetAsideNotDeleted) {
    ReportDefinition one = defaultReports()[1];
    one.name = QStringLiteral("Kept");
    // One whole record, then half of another: a read error part-way.
    const QByteArray bytes = oldRecord(one) + oldRecord(one).left(5000);
    writeAll(folder() + "/STAMP.URP", bytes);

    ensureReportFile(folder());
    EXPECT_FALSE(QFile::exists(folder() + "/STAMP.URP"));
    EXPECT_EQ(readAll(folder() + "/" + kOldReportAsideName), bytes);
    EXPECT_EQ(file().names().size(), 7);

    // The next start does not convert it again.
    ensureReportFile(folder());
    EXPECT_EQ(file().names().size(), 7);
}
