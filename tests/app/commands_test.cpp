// Commands of the main window: delete, engine failures, help, formats, opening another
// collection, the search filter and the viewer's columns.
#include <QAction>
#include <QFileInfo>
#include <QLabel>

#include "app_test_env.h"
#include "collection/date_format.h"
#include "collection/profile_file.h"
#include "collection/settings_paths.h"
#include "engine/table.h"
#include "ui/data_grid_model.h"

namespace app::testing {
namespace {

using CommandsTest = AppTest;

QString countText(TMain& w) {
    return w.findChild<QLabel*>(QStringLiteral("CountLabel"))->text();
}

TEST_F(CommandsTest, DeleteAsksAndOnlyYesDeletes) {
    makeCollection(masterPath(), {QStringLiteral("A1"), QStringLiteral("B2")});
    TMain& w = start();
    w.DisplayCount();
    EXPECT_EQ(countText(w), QStringLiteral("2"));

    platform_.queueAnswer(ui::MessageAnswer::No);
    trigger("MenuDelete");
    EXPECT_EQ(w.MyTable.recordCount(), 2u);
    platform_.queueAnswer(ui::MessageAnswer::Yes);
    trigger("DeleteSpeed");
    EXPECT_EQ(w.MyTable.recordCount(), 1u);
    EXPECT_EQ(countText(w), QStringLiteral("1"));
    // The question names the stamp beneath it: catalogue number and country.
    EXPECT_EQ(platform_.boxSummary(),
              QStringList(2, QStringLiteral("Confirm: Delete this record?\n\nA1  A1")));
    EXPECT_EQ(platform_.boxes()[0].buttons, ui::MessageButtons::YesNo);
}

TEST_F(CommandsTest, DeleteOnAnEmptyCollectionDoesNotAsk) {
    TMain& w = start();  // a new, empty MASTER
    trigger("MenuDelete");
    trigger("DeleteSpeed");
    EXPECT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
    EXPECT_EQ(w.MyTable.recordCount(), 0u);
}

TEST_F(CommandsTest, EngineFailureInACommandIsShownAndTheProgramGoesOn) {
    TMain& w = start();  // a new, empty MASTER
    w.runCommand([&w] { w.MyTable.deleteRecord(); });
    ASSERT_EQ(platform_.boxes().size(), 1u);
    EXPECT_EQ(platform_.boxes()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(platform_.boxes()[0].icon, ui::MessageIcon::Error);
    EXPECT_EQ(platform_.boxes()[0].text, QStringLiteral("There is no current record to delete."));
    trigger("MenuContents");
    EXPECT_TRUE(w.MyTable.isOpen());
    ASSERT_EQ(platform_.helpRequests().size(), 1u);
    EXPECT_TRUE(platform_.helpRequests()[0].contents);
}

TEST_F(CommandsTest, DateFormatMenusCheckOneItemAndApplyTheFormat) {
    TMain& w = start();
    trigger("MenuDate10");
    EXPECT_EQ(collection::currentDateFormat(), (collection::DateFormat{10, false}));
    EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuDate10"))->isChecked());
    EXPECT_FALSE(w.findChild<QAction*>(QStringLiteral("MenuDate1"))->isChecked());
    // Choosing the checked item again changes nothing and keeps its mark.
    trigger("MenuDate10");
    EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuDate10"))->isChecked());
    trigger("MenuLeadingZeros");
    EXPECT_EQ(collection::currentDateFormat(), (collection::DateFormat{10, true}));
    EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuLeadingZeros"))->isChecked());
    trigger("MenuCurrencyWindows");
    EXPECT_EQ(w.globalSettings().misc.currencyFormat, 2);
    EXPECT_FALSE(w.findChild<QAction*>(QStringLiteral("MenuCurrencyUS"))->isChecked());
}

TEST_F(CommandsTest, OpeningAnotherCollectionSavesTheFirstAndListsItAsRecent) {
    const QString other = path(QStringLiteral("OTHER.DBF"));
    makeCollection(other, {QStringLiteral("X")});
    TMain& w = start();
    w.EnableEndSearch();
    platform_.queueFilePath(other);
    trigger("MenuOpen");
    EXPECT_FALSE(w.searchActive());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (OTHER)"));
    EXPECT_EQ(countText(w), QStringLiteral("1"));
    EXPECT_TRUE(QFileInfo::exists(programDir() + QStringLiteral("/MASTER.INI")));
    EXPECT_EQ(w.globalSettings().misc.lastFiles[0], masterPath());
    EXPECT_EQ(w.findChild<QAction*>(QStringLiteral("MenuLastFile1"))->text(),
              QStringLiteral("&1   ") + masterPath());
    EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuLastFile1"))->isVisible());
    EXPECT_FALSE(w.findChild<QAction*>(QStringLiteral("MenuLastFile2"))->isVisible());
    // The default sort level (Country) has built the tag on opening.
    EXPECT_EQ(w.MyTable.selectedIndex(), "NEWINDEX");
}

TEST_F(CommandsTest, SearchFilterRestrictsUntilEndSearch) {
    makeCollection(masterPath(), {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A")});
    TMain& w = start();
    w.setSearchCriteria([](const engine::RecordView& r) { return r.text(0) == "A"; });
    w.EnableEndSearch();
    w.OpenMyTable();
    w.DisplayCount();
    EXPECT_EQ(countText(w), QStringLiteral("2"));
    EXPECT_FALSE(w.findChild<QLabel*>(QStringLiteral("SearchOnLabel"))->isHidden());
    trigger("MenuEndSearch");
    EXPECT_EQ(countText(w), QStringLiteral("3"));
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("SearchOnLabel"))->isHidden());
}

TEST_F(CommandsTest, ViewerColumnsFollowTheFieldSettings) {
    makeCollection(masterPath());
    // Description's position is out of range, so it goes after the others; Country is hidden.
    setCollectionKey(masterPath(), "Field Order", "Descriptio", "30");
    setCollectionKey(masterPath(), "Display Fields", "Country", "No");
    setCollectionKey(masterPath(), "Field Names", "Catalog", "Number");
    setCollectionKey(masterPath(), "Field Width", "Catalog", "7");
    TMain& w = start();
    w.SetViewerOptions();
    auto* model = w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    ASSERT_NE(model, nullptr);
    const auto& columns = model->columns();
    ASSERT_EQ(columns.size(), 24u);
    EXPECT_EQ(columns[0], (ui::GridColumn{1, QStringLiteral("Number"), 7}));
    EXPECT_EQ(columns[1].field, 4);  // Country (position 3) is hidden
    EXPECT_EQ(columns.back().field, 2);
}

TEST_F(CommandsTest, CloseWritesBothSettingsGroups) {
    setGlobal("Misc", "Show Tips", "No");
    TMain& w = start();
    trigger("MenuLetteredButtons");
    w.collectionSettings().sortLevels = {7, 0, 0, 0};
    trigger("MenuExit");
    collection::ProfileFile global(collection::globalSettingsPath());
    EXPECT_EQ(global.read(QStringLiteral("Misc"), QStringLiteral("Button Bar")),
              QStringLiteral("2"));
    EXPECT_EQ(global.read(QStringLiteral("Misc"), QStringLiteral("Last Database")), masterPath());
    EXPECT_EQ(global.read(QStringLiteral("Misc"), QStringLiteral("Main Window Width")),
              QString::number(w.width()));
    collection::ProfileFile own(programDir() + QStringLiteral("/MASTER.INI"));
    EXPECT_EQ(own.read(QStringLiteral("Sort Order"), QStringLiteral("Primary Sort")),
              QStringLiteral("7"));
}

TEST_F(CommandsTest, BrowseModeHoldsFieldEditingOffButKeepsTheStoredValue) {
    makeCollection(masterPath());
    setCollectionKey(masterPath(), "Grid Options", "Field Editing", "Yes");
    TMain& w = start({QStringLiteral("/browse")});
    w.SetViewerOptions();
    auto* model = w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    EXPECT_FALSE(model->isEditable());
    w.close();
    collection::ProfileFile own(programDir() + QStringLiteral("/MASTER.INI"));
    EXPECT_EQ(own.read(QStringLiteral("Grid Options"), QStringLiteral("Field Editing")),
              QStringLiteral("Yes"));
}

}  // namespace
}  // namespace app::testing
