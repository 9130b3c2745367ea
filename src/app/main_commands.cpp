// The main window's commands. Menu items, lettered buttons and speed buttons all arrive here
// through runCommand, so the three routes behave alike. Add, Edit and Copy (the record editor)
// live in main_record_editor.cpp.
#include "app/main_window.h"
#include "collection/deleted_records.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace app {

void TMain::DoDelete() {
    // Nothing to delete (an empty collection, or a search that shows no record): no question.
    if (!MyTable.isOpen() || MyTable.recNo() == 0) return;
    // The stamp is named beneath the question, so the user knows which one goes.
    const QString stamp = collection::stampSummary(MyTable.current());
    const QString question = QStringLiteral("Delete this record?");
    if (!ui::askConfirm(this,
                        stamp.isEmpty() ? question : question + QStringLiteral("\n\n") + stamp))
        return;
    MyTable.deleteRecord();
    refreshViewer();
    DisplayCount();
}

void TMain::DoHelp() {
    ui::platform().showHelpContents(this);
}

void TMain::DoExit() {
    close();
}

}  // namespace app
