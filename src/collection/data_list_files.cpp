#include "collection/data_list_files.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <stdexcept>

#include "collection/regular_file_read.h"
#include "collection/settings_paths.h"
#include "collection/text_decoding.h"

namespace collection {

namespace {

constexpr int kMaxLineChars = 255;

constexpr std::array<DataListInfo, 11> kLists = {{
    {1, "Country", 3, "Country", "MyComboCountry", "COUNTRY.LST", 20},
    {2, "Topic", 13, "Topic", "MyComboTopic", "TOPIC.LST", 20},
    {3, "Condition", 9, "Condition", "MyComboCondition", "CONDTION.LST", 9},
    {4, "Group", 10, "Group", "MyComboGroup", "GROUP.LST", 20},
    {5, "Stamp Type", 11, "StampType", "MyComboStampType", "STMPTYPE.LST", 16},
    {6, "Cancellation", 12, "Cancellation", "MyComboCancel", "CANCEL.LST", 13},
    {7, "Gum", 16, "Gum", "MyComboGum", "GUM.LST", 8},
    // The colour field is 16 wide, but its list items are kept to 15.
    {8, "Color", 17, "ColorBox", "MyComboColor", "COLOR.LST", 15},
    {9, "Hinged", 19, "Hinged", "MyComboHinged", "HINGED.LST", 7},
    {10, "Faults", 18, "", "", "FAULTS.LST", 20},
    {11, "Miscellaneous", 20, "", "", "MISC.LST", 25},
}};

}  // namespace

const std::array<DataListInfo, 11>& dataLists() {
    return kLists;
}

const DataListInfo& dataList(int number) {
    if (number < 1 || number > int(kLists.size()))
        throw std::out_of_range("data list number out of range");
    return kLists[number - 1];
}

QStringList readListFile(const QString& path) {
    const std::optional<QByteArray> bytes = readRegularFile(path);
    if (!bytes) return {};
    QString text = decodeTextFile(*bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    QStringList items;
    for (const QString& line : text.split(QChar(u'\n'))) {
        const QString item = cutToChars(line, kMaxLineChars);
        if (!item.trimmed().isEmpty()) items.append(item);
    }
    return items;
}

bool writeListFile(const QString& path, const QStringList& items) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QString text;
    for (QString item : items) {
        item.replace(QChar(u'\r'), QChar(u' '));
        item.replace(QChar(u'\n'), QChar(u' '));
        text += item;
        text += QStringLiteral("\r\n");
    }
    file.write(text.toUtf8());
    return file.commit();
}

QString collectionListPath(const QString& basePath, int list) {
    return basePath + QStringLiteral(".%1").arg(list, 3, 10, QChar(u'0'));
}

QString defaultListPath(int list) {
    return programDirectory() + QChar(u'/') + QString::fromLatin1(dataList(list).defaultFile);
}

bool addToList(QStringList& items, const QString& text) {
    const QString item = text.trimmed();
    if (item.isEmpty() || items.contains(item, Qt::CaseSensitive)) return false;
    items.append(item);
    return true;
}

bool lessNoCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

void sortNoCase(QStringList& items) {
    std::stable_sort(items.begin(), items.end(), lessNoCase);
}

qsizetype sortedPosition(const QStringList& sorted, const QString& item) {
    return std::upper_bound(sorted.begin(), sorted.end(), item, lessNoCase) - sorted.begin();
}

QStringList splitSelectionText(const QString& text) {
    QStringList entries;
    for (const QString& piece : text.split(QChar(u','))) {
        const QString entry = piece.trimmed();
        if (!entry.isEmpty()) entries.append(entry);
    }
    return entries;
}

QString joinSelection(const QStringList& entries) {
    return entries.join(QStringLiteral(", "));
}

}  // namespace collection
