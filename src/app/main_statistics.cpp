// View "Collection &Statistics" (Ctrl+K) and the status bar's totals: both count the records in
// view (the whole collection, or the current search) from the collection's file, the status bar
// off the interface thread after every change (DisplayCount asks for it), the window when it is
// opened.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "app/main_window.h"
#include "collection/number_format.h"
#include "searching/my_search.h"
#include "statistics/statistics_window.h"
#include "statistics/status_totals_bar.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"

namespace app {

namespace {

statistics::NumberStyle numberStyle(const collection::GlobalSettings& global) {
    statistics::NumberStyle style;
    style.numericFormat = global.misc.numericFormat;
    style.currencyFormat = global.misc.currencyFormat;
    style.regional = collection::currentRegionalSettings();
    return style;
}

}  // namespace

void TMain::buildStatistics() {
    // The View menu: made here unless another command made it first.
    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("MenuView"));
    if (!view) {
        view = new QMenu(QStringLiteral("&View"), menuBar());
        view->setObjectName(QStringLiteral("MenuView"));
        const QList<QAction*> items = menuBar()->actions();
        // Before Options, after Navigate.
        QAction* before = items.size() > 3 ? items[3] : nullptr;
        menuBar()->insertMenu(before, view);
    }
    addCommand(view, QStringLiteral("MenuStatistics"), QStringLiteral("Collection &Statistics"),
               QKeySequence(Qt::CTRL | Qt::Key_K), &TMain::DoStatistics);

    statusTotals_ = new statistics::StatusTotalsBar(
        [this]() -> std::optional<statistics::TotalsRunner::Request> {
            if (!collectionOpen_ || !MyTable.isOpen()) return std::nullopt;
            statistics::TotalsRunner::Request request;
            request.path = currentCollection();
            if (searchActive_ && MySearch) request.filter = MySearch->filter();
            return request;
        },
        [this] { return numberStyle(global_); }, this);
    statusBar()->addPermanentWidget(statusTotals_, 1);
    // A value typed into a grid cell is posted by the grid itself.
    // A picture coming into the grid's thumbnail column changes no value.
    connect(MyDataSource, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles != QList<int>{Qt::DecorationRole}) refreshStatusTotals();
            });
}

void TMain::refreshStatusTotals() {
    if (statusTotals_ && shownOnce_) statusTotals_->refresh();
}

void TMain::DoStatistics() {
    if (!collectionOpen_ || !MyTable.isOpen()) return;
    if (MyTable.state() != engine::EditState::Browse) MyTable.post();
    statistics::StatisticsContext context;
    context.path = currentCollection();
    if (searchActive_ && MySearch) context.filter = MySearch->filter();
    context.style = numberStyle(global_);
    context.label = [this](int field) { return displayLabel(field); };
    context.showRecord = [this](std::uint32_t recNo) {
        if (MyTable.goToRecord(recNo)) ViewerGrid->syncToCursor();
    };
    context.show = showOptions(collection::WindowGroup::Report);
    context.colors = settings_.colorSet(collection::WindowGroup::Report);
    statistics::TStatisticsWindow::Execute(std::move(context), this);
}

}  // namespace app
