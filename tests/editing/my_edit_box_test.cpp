// The list editor and the list maintenance commands, run through the scripted platform.
#include "editing/my_edit_box.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "collection/data_list_files.h"
#include "data_list_test_support.h"
#include "editing/data_list_set.h"
#include "editing/list_maintenance.h"
#include "ui/list_combo_box.h"
#include "ui/scripted_platform.h"

using collection::collectionListPath;
using collection::defaultListPath;
using collection::readListFile;
using editing::DataListSet;
using editing::TMyEditBox;
using testing_support::TempProgramDir;

namespace {

class ListEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.valid());
        ui::setPlatform(&platform);
        for (int list = 1; list <= 9; ++list) lists.bind(list, &editor[list - 1], &main[list - 1]);
        lists.setBasePath(dir.base());
        editor[0].setItems({"France", "Spain", "Italy"});
        main[0].setItems({"France", "Spain", "Italy"});
    }
    void TearDown() override { ui::setPlatform(nullptr); }

    // Opens the editor on `list` and runs `act` on it while it is shown.
    bool edit(int list, const std::function<void(TMyEditBox&)>& act) {
        platform.queueModal([&](QDialog& dialog) {
            auto* box = dynamic_cast<TMyEditBox*>(&dialog);
            ASSERT_NE(box, nullptr);
            act(*box);
        });
        return list <= 9 ? editing::EditAList(lists, list, nullptr)
                         : editing::EditSpecList(lists, list, nullptr);
    }
    static QStringList itemsOf(const QListWidget* list) {
        return testing_support::entryTexts(list);
    }
    static QStringList selectedOf(const QListWidget* list) {
        return testing_support::entryTexts(list, true);
    }

    TempProgramDir dir;
    ui::ScriptedPlatform platform;
    std::array<ui::ListComboBox, 9> editor;
    std::array<ui::ListComboBox, 9> main;
    DataListSet lists;
};

}  // namespace

TEST_F(ListEditorTest, OpensOnTheEditorsItemsWithCaptionAndWidth) {
    edit(5, [](TMyEditBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Edit \"Stamp Type\" List"));
        EXPECT_EQ(box.AddInfo->maxLength(), 16);
        EXPECT_TRUE(box.TheList->selectedItems().isEmpty());  // empty list: no selection
    });
    edit(1, [](TMyEditBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Edit \"Country\" List"));
        EXPECT_EQ(itemsOf(box.TheList), (QStringList{"France", "Spain", "Italy"}));
        EXPECT_EQ(selectedOf(box.TheList), QStringList{"France"});
        EXPECT_TRUE(box.AddInfo->text().isEmpty());
    });
}

TEST_F(ListEditorTest, TheEntryBoxIsLabelledAndTakesTypedItems) {
    edit(1, [](TMyEditBox& box) {
        ASSERT_NE(box.AddInfoLabel, nullptr);
        EXPECT_EQ(box.AddInfoLabel->buddy(), box.AddInfo);
        EXPECT_EQ(box.AddInfoLabel->text(), QStringLiteral("&New Item:"));
        EXPECT_EQ(box.AddInfo->accessibleName(), QStringLiteral("New Item"));
        EXPECT_FALSE(box.AddInfoLabel->geometry().intersects(box.TheList->geometry()));
        EXPECT_FALSE(box.AddInfoLabel->geometry().intersects(box.AddInfo->geometry()));
        // Typing at once reaches the entry box: the focus starts there.
        ASSERT_EQ(box.focusWidget(), box.AddInfo);
        QTest::keyClicks(box.focusWidget(), QStringLiteral("Malta"));
        QTest::keyClick(box.focusWidget(), Qt::Key_Return);
        EXPECT_EQ(itemsOf(box.TheList), (QStringList{"France", "Spain", "Italy", "Malta"}));
        EXPECT_TRUE(box.isVisible());
    });
}

