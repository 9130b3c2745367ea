#include "statistics/statistics_export.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace statistics {

bool writeWholeFile(const QString& path, const std::string& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

QString chartFileFilter() {
    return QStringLiteral("PNG Picture (*.png);;SVG Drawing (*.svg);;PDF Document (*.pdf)");
}

bool saveChart(QWidget& chart, const QString& path, QString& error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QSize size = chart.size();
    if (suffix == u"png") {
        if (chart.grab().save(path, "PNG")) return true;
        error = QStringLiteral("The picture could not be written.");
        return false;
    }
    if (suffix == u"svg") {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(chart.windowTitle());
        QPainter painter;
        if (!painter.begin(&svg)) {
            error = QStringLiteral("The drawing could not be written.");
            return false;
        }
        chart.render(&painter);
        painter.end();
        if (QFileInfo(path).size() > 0) return true;
        error = QStringLiteral("The drawing could not be written.");
        return false;
    }
    if (suffix == u"pdf") {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setResolution(96);
        QPainter painter;
        if (!painter.begin(&pdf)) {
            error = QStringLiteral("The document could not be written.");
            return false;
        }
        const QRect page = painter.viewport();
        const double scale = std::min(double(page.width()) / size.width(),
                                      double(page.height()) / size.height());
        painter.scale(scale, scale);
        chart.render(&painter);
        painter.end();
        if (QFileInfo(path).size() > 0) return true;
        error = QStringLiteral("The document could not be written.");
        return false;
    }
    error = QStringLiteral("Charts are saved as .png, .svg or .pdf files.");
    return false;
}

void printStatistics(QPrinter& printer, const Printout& printout) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QRect page = painter.viewport();
    QFont font = painter.font();
    font.setPointSize(10);
    painter.setFont(font);
    const int line = painter.fontMetrics().height() * 5 / 4;
    int y = 0;
    QFont titleFont = font;
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.drawText(QRect(0, y, page.width(), line * 2), Qt::AlignLeft | Qt::AlignVCenter,
                     printout.title);
    y += line * 2;
    painter.setFont(font);
    painter.drawText(QRect(0, y, page.width(), line), Qt::AlignLeft, printout.scope);
    y += line * 2;

    // Columns: the first takes what the figures leave.
    const int columns = printout.table.empty() ? 0 : int(printout.table.front().size());
    const int figureWidth = columns > 1 ? page.width() / (columns + 2) : 0;
    const int firstWidth = page.width() - figureWidth * (columns - 1);
    for (std::size_t row = 0; row < printout.table.size(); ++row) {
        if (y + line > page.height()) {
            printer.newPage();
            y = 0;
        }
        QFont rowFont = font;
        rowFont.setBold(row == 0);
        painter.setFont(rowFont);
        const QStringList& cells = printout.table[row];
        int x = 0;
        for (int c = 0; c < cells.size(); ++c) {
            const int w = c == 0 ? firstWidth : figureWidth;
            painter.drawText(QRect(x, y, w - 8, line),
                             (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                             cells[c]);
            x += w;
        }
        y += line;
    }
    if (printout.chart) {
        const QSize size = printout.chart->size();
        if (page.height() - y < page.height() / 3) {
            printer.newPage();
            y = 0;
        } else {
            y += line;
        }
        const double scale = std::min(double(page.width()) / size.width(),
                                      double(page.height() - y) / size.height());
        painter.translate(0, y);
        painter.scale(scale, scale);
        printout.chart->render(&painter);
    }
    painter.end();
}

}  // namespace statistics
