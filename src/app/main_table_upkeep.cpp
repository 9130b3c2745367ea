// The commands that need the stamp table to themselves: the sort order (Options "Sort &Order",
// Ctrl+Q, the "Set Sorting Order" speed button), Tools "&Pack Database" and Tools "&Rebuild
// Indexes". The collection layer closes the table, takes exclusive use, does the work and opens
// the table shared again; the window re-applies its viewer after every re-open and shows the
// refusals. A running search stays in force: the filter lives on the table and the search flag
// is left alone.
#include "app/main_window.h"
#include "app/my_sort_order.h"
#include "collection/sort_order.h"
#include "collection/table_maintenance.h"
#include "pictures/picture_store.h"
#include "ui/messages.h"

namespace app {

namespace {

// The re-open hooks of a main-window command: the viewer follows the table at once, and the
// refusal is shown in front of the main window.
collection::ReopenHooks reopenHooks(TMain* main) {
    collection::ReopenHooks hooks;
    hooks.reapplyViewer = [main] { main->SetViewerOptions(); };
    hooks.tell = [main](const QString& title, const QString& text) {
        ui::showTitled(main, title, text);
    };
    return hooks;
}

}  // namespace

void TMain::DoSortOrder() {
    SortOrderContext context;
    context.table = &MyTable;
    context.collectionPath = currentCollection();
    context.levels = &settings_.sortLevels;
    for (const collection::FieldSettings& field : settings_.fields)
        context.labels.append(field.label);
    context.writeSettings = [this] { writeCollectionSettings(); };
    // The sort expression follows the levels (new ones, or the old ones put back), and the grid
    // is rebuilt in the order of the table as re-opened.
    context.reapplyViewer = [this] {
        BuildSortString();
        SetViewerOptions();
    };
    context.show = showOptions(collection::WindowGroup::Configure);
    context.colors = settings_.colorSet(collection::WindowGroup::Configure);
    TMySortOrder::ChooseSortOrder(std::move(context), this);
}

void TMain::MenuPackClick() {
    if (!ui::askConfirm(this, collection::kPackQuestion)) return;
    undo_.clear();  // record numbers change: no step could find its records again
    // The stamps' pictures move to their records' new numbers while the table is still held.
    pictures::PictureStore store(currentCollection());
    QString pictureFailure;
    collection::packCollection(MyTable, currentCollection(), reopenHooks(this),
                               [&](const std::vector<std::uint32_t>& numbers) {
                                   try {
                                       store.carryAcrossPack(numbers);
                                   } catch (const pictures::PictureError& e) {
                                       pictureFailure = e.message();
                                   }
                               });
    if (!pictureFailure.isEmpty()) ui::showTitled(this, QStringLiteral("Error"), pictureFailure);
    DisplayCount();
}

void TMain::MenuRebuildClick() {
    if (!ui::askConfirm(this, collection::kRebuildQuestion)) return;
    collection::rebuildCollectionIndexes(MyTable, currentCollection(), reopenHooks(this),
                                         sortExpression_);
}

}  // namespace app