TEST_F(ListEditorTest, AddTrimsAndAppendsWithoutDuplicateTest) {
    edit(1, [](TMyEditBox& box) {
        box.AddInfo->setText(QStringLiteral("  Spain "));
        box.AddButton->click();
        box.AddInfo->setText(QStringLiteral("   "));
        box.AddButton->click();
        EXPECT_EQ(itemsOf(box.TheList), (QStringList{"France", "Spain", "Italy", "Spain"}));
        EXPECT_TRUE(box.AddInfo->text().isEmpty());
    });
}

TEST_F(ListEditorTest, DeleteSelectsTheItemThatTakesThePlace) {
    const struct {
        const char* name;
        QStringList items;
        int selected;  // -1: none
        QStringList left;
        QStringList selectedAfter;
    } cases[] = {
        {"only item", {"A"}, 0, {}, {}},
        {"last of three", {"A", "B", "C"}, 2, {"A", "B"}, {"B"}},
        {"middle", {"A", "B", "C"}, 1, {"A", "C"}, {"C"}},
        {"nothing selected", {"A", "B"}, -1, {"A", "B"}, {}},
    };
    for (const auto& c : cases) {
        editor[2].setItems(c.items);
        edit(3, [&](TMyEditBox& box) {
            box.TheList->clearSelection();
            if (c.selected >= 0) box.TheList->setCurrentRow(c.selected);
            box.DeleteButton->click();
            EXPECT_EQ(itemsOf(box.TheList), c.left) << c.name;
            EXPECT_EQ(selectedOf(box.TheList), c.selectedAfter) << c.name;
        });
    }
}

TEST_F(ListEditorTest, SortAsksFirstAndSortsOnceWithoutCase) {
    editor[0].setItems({"b", "C", "a", "B"});
    platform.queueAnswer(ui::MessageAnswer::No);
    platform.queueAnswer(ui::MessageAnswer::Yes);
    edit(1, [](TMyEditBox& box) {
        box.SortButton->click();
        EXPECT_EQ(itemsOf(box.TheList), (QStringList{"b", "C", "a", "B"}));
        box.SortButton->click();
        EXPECT_EQ(itemsOf(box.TheList), (QStringList{"a", "b", "B", "C"}));
        box.AddInfo->setText(QStringLiteral("A"));
        box.AddButton->click();
        EXPECT_EQ(itemsOf(box.TheList).constLast(), QStringLiteral("A"));
    });
    ASSERT_EQ(platform.boxes().size(), 2u);
    EXPECT_EQ(platform.boxes()[0].title, QStringLiteral("Confirm"));
    EXPECT_EQ(platform.boxes()[0].text,
              QStringLiteral("Are you sure you want to sort the data?  Sorting cannot be undone."));
    EXPECT_EQ(platform.boxes()[0].buttons, ui::MessageButtons::YesNo);
}

TEST_F(ListEditorTest, OkReplacesBothBoxesAndSavesTheCollectionLists) {
    const bool accepted = edit(1, [](TMyEditBox& box) {
        box.TheList->setCurrentRow(1);
        box.DeleteButton->click();
        box.AddInfo->setText(QStringLiteral("Peru"));
        box.AddButton->click();
        box.OkButton->click();
    });
    EXPECT_TRUE(accepted);
    const QStringList expected = {"France", "Italy", "Peru"};
    EXPECT_EQ(editor[0].items(), expected);
    EXPECT_EQ(main[0].items(), expected);
    EXPECT_EQ(readListFile(collectionListPath(dir.base(), 1)), expected);
    for (int list = 2; list <= 9; ++list)
        EXPECT_TRUE(QFileInfo::exists(collectionListPath(dir.base(), list))) << list;
}

TEST_F(ListEditorTest, OkOnASharedListWritesItsFile) {
    testing_support::writeDefaultList(collection::kMiscList, {"Perfin", "Booklet"});
    edit(collection::kMiscList, [](TMyEditBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Edit \"Miscellaneous\" List"));
        EXPECT_EQ(box.AddInfo->maxLength(), 25);
        box.AddInfo->setText(QStringLiteral("Coil"));
        box.AddButton->click();
        box.OkButton->click();
    });
    EXPECT_EQ(readListFile(defaultListPath(collection::kMiscList)),
              (QStringList{"Perfin", "Booklet", "Coil"}));
    EXPECT_FALSE(QFileInfo::exists(defaultListPath(collection::kFaultsList)));
    EXPECT_EQ(readListFile(collectionListPath(dir.base(), 1)),
              (QStringList{"France", "Spain", "Italy"}));
}

