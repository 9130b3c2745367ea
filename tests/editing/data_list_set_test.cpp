// The nine collection lists bound to their combo boxes: loading, saving and growing.
#include "editing/data_list_set.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <array>
#include <memory>

#include "collection/data_list_files.h"
#include "data_list_test_support.h"
#include "ui/list_combo_box.h"

using collection::collectionListPath;
using collection::kCollectionListCount;
using collection::readListFile;
using collection::writeListFile;
using editing::DataListSet;
using testing_support::TempProgramDir;
using testing_support::writeDefaultList;

namespace {

// The editor's and the main window's boxes of all nine lists, bound to one set.
struct BoundLists {
    std::array<std::unique_ptr<ui::ListComboBox>, 9> editor;
    std::array<std::unique_ptr<ui::ListComboBox>, 9> main;
    DataListSet set;

    explicit BoundLists(const QString& base) {
        for (int i = 0; i < 9; ++i) {
            editor[i] = std::make_unique<ui::ListComboBox>();
            main[i] = std::make_unique<ui::ListComboBox>();
            set.bind(i + 1, editor[i].get(), main[i].get());
        }
        set.setBasePath(base);
    }
    QStringList editorItems(int list) const { return editor[list - 1]->items(); }
    QStringList mainItems(int list) const { return main[list - 1]->items(); }
};

QStringList defaultItems(int list) {
    return {QStringLiteral("Default %1").arg(list), QStringLiteral("Other %1").arg(list)};
}

void writeAllDefaults() {
    for (int list = 1; list <= kCollectionListCount; ++list)
        writeDefaultList(list, defaultItems(list));
}

}  // namespace

TEST(DataListSet, FirstOpeningGetsDefaultsAndSavingWritesNineFiles) {
    TempProgramDir dir;
    writeAllDefaults();
    BoundLists lists(dir.base());
    lists.set.LoadAllList();
    for (int list = 1; list <= kCollectionListCount; ++list) {
        EXPECT_EQ(lists.editorItems(list), defaultItems(list)) << list;
        EXPECT_EQ(lists.mainItems(list), defaultItems(list)) << list;
        EXPECT_FALSE(QFileInfo::exists(collectionListPath(dir.base(), list)));
    }
    lists.set.SaveAllLists();
    for (int list = 1; list <= kCollectionListCount; ++list)
        EXPECT_EQ(readListFile(collectionListPath(dir.base(), list)), defaultItems(list)) << list;
}

TEST(DataListSet, FirstFileDecidesAndMissingLaterFilesAreEmpty) {
    TempProgramDir dir;
    writeAllDefaults();
    writeListFile(collectionListPath(dir.base(), 1), {"Mine"});
    writeListFile(collectionListPath(dir.base(), 3), {"VF", "F"});
    BoundLists lists(dir.base());
    lists.set.LoadAllList();
    EXPECT_EQ(lists.editorItems(1), QStringList{"Mine"});
    EXPECT_TRUE(lists.editorItems(2).isEmpty());
    EXPECT_EQ(lists.mainItems(3), (QStringList{"VF", "F"}));

    // Without ".001" the collection's other files are not used at all.
    QFile::remove(collectionListPath(dir.base(), 1));
    lists.set.LoadAllList();
    EXPECT_EQ(lists.editorItems(3), defaultItems(3));
}

TEST(DataListSet, LoadingKeepsTheTypedTextOfABox) {
    TempProgramDir dir;
    writeAllDefaults();
    BoundLists lists(dir.base());
    lists.editor[0]->setEditText(QStringLiteral("Typed"));
    lists.set.LoadDefaultList();
    EXPECT_EQ(lists.editor[0]->currentText(), QStringLiteral("Typed"));
}

TEST(DataListSet, UnboundListsAndMissingBaseWriteNothing) {
    TempProgramDir dir;
    writeListFile(collectionListPath(dir.base(), 2), {"Keep"});
    ui::ListComboBox mainOnly;
    mainOnly.setItems({"From main"});
    DataListSet set;
    set.bind(1, nullptr, &mainOnly);
    set.SaveAllLists();  // no base path yet
    EXPECT_FALSE(QFileInfo::exists(collectionListPath(dir.base(), 1)));

    set.setBasePath(dir.base());
    set.SaveAllLists();
    EXPECT_EQ(readListFile(collectionListPath(dir.base(), 1)), QStringList{"From main"});
    EXPECT_EQ(readListFile(collectionListPath(dir.base(), 2)), QStringList{"Keep"});
}

TEST(DataListSet, GrowingFromTheEditorAndTheGridBox) {
    ui::ListComboBox editor;
    ui::ListComboBox main;
    editor.setEditText(QStringLiteral("France "));
    DataListSet::AddToList(&editor);
    DataListSet::AddToListTwwDB(&main, editor.currentText().trimmed());
    EXPECT_EQ(editor.items(), QStringList{"France"});
    EXPECT_EQ(main.items(), QStringList{"France"});
    EXPECT_EQ(editor.currentText(), QStringLiteral("France "));  // the typed text is untouched

    editor.setEditText(QStringLiteral("France"));
    DataListSet::AddToList(&editor);
    DataListSet::AddToListTwwDB(&main, QStringLiteral("France"));
    EXPECT_EQ(editor.items(), QStringList{"France"});

    editor.setEditText(QStringLiteral("france"));
    DataListSet::AddToList(&editor);
    DataListSet::AddToListTwwDB(&main, QStringLiteral("france"));
    EXPECT_EQ(editor.items(), (QStringList{"France", "france"}));
    EXPECT_EQ(main.items(), (QStringList{"France", "france"}));
    DataListSet::AddToListTwwDB(nullptr, QStringLiteral("x"));  // no box: nothing happens
}
