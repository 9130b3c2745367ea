// The data lists through the main window: which lists each collection gets when it becomes
// current, saving them for the collection left, the List Maintenance commands and the list
// editor they open.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>

#include "app_test_env.h"
#include "collection/data_list_files.h"
#include "collection/profile_file.h"
#include "editing/my_edit_box.h"
#include "record_editor_driver.h"
#include "ui/window_colors.h"

namespace app::testing {
namespace {

const QStringList kDefaultCountries = {QStringLiteral("Italy"), QStringLiteral("Spain")};

// In the list editor: adds `item`, then leaves by Ok or Cancel.
ui::ScriptedPlatform::ModalHandler addItemAndLeave(const QString& item, bool ok) {
    return [item, ok](QDialog& d) {
        auto& box = dynamic_cast<editing::TMyEditBox&>(d);
        box.AddInfo->setText(item);
        box.AddButton->click();
        (ok ? box.OkButton : box.CancelButton)->click();
    };
}

class ListMaintenanceFlowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        collection::writeListFile(programDir() + QStringLiteral("/COUNTRY.LST"), kDefaultCountries);
        collection::writeListFile(programDir() + QStringLiteral("/TOPIC.LST"),
                                  {QStringLiteral("Birds")});
        collection::writeListFile(programDir() + QStringLiteral("/FAULTS.LST"),
                                  {QStringLiteral("Thin")});
        collection::writeListFile(programDir() + QStringLiteral("/MISC.LST"),
                                  {QStringLiteral("Coil")});
        setGlobal("Misc", "Last Database", dbf("A"));
    }
    QString dbf(const char* name) const { return path(QString::fromLatin1(name) + ".DBF"); }
    QString listFile(const char* name, const char* ext) const {
        return path(QString::fromLatin1(name) + QString::fromLatin1(ext));
    }
    QStringList countries() { return mainListItems(*main_, "MyComboCountry"); }
};

TEST_F(ListMaintenanceFlowTest, SwitchSavesTheListsLeftAndLoadsTheNewCollections) {
    makeCollection(dbf("A"));
    makeCollection(dbf("B"));
    makeCollection(dbf("C"));
    collection::writeListFile(listFile("B", ".001"), {QStringLiteral("Japan")});
    TMain& w = start();
    // A has no list files yet: the defaults, and nothing written.
    EXPECT_EQ(countries(), kDefaultCountries);
    EXPECT_EQ(editorListItems(w, 1), kDefaultCountries);
    EXPECT_FALSE(QFileInfo::exists(listFile("A", ".001")));

    // A list changed in memory only, by the editor growing it without closing (kept in A).
    QComboBox* editorCountry = w.recordEditor()->dataLists().editorBox(1);
    editing::DataListSet::replaceItems(editorCountry, {QStringLiteral("Peru")});
    platform_.queueFilePath(dbf("B"));
    trigger("MenuOpen");
    EXPECT_EQ(collection::readListFile(listFile("A", ".001")), QStringList{"Peru"});
    EXPECT_EQ(collection::readListFile(listFile("A", ".002")), QStringList{"Birds"});
    for (const char* ext : {".003", ".009"}) EXPECT_TRUE(QFileInfo::exists(listFile("A", ext)));
    // B has its own first file: its lists, a missing later file an empty list.
    EXPECT_EQ(countries(), QStringList{"Japan"});
    EXPECT_EQ(editorListItems(w, 1), QStringList{"Japan"});
    EXPECT_TRUE(mainListItems(w, "MyComboTopic").isEmpty());

    // C has none: the defaults. B's lists are written on the way.
    platform_.queueFilePath(dbf("C"));
    trigger("MenuOpen");
    EXPECT_EQ(countries(), kDefaultCountries);
    EXPECT_EQ(collection::readListFile(listFile("B", ".001")), QStringList{"Japan"});

    // Back to A from the recent list: A's saved lists.
    ASSERT_EQ(w.globalSettings().misc.lastFiles[1], dbf("A"));
    trigger("MenuLastFile2");
    EXPECT_EQ(countries(), QStringList{"Peru"});
    EXPECT_EQ(mainListItems(w, "MyComboTopic"), QStringList{"Birds"});
}

TEST_F(ListMaintenanceFlowTest, NewCollectionGetsTheDefaultListsAndWritesThemLater) {
    makeCollection(dbf("A"));
    collection::writeListFile(listFile("A", ".001"), {QStringLiteral("Peru")});
    TMain& w = start();
    EXPECT_EQ(countries(), QStringList{"Peru"});
    platform_.queueFilePath(dbf("NEW"));
    trigger("MenuNew");
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (NEW)"));
    EXPECT_EQ(countries(), kDefaultCountries);
    EXPECT_EQ(editorListItems(w, 1), kDefaultCountries);
    EXPECT_EQ(collection::readListFile(listFile("A", ".001")), QStringList{"Peru"});
    EXPECT_FALSE(QFileInfo::exists(listFile("NEW", ".001")));
    // The next save writes them: closing the record editor.
    platform_.queueModal([](QDialog& d) { press(d, "ExitButton"); });
    trigger("MenuAdd");
    EXPECT_EQ(collection::readListFile(listFile("NEW", ".001")), kDefaultCountries);
}

