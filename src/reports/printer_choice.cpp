#include "reports/printer_choice.h"

#include <QPageSize>
#include <QPrinterInfo>

#include "reports/report_job.h"
#include "ui/platform.h"

namespace reports {

PrinterChoice resolvePrinter(const QStringList& names, int defaultIndex, bool useDefault,
                             int printerIndex) {
    const qsizetype systemCount =
        names.endsWith(ui::kPdfPrinterName) ? names.size() - 1 : names.size();
    if (!useDefault && printerIndex >= 0 && printerIndex < names.size()) {
        if (printerIndex >= systemCount) return {PrinterChoice::PdfFile, QString()};
        return {PrinterChoice::System, names[printerIndex]};
    }
    if (systemCount == 0) return {PrinterChoice::NoPrinter, QString()};
    const int index = defaultIndex >= 0 && defaultIndex < systemCount ? defaultIndex : 0;
    return {PrinterChoice::System, names[index]};
}

PrinterChoice currentPrinterChoice(bool useDefault, int printerIndex) {
    ui::Platform& p = ui::platform();
    return resolvePrinter(p.printerNames(), p.defaultPrinterIndex(), useDefault, printerIndex);
}

PageSetup printerPage(const QString& printerName) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) return letterPage();
    const QSizeF size = info.defaultPageSize().size(QPageSize::Inch);
    if (size.width() <= 0 || size.height() <= 0) return letterPage();
    return PageSetup{size, false};
}

PageSetup pageFor(const PrinterChoice& choice) {
    return choice.kind == PrinterChoice::System ? printerPage(choice.name) : letterPage();
}

}  // namespace reports
