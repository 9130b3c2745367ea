// The main window's side of the data lists: which lists a newly current collection gets, and the
// "List &Maintenance" commands. The nine collection lists belong to the record editor; the
// main window reaches them through it.
#include "app/main_window.h"
#include "collection/data_list_files.h"
#include "editing/data_list_set.h"
#include "editing/list_maintenance.h"
#include "editing/my_edit.h"

namespace app {

// A new collection starts with the default lists; its own files are first written at the next
// save. An existing one has its own lists when its first list file exists.
void TMain::loadCollectionLists(bool newCollection) {
    if (!MyEdit) return;  // still starting: the editor's creation loads them
    editing::DataListSet& lists = MyEdit->dataLists();
    lists.setBasePath(basePath_);
    if (newCollection)
        lists.LoadDefaultList();
    else
        lists.LoadAllList();
}

void TMain::MenuSaveDefaultsClick() {
    editing::SaveDefaultsCommand(MyEdit->dataLists(), this);
}

void TMain::MenuLoadDefaultsClick() {
    editing::LoadDefaultsCommand(MyEdit->dataLists(), this);
}

// Lists 1..9 start from the record editor's box, Faults and Miscellaneous from their shared file;
// the list editor knows each list's title and item width from its number.
void TMain::MaintainList(int list) {
    const ui::ShowOptions show = showOptions(collection::WindowGroup::Configure);
    if (list <= collection::kCollectionListCount)
        editing::EditAList(MyEdit->dataLists(), list, this, show);
    else
        editing::EditSpecList(MyEdit->dataLists(), list, this, show);
}

}  // namespace app
