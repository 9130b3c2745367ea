// Search, End Search, Locate and Locate Next as the main window runs them: the search window
// and the locate component are made once after start-up; the search window's record test is
// the main table's filter while a search is active.
#include <QComboBox>

#include "app/main_window.h"
#include "editing/my_edit.h"
#include "searching/my_locate_dialog.h"
#include "searching/my_search.h"
#include "ui/data_grid.h"
#include "ui/platform.h"

namespace app {

void TMain::createSearchWindows() {
    editing::MySearchContext context;
    context.table = &MyTable;
    context.searchActive = [this] { return searchActive_; };
    context.enableEndSearch = [this] { EnableEndSearch(); };
    context.doEndSearch = [this] { DoEndSearch(); };
    context.setViewerOptions = [this] { SetViewerOptions(); };
    context.pickList = [this](int field) {
        for (std::size_t list = 0; list < collection::kListFieldNumbers.size(); ++list)
            if (collection::kListFieldNumbers[list] == field && MyEdit)
                return editing::DataListSet::itemsOf(MyEdit->dataLists().editorBox(int(list) + 1));
        return QStringList();
    };
    context.collection = &settings_;
    context.fonts = &fonts_;
    context.scaleFactor = &scaleFactor_;
    MySearch = std::make_unique<editing::TMySearch>(context, this);
    setSearchCriteria([this](const engine::RecordView& record) {
        return MySearch && MySearch->BuildFilter(record);
    });

    MyLocateDialog = new editing::TMyLocateDialog(this);
    MyLocateDialog->caption = QStringLiteral("Locate Field Value");
    MyLocateDialog->dataSource = &MyTable;
    MyLocateDialog->displayLabel = [this](const QString& name) {
        const int field = collection::schemaFieldNumber(name.toStdString());
        return field > 0 ? settings_.field(field).label : name;
    };
    MyLocateDialog->fieldVisible = [this](const QString& name) {
        const int field = collection::schemaFieldNumber(name.toStdString());
        return field == 0 || settings_.field(field).display;
    };
    MyLocateDialog->moved = [this] { ViewerGrid->syncToCursor(); };
}

// A record the grid still holds in insert or edit state is posted first, as moving off it would.
static void settle(engine::Table& table) {
    if (table.isOpen() && table.state() != engine::EditState::Browse) table.post();
}

void TMain::DoSearch() {
    settle(MyTable);
    ui::platform().execModal(*MySearch);
    DisplayCount();
}

void TMain::DoFind() {
    settle(MyTable);
    MyLocateDialog->showOptions = showOptions(collection::WindowGroup::Search);
    MyLocateDialog->Execute();
}

void TMain::DoFindNext() {
    settle(MyTable);
    MyLocateDialog->showOptions = showOptions(collection::WindowGroup::Search);
    MyLocateDialog->FindNext();
}

}  // namespace app
