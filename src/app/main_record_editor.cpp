// The record editor as the main window uses it: made once after start-up, shown modally by Add,
// Edit (also the grid's double-click) and Copy, and the grid and count refreshed afterwards.
#include "app/main_window.h"
#include "editing/my_edit.h"
#include "ui/data_grid_model.h"
#include "ui/platform.h"

namespace app {

// The editor points at the main window's table, editor mode, settings, fonts and scale factor,
// and at the grid's list boxes; its creation loads the current collection's pick lists. Its
// buttons and menu items run through this window's command dispatch, so an engine failure is
// shown here instead of escaping through the event loop.
void TMain::createRecordEditor() {
    editing::MyEditContext context;
    context.table = &MyTable;
    context.editorMode = &editorMode_;
    context.browseMode = browseMode_;
    context.mainBoxes = listCombos_.get();
    context.global = &global_;
    context.collection = &settings_;
    context.fonts = &fonts_;
    context.scaleFactor = &scaleFactor_;
    context.basePath = basePath_;
    context.runCommand = [this](const std::function<void()>& command) { runCommand(command); };
    context.recordWritten = [this] {
        refreshViewer();
        DisplayCount();
    };
    MyEdit = std::make_unique<editing::TMyEdit>(context, this);
    addPictureStrip();
}

void TMain::showRecordEditor(int mode) {
    // A record the grid or navigator still holds in insert or edit state is posted first, as
    // moving off it would; the editor then starts from a settled table.
    if (MyTable.isOpen() && MyTable.state() != engine::EditState::Browse) MyTable.post();
    editorMode_ = mode;
    ui::platform().execModal(*MyEdit);
    // The editor may have added, changed or moved to other records: the grid reads the table
    // afresh and selects the table's current record (the one last written or shown).
    refreshViewer();
    DisplayCount();
}

void TMain::DoAdd() {
    showRecordEditor(1);
}

void TMain::DoEdit() {
    showRecordEditor(2);
}

void TMain::DoCopy() {
    showRecordEditor(3);
}

}  // namespace app
