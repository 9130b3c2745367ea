// TMyEdit: Print Record, the shown record as 25 lines of "label: text" per copy.
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "editing/my_edit.h"
#include "editing/record_print_lines.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace editing {

namespace {

const QString kPrintFontFamily = QStringLiteral("Arial");
constexpr int kPrintFontPoints = 10;

}  // namespace

void TMyEdit::MenuPrintRecordClick() {
    if (printing_) {
        ui::showError(this, QStringLiteral("Other print job currently in progress."),
                      ui::Alert::KindSound);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!ui::platform().printDialog(this, printer)) return;
    printRecord(printer);
}

bool TMyEdit::printRecord(QPrinter& printer) {
    std::array<QString, collection::kFieldCount> labels;
    for (int field = 1; field <= collection::kFieldCount; ++field)
        labels[field - 1] = fieldLabel(field);
    const QStringList lines = recordPrintLines(labels, controlTexts());

    ui::BusyCursor busy;
    printing_ = true;
    // Copies are printed here, one after the other, whatever the printer could do itself.
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    printer.setDocName(QStringLiteral("Tessellon"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        printing_ = false;
        ui::showError(this, QStringLiteral("The printer could not be started."),
                      ui::Alert::KindSound);
        return false;
    }
    QFont font(kPrintFontFamily);
    font.setPointSize(kPrintFontPoints);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight =
        int(std::lround(1.1 * metrics.size(0, QStringLiteral("ABCDEWjky")).height()));
    const QRect page = painter.viewport();
    const int left = page.width() / 17;
    const int top = page.height() / 22;
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0) printer.newPage();
        for (int k = 0; k < lines.size(); ++k)
            painter.drawText(left, top + k * lineHeight + metrics.ascent(), lines[k]);
    }
    painter.end();
    printing_ = false;
    return true;
}

}  // namespace editing
