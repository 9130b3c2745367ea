// Files and printouts of the statistics window: the table as CSV, the chart as PNG, SVG or PDF
// (chosen by the file's extension), and a printed page of the table with the chart below it.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class QWidget;

namespace statistics {

// Writes `bytes` to `path` in full, replacing the file; false with a reason in `error`.
bool writeWholeFile(const QString& path, const std::string& bytes, QString& error);

// The widget (a chart view) drawn into `path`: ".png" as a picture of its size, ".svg" as a
// drawing, ".pdf" as a page fitted to the drawing; any other extension is refused.
bool saveChart(QWidget& chart, const QString& path, QString& error);

// The file types saveChart() writes, for the save dialog.
QString chartFileFilter();

// What a printout holds: a title, the line saying which records, a table (first line the
// headings) and the chart.
struct Printout {
    QString title;
    QString scope;
    std::vector<QStringList> table;
    QWidget* chart = nullptr;
};

// Lays the printout on the printer's pages: title, scope and table rows flowing over as many
// pages as they need, the chart on the last page below them (or on a page of its own).
void printStatistics(QPrinter& printer, const Printout& printout);

}  // namespace statistics
