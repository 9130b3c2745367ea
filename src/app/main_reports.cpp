// The main window's Reports command: the Reports window on the current collection.
#include "app/main_window.h"
#include "reports/my_report.h"
#include "ui/platform.h"

namespace app {

void TMain::DoReports() {
    reports::ReportContext context;
    context.programDirectory = programDir_;
    context.table = &MyTable;
    context.settings = &settings_.reports;
    context.sortLevels = settings_.sortLevels;
    for (int number = 1; number <= collection::kFieldCount; ++number)
        context.labels << settings_.field(number).label;
    context.numericFormat = global_.misc.numericFormat;
    context.currencyFormat = global_.misc.currencyFormat;
    context.searchActive = [this] { return searchActive_; };
    context.endSearch = [this] { DoEndSearch(); };
    context.restoreSearch = [this] {
        EnableEndSearch();
        SetViewerOptions();
        DisplayCount();
    };
    context.colors = settings_.colorSet(collection::WindowGroup::Report);
    context.show = showOptions(collection::WindowGroup::Report);
    reports::TMyReport window(std::move(context), this);
    ui::platform().execModal(window);
}

}  // namespace app
