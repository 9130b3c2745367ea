// Data lists on disk: the pick lists of the list fields, one item per line.
//
// Lists 1..9 belong to a collection (files base + ".001" ... ".009", seeded
// from the default files in the program directory); lists 10 (Faults) and 11
// (Miscellaneous) are shared by all collections ("FAULTS.LST", "MISC.LST" in
// the program directory). Reading follows the list-file rules: each line up to
// its first 255 characters, lines that are empty or only spaces skipped,
// other lines kept exactly (leading and trailing spaces too), order kept; a
// missing or unreadable file is an empty list. Line ends may be CR LF, LF or
// CR. Files are read as UTF-8 when they are valid UTF-8, else as Windows-1252
// (lists of older installations). Writing replaces the file as a whole (a
// failed write leaves the old file), UTF-8, one item per line with CR LF; a
// line break inside an item is written as a space so that the item stays one
// line. A file that cannot be written is skipped silently.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace collection {

struct DataListInfo {
    int number;               // 1..11
    const char* title;        // "Country", ... "Miscellaneous"
    int fieldNumber;          // schema field number of the list's field
    const char* editorBox;    // objectName of the record editor's box ("" for 10, 11)
    const char* mainCombo;    // objectName of the main window's in-grid box ("" for 10, 11)
    const char* defaultFile;  // file name in the program directory
    int itemWidth;            // most characters the list editor accepts
};

inline constexpr int kCollectionListCount = 9;
inline constexpr int kFaultsList = 10;
inline constexpr int kMiscList = 11;

const std::array<DataListInfo, 11>& dataLists();
// 1..11; throws std::out_of_range for any other number.
const DataListInfo& dataList(int number);

QStringList readListFile(const QString& path);
// False when the file could not be written (callers stay silent about it).
bool writeListFile(const QString& path, const QStringList& items);

// base + ".001" ... ".009" for lists 1..9.
QString collectionListPath(const QString& basePath, int list);
// Program directory + "/" + the list's default (or shared) file name.
QString defaultListPath(int list);

// The trimmed `text` is appended when it is not empty and no item equals it
// exactly (letter case counts). Returns whether it was appended.
bool addToList(QStringList& items, const QString& text);

// Alphabetical order without regard to letter case; equal items keep their
// order. The list editor's Sort and the selection window's list use it.
bool lessNoCase(const QString& a, const QString& b);
void sortNoCase(QStringList& items);
// Where `item` goes in a list sorted by lessNoCase: after every item that
// does not sort after it.
qsizetype sortedPosition(const QStringList& sorted, const QString& item);

// The entries of a Miscellaneous or Faults text: the pieces between commas,
// each trimmed of spaces at both ends; empty pieces are dropped.
QStringList splitSelectionText(const QString& text);
// The entries joined with ", " (empty when there are none).
QString joinSelection(const QStringList& entries);

}  // namespace collection