TEST_F(ListMaintenanceFlowTest, CountryListEditorOkUpdatesBothBoxesAndWritesTheFile) {
    makeCollection(dbf("A"));
    TMain& w = start();
    platform_.queueModal(addItemAndLeave(QStringLiteral("  Chile "), true));
    trigger("MenuMaintainCountry");
    const QStringList expected = {"Italy", "Spain", "Chile"};
    EXPECT_EQ(countries(), expected);
    EXPECT_EQ(editorListItems(w, 1), expected);
    EXPECT_EQ(collection::readListFile(listFile("A", ".001")), expected);

    // Cancel changes nothing.
    platform_.queueModal(addItemAndLeave(QStringLiteral("Togo"), false));
    trigger("MenuMaintainCountry");
    EXPECT_EQ(countries(), expected);
}

// Each item opens the list editor on its own list: caption, item width and starting items.
TEST_F(ListMaintenanceFlowTest, EachItemOpensTheListEditorOnItsList) {
    struct Row {
        const char* item;
        const char* caption;
        int width;
        QStringList items;
    };
    const Row rows[] = {
        {"MenuMaintainCountry", "Edit \"Country\" List", 20, kDefaultCountries},
        {"MenuMaintainTopic", "Edit \"Topic\" List", 20, {"Birds"}},
        {"MenuMaintainCondition", "Edit \"Condition\" List", 9, {}},
        {"MenuMaintainStampType", "Edit \"Stamp Type\" List", 16, {}},
        {"MenuMaintainGroup", "Edit \"Group\" List", 20, {}},
        {"MenuMaintainCancellation", "Edit \"Cancellation\" List", 13, {}},
        {"MenuMaintainHinged", "Edit \"Hinged\" List", 7, {}},
        {"MenuMaintainColor", "Edit \"Color\" List", 15, {}},
        {"MenuMaintainGum", "Edit \"Gum\" List", 8, {}},
        {"MenuMaintainFaults", "Edit \"Faults\" List", 20, {"Thin"}},
        {"MenuMaintainMisc", "Edit \"Miscellaneous\" List", 25, {"Coil"}},
    };
    makeCollection(dbf("A"));
    start();
    for (const Row& row : rows) {
        bool shown = false;
        platform_.queueModal([&](QDialog& d) {
            shown = true;
            auto& box = dynamic_cast<editing::TMyEditBox&>(d);
            EXPECT_EQ(box.windowTitle(), QString::fromLatin1(row.caption)) << row.item;
            EXPECT_EQ(box.AddInfo->maxLength(), row.width) << row.item;
            EXPECT_EQ(box.items(), row.items) << row.item;
        });
        trigger(QString::fromLatin1(row.item));
        EXPECT_TRUE(shown) << row.item;
    }
}

// Ok on a shared list writes its file in the program directory, and the collection's lists too.
TEST_F(ListMaintenanceFlowTest, FaultsListEditorOkWritesTheSharedFile) {
    makeCollection(dbf("A"));
    start();
    platform_.queueModal(addItemAndLeave(QStringLiteral("Crease"), true));
    trigger("MenuMaintainFaults");
    EXPECT_EQ(collection::readListFile(programDir() + QStringLiteral("/FAULTS.LST")),
              (QStringList{"Thin", "Crease"}));
    EXPECT_EQ(collection::readListFile(listFile("A", ".001")), kDefaultCountries);
}

TEST_F(ListMaintenanceFlowTest, ListEditorShowsInTheConfigureWindowColours) {
    makeCollection(dbf("A"));
    setCollectionKey(dbf("A"), "Configure Window Color", "Main Background", "255");  // red
    setCollectionKey(dbf("A"), "Main Window Color", "Main Background", "65280");     // green
    start();
    platform_.queueModal(
        [](QDialog& d) { EXPECT_EQ(d.palette().color(QPalette::Window), QColor(255, 0, 0)); });
    trigger("MenuMaintainGum");
    EXPECT_EQ(platform_.modals().size(), 1u);
}

TEST_F(ListMaintenanceFlowTest, SaveAndLoadDefaultsAskFirstAndNoChangesNothing) {
    makeCollection(dbf("A"));
    collection::writeListFile(listFile("A", ".001"), {QStringLiteral("Peru")});
    TMain& w = start();
    const QString defaults = programDir() + QStringLiteral("/COUNTRY.LST");

    platform_.queueAnswer(ui::MessageAnswer::No);
    trigger("MenuSaveDefaults");
    EXPECT_EQ(collection::readListFile(defaults), kDefaultCountries);
    ASSERT_EQ(platform_.boxes().size(), 1u);
    EXPECT_EQ(platform_.boxes()[0].title, QStringLiteral("Warning"));
    EXPECT_EQ(platform_.boxes()[0].defaultAnswer, ui::MessageAnswer::No);
    EXPECT_EQ(platform_.boxes()[0].sound, ui::MessageIcon::Question);

    platform_.queueAnswer(ui::MessageAnswer::Yes);
    trigger("MenuSaveDefaults");
    EXPECT_EQ(collection::readListFile(defaults), QStringList{"Peru"});

    collection::writeListFile(defaults, {QStringLiteral("Chad")});
    platform_.queueAnswer(ui::MessageAnswer::No);
    trigger("MenuLoadDefaults");
    EXPECT_EQ(countries(), QStringList{"Peru"});
    platform_.queueAnswer(ui::MessageAnswer::Yes);
    trigger("MenuLoadDefaults");
    EXPECT_EQ(countries(), QStringList{"Chad"});
    EXPECT_EQ(editorListItems(w, 1), QStringList{"Chad"});
    EXPECT_EQ(platform_.boxes().size(), 4u);
    // Loaded defaults stay with the collection once the program closes.
    w.close();
    EXPECT_EQ(collection::readListFile(listFile("A", ".001")), QStringList{"Chad"});
}

}  // namespace
}  // namespace app::testing
