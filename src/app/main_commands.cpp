// The main window's commands. Menu items, lettered buttons and speed buttons all arrive here
// through runCommand, so the three routes behave alike. Add, Edit and Copy (the record editor)
// live in main_record_editor.cpp.
#include "app/main_window.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace app {

void TMain::DoDelete() {
    // Nothing to delete (an empty collection, or a search that shows no record): no question.
    if (!MyTable.isOpen() || MyTable.recNo() == 0) return;
    if (!ui::askConfirm(this, QStringLiteral("Delete this record?"))) return;
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
