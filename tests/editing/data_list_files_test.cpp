// List files: reading rules, writing, the list table, and the small text helpers of the lists.
#include "collection/data_list_files.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <set>

#include "collection/stamp_schema.h"
#include "data_list_test_support.h"
#include "ui/list_combo_source.h"

using namespace collection;
using testing_support::readBytes;
using testing_support::TempProgramDir;
using testing_support::writeBytes;

TEST(DataListTable, MainCombosAndFieldsAgreeWithTheGridAndSchema) {
    std::set<int> fields;
    for (int list = 1; list <= kCollectionListCount; ++list) {
        const DataListInfo& info = dataList(list);
        EXPECT_EQ(info.number, list);
        fields.insert(info.fieldNumber);
        // The grid's in-cell box for the same field carries the list's main-window name.
        bool found = false;
        for (const auto& entry : ui::ListComboSource::entries())
            if (entry.field == info.fieldNumber) {
                EXPECT_STREQ(entry.objectName, info.mainCombo) << info.title;
                found = true;
            }
        EXPECT_TRUE(found) << info.title;
    }
    EXPECT_EQ(fields, std::set<int>(kListFieldNumbers.begin(), kListFieldNumbers.end()));
    EXPECT_EQ(schemaField(dataList(kFaultsList).fieldNumber).name, "Faults");
    EXPECT_EQ(schemaField(dataList(kMiscList).fieldNumber).name, "Miscellane");
    EXPECT_EQ(dataList(8).itemWidth, 15);
    EXPECT_THROW(dataList(0), std::out_of_range);
    EXPECT_THROW(dataList(12), std::out_of_range);
}

TEST(DataListPaths, CollectionAndProgramFolderFiles) {
    TempProgramDir dir;
    EXPECT_EQ(collectionListPath(QStringLiteral("/c/MINE"), 1), QStringLiteral("/c/MINE.001"));
    EXPECT_EQ(collectionListPath(QStringLiteral("/c/MINE"), 9), QStringLiteral("/c/MINE.009"));
    EXPECT_EQ(defaultListPath(3), dir.path(QStringLiteral("CONDTION.LST")));
    EXPECT_EQ(defaultListPath(kMiscList), dir.path(QStringLiteral("MISC.LST")));
}

TEST(ReadListFile, BlankLinesSkippedOtherLinesKeptExactly) {
    TempProgramDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"crlf", "Mint\r\n\r\n   \r\n  Used\r\n"},
        {"lf, no final end", "Mint\n\n   \n  Used"},
        {"cr", "Mint\r\r   \r  Used\r"},
    };
    for (const auto& c : cases) {
        const QString path = dir.path(QStringLiteral("L.LST"));
        writeBytes(path, c.bytes);
        EXPECT_EQ(readListFile(path), (QStringList{"Mint", "  Used"})) << c.name;
    }
}

TEST(ReadListFile, LongLinesCutAndOldCodePageRead) {
    TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("L.LST"));
    writeBytes(path, QByteArray(300, 'a') + "\r\nCaf\xe9 \r\n");
    const QStringList items = readListFile(path);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0], QString(255, u'a'));
    EXPECT_EQ(items[1], QStringLiteral("Caf\u00e9 "));  // Windows-1252, trailing space kept

    writeBytes(path, "Caf\xc3\xa9\r\n");
    EXPECT_EQ(readListFile(path), QStringList{QStringLiteral("Caf\u00e9")});
    EXPECT_TRUE(readListFile(dir.path(QStringLiteral("NONE.LST"))).isEmpty());
}

TEST(WriteListFile, Utf8CrLfAndRoundTrip) {
    TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("L.LST"));
    writeBytes(path, "old content that must go\r\n");
    const QStringList items = {QStringLiteral(" Used "), QStringLiteral("Caf\u00e9"),
                               QStringLiteral("Mint")};
    ASSERT_TRUE(writeListFile(path, items));
    EXPECT_EQ(readBytes(path), QByteArray(" Used \r\nCaf\xc3\xa9\r\nMint\r\n"));
    EXPECT_EQ(readListFile(path), items);

    // A line break inside an item must not turn it into two items.
    ASSERT_TRUE(writeListFile(path, {QStringLiteral("Two\nLines")}));
    EXPECT_EQ(readListFile(path), QStringList{QStringLiteral("Two Lines")});
}

TEST(WriteListFile, UnwritablePlaceReportsFailure) {
    TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("missing-folder/L.LST"));
    EXPECT_FALSE(writeListFile(path, {QStringLiteral("Mint")}));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(AddToList, TrimmedNewTextAppendedOnceCaseCounts) {
    QStringList items = {QStringLiteral("Spain")};
    EXPECT_TRUE(addToList(items, QStringLiteral("France ")));
    EXPECT_FALSE(addToList(items, QStringLiteral("France")));
    EXPECT_FALSE(addToList(items, QStringLiteral("   ")));
    EXPECT_TRUE(addToList(items, QStringLiteral("france")));
    EXPECT_EQ(items, (QStringList{"Spain", "France", "france"}));
}

TEST(SelectionText, SplitTrimsAndDropsEmptyPieces) {
    const struct {
        const char* text;
        QStringList entries;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"Perf", {"Perf"}},
        {"Perf, Thin", {"Perf", "Thin"}},
        {" Perf ,Thin,, Crease ", {"Perf", "Thin", "Crease"}},
        {"Perf,", {"Perf"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitSelectionText(QString::fromLatin1(c.text)), c.entries) << c.text;
    EXPECT_EQ(joinSelection({"Perf", "Thin"}), QStringLiteral("Perf, Thin"));
    EXPECT_EQ(joinSelection({}), QString());
}

TEST(SortNoCase, CaseIgnoredEqualItemsKeepTheirOrder) {
    QStringList items = {"b", "A", "a", "C", "B"};
    sortNoCase(items);
    EXPECT_EQ(items, (QStringList{"A", "a", "b", "B", "C"}));
    EXPECT_EQ(sortedPosition(items, QStringLiteral("a")), 2);
    EXPECT_EQ(sortedPosition(items, QStringLiteral("0")), 0);
    EXPECT_EQ(sortedPosition(items, QStringLiteral("z")), 5);
}
