// The statistics window's files and printout: the breakdown table as CSV, the chart as a
// picture, drawing or document, and the printed table with its chart.
#include <QChartView>
#include <QLabel>
#include <QPrinter>
#include <QTableWidget>

#include "statistics/statistics_export.h"
#include "statistics/statistics_window.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace statistics {

void TStatisticsWindow::exportTable() {
    ui::FileDialogRequest request;
    request.parent = this;
    request.title = QStringLiteral("Export Table");
    request.filter = QStringLiteral("CSV Files (*.csv);;All Files (*)");
    request.defaultExtension = QStringLiteral("csv");
    request.flags = ui::PathMustExist | ui::PromptOverwrite;
    const QString path = ui::platform().saveFileName(request);
    if (path.isEmpty()) return;
    QString error;
    if (!writeWholeFile(path, breakdownCsv(shown_, breakdownCaption(breakdown_)), error))
        ui::showError(this, QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + error);
}

void TStatisticsWindow::exportChart() {
    ui::FileDialogRequest request;
    request.parent = this;
    request.title = QStringLiteral("Export Chart");
    request.filter = chartFileFilter();
    request.defaultExtension = QStringLiteral("png");
    request.flags = ui::PathMustExist | ui::PromptOverwrite;
    const QString path = ui::platform().saveFileName(request);
    if (path.isEmpty()) return;
    QString error;
    if (!saveChart(*BreakdownChart, path, error))
        ui::showError(this, QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + error);
}

void TStatisticsWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!ui::platform().printDialog(this, printer)) return;
    Printout printout;
    printout.title = windowTitle() + QStringLiteral(": ") + breakdownCaption(breakdown_);
    printout.scope = ScopeLabel->text();
    printout.table.push_back(columnHeadings(breakdownCaption(breakdown_)));
    for (int row = 0; row < BreakdownTable->rowCount(); ++row) {
        QStringList cells;
        for (int c = 0; c < BreakdownTable->columnCount(); ++c)
            cells << BreakdownTable->item(row, c)->text();
        printout.table.push_back(cells);
    }
    printout.chart = BreakdownChart;
    ui::BusyCursor busy;
    printStatistics(printer, printout);
}

}  // namespace statistics
