// The main window's commands. Menu items, lettered buttons and speed buttons all arrive here
// through runCommand, so the three routes behave alike. Add, Edit and Copy (the record editor)
// live in main_record_editor.cpp. Commands whose windows belong to other parts of the program
// are the places where those windows are shown; until then they do nothing beyond refreshing the
// count where the set of records could change.
#include "app/main_window.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace app {

void TMain::DoDelete() {
    if (!ui::askConfirm(this, QStringLiteral("Delete this record?"))) return;
    MyTable.deleteRecord();
    refreshViewer();
    DisplayCount();
}

void TMain::DoImport() {
    DisplayCount();
}

void TMain::DoExport() {}

void TMain::DoSearch() {
    DisplayCount();
}

void TMain::DoFind() {}

void TMain::DoFindNext() {}

void TMain::DoReports() {}

void TMain::DoBackup() {}

void TMain::DoRestore() {
    DisplayCount();
}

void TMain::DoHelp() {
    ui::platform().showHelpContents(this);
}

void TMain::DoExit() {
    close();
}

}  // namespace app