TEST_F(ListEditorTest, CancelChangesNothing) {
    testing_support::writeDefaultList(collection::kFaultsList, {"Thin"});
    for (int list : {1, collection::kFaultsList}) {
        const bool accepted = edit(list, [](TMyEditBox& box) {
            box.TheList->setCurrentRow(0);
            box.DeleteButton->click();
            box.AddInfo->setText(QStringLiteral("New"));
            box.AddButton->click();
            box.CancelButton->click();
        });
        EXPECT_FALSE(accepted);
    }
    EXPECT_EQ(editor[0].items(), (QStringList{"France", "Spain", "Italy"}));
    EXPECT_EQ(main[0].items(), (QStringList{"France", "Spain", "Italy"}));
    EXPECT_EQ(readListFile(defaultListPath(collection::kFaultsList)), QStringList{"Thin"});
    EXPECT_FALSE(QFileInfo::exists(collectionListPath(dir.base(), 1)));
}

TEST_F(ListEditorTest, ListWideCommandsAskAndNoChangesNothing) {
    testing_support::writeDefaultList(1, {"Default"});
    const struct {
        const char* name;
        std::function<bool(DataListSet&)> command;
        QString text;
    } cases[] = {
        {"save as defaults",
         [](DataListSet& set) { return editing::SaveDefaultsCommand(set, nullptr); },
         QStringLiteral("Your current Data Lists will become your default list values.  These "
                        "values will be used when new databases are created.  Previous default "
                        "values will be lost.  Do you want to proceed?")},
        {"load in defaults",
         [](DataListSet& set) { return editing::LoadDefaultsCommand(set, nullptr); },
         QStringLiteral("Your current Data Lists will be overridden with your default list "
                        "values. Previous  values will be lost.  Do you want to proceed?")},
    };
    for (const auto& c : cases) {
        platform.clearRecords();
        EXPECT_FALSE(c.command(lists)) << c.name;  // nothing queued: the default answer
        ASSERT_EQ(platform.boxes().size(), 1u) << c.name;
        const ui::ShownBox& box = platform.boxes()[0];
        EXPECT_EQ(box.sound, ui::MessageIcon::Question) << c.name;
        EXPECT_EQ(box.title, QStringLiteral("Warning")) << c.name;
        EXPECT_EQ(box.text, c.text) << c.name;
        EXPECT_EQ(box.buttons, ui::MessageButtons::YesNo) << c.name;
        EXPECT_EQ(box.defaultAnswer, ui::MessageAnswer::No) << c.name;
        EXPECT_EQ(editor[0].items(), (QStringList{"France", "Spain", "Italy"})) << c.name;
        EXPECT_EQ(readListFile(defaultListPath(1)), QStringList{"Default"}) << c.name;
    }
    EXPECT_FALSE(QFileInfo::exists(defaultListPath(2)));
}

TEST_F(ListEditorTest, ListWideCommandsAnsweredYes) {
    platform.queueAnswer(ui::MessageAnswer::Yes);
    EXPECT_TRUE(editing::SaveDefaultsCommand(lists, nullptr));
    EXPECT_EQ(readListFile(defaultListPath(1)), (QStringList{"France", "Spain", "Italy"}));

    testing_support::writeDefaultList(1, {"Default"});
    platform.queueAnswer(ui::MessageAnswer::Yes);
    EXPECT_TRUE(editing::LoadDefaultsCommand(lists, nullptr));
    EXPECT_EQ(editor[0].items(), QStringList{"Default"});
    EXPECT_EQ(main[0].items(), QStringList{"Default"});
    EXPECT_TRUE(editor[1].items().isEmpty());
}
