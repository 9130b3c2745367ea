// Sorting by a click on a column title of the viewer grid.
#include <QHeaderView>

#include "app/main_window.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/messages.h"

namespace app {

void TMain::SortByColumnTitle(int column) {
    const int field = MyDataSource->fieldAt(column);
    // Already leading: nothing to do (the header only flipped its arrow, which is put back).
    if (field <= 0 || settings_.sortLevels[0] == field) {
        markSortColumn();
        return;
    }
    collection::SortOrderHooks hooks;
    hooks.writeSettings = [this] { writeCollectionSettings(); };
    hooks.reapplyViewer = [this] {
        BuildSortString();
        SetViewerOptions();
    };
    hooks.tell = [this](const QString& title, const QString& text) {
        ui::showTitled(this, title, text);
    };
    collection::applySortOrder(MyTable, currentCollection(), settings_.sortLevels,
                               collection::levelsLedBy(settings_.sortLevels, field), hooks);
    markSortColumn();
}

void TMain::markSortColumn() {
    QHeaderView* header = ViewerGrid->horizontalHeader();
    const int lead = settings_.sortLevels[0];
    int column = -1;
    for (int c = 0; lead > 0 && c < MyDataSource->columnCount(); ++c)
        if (MyDataSource->fieldAt(c) == lead) column = c;
    header->setSortIndicatorShown(column >= 0);
    if (column >= 0) header->setSortIndicator(column, Qt::AscendingOrder);
}

}  // namespace app
