// Closing the main window: the window's place, both settings groups and the pick lists of the
// current collection are written.
#include <QCloseEvent>

#include "app/main_window.h"
#include "editing/my_edit.h"
#include "ui/data_grid_model.h"

namespace app {

void TMain::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

// Browse mode held Field Editing off only for the run; the stored value goes back to the file.
void TMain::FormClose() {
    if (closed_ || startFailed_) return;
    closed_ = true;
    searchActive_ = false;
    global_.misc.mainWindowLeft = x();
    global_.misc.mainWindowTop = y();
    global_.misc.mainWindowWidth = width();
    global_.misc.mainWindowHeight = height();
    collection::writeGlobal(global_);
    if (collectionOpen_) writeCollectionSettings();
    // Lists replaced by "Load In Defaults" are otherwise only written at the next save.
    if (MyEdit) MyEdit->dataLists().SaveAllLists();
    MyTable.close();
    MyDataSource->reload();
}

}  // namespace app
