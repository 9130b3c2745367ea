#include "editing/list_maintenance.h"

#include "collection/data_list_files.h"
#include "editing/data_list_set.h"
#include "editing/my_edit_box.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace editing {

namespace {

bool runListEditor(DataListSet& lists, int list, const QStringList& items, QWidget* parent,
                   const ui::ShowOptions& show) {
    TMyEditBox editor(lists, parent);
    editor.setItems(items);
    editor.setList(list);
    editor.setShowOptions(show);
    return ui::platform().execModal(editor) == QDialog::Accepted;
}

bool askAfterQuestionBeep(QWidget* parent, const QString& text) {
    ui::platform().playSound(ui::MessageIcon::Question);
    return ui::askWarning(parent, text) == ui::MessageAnswer::Yes;
}

}  // namespace

bool EditAList(DataListSet& lists, int list, QWidget* parent, const ui::ShowOptions& show) {
    QComboBox* box = lists.editorBox(list) ? lists.editorBox(list) : lists.mainBox(list);
    return runListEditor(lists, list, DataListSet::itemsOf(box), parent, show);
}

bool EditSpecList(DataListSet& lists, int list, QWidget* parent, const ui::ShowOptions& show) {
    return runListEditor(lists, list, collection::readListFile(collection::defaultListPath(list)),
                         parent, show);
}

bool SaveDefaultsCommand(DataListSet& lists, QWidget* parent) {
    if (!askAfterQuestionBeep(
            parent, QStringLiteral("Your current Data Lists will become your default list values.  "
                                   "These values will be used when new databases are created.  "
                                   "Previous default values will be lost.  Do you want to "
                                   "proceed?")))
        return false;
    lists.SaveDefaultLists();
    return true;
}

bool LoadDefaultsCommand(DataListSet& lists, QWidget* parent) {
    if (!askAfterQuestionBeep(
            parent, QStringLiteral("Your current Data Lists will be overridden with your default "
                                   "list values. Previous  values will be lost.  Do you want to "
                                   "proceed?")))
        return false;
    lists.LoadDefaultList();
    return true;
}

}  // namespace editing
