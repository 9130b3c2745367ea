// Which output Print uses: the remembered printer choice of section "Reports" resolved against
// the printers the system offers now.
//
// The list is the system's printers followed by the "PDF File" entry (ui::kPdfPrinterName).
// "Default Printer" takes the system's default printer; where the system names none, its first
// printer; where it has none at all there is no printer (Print says so). "Other Printer" takes
// the remembered position; a position that no longer exists falls back to the default. The PDF
// entry, chosen explicitly, writes a PDF file.
#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include "reports/page_model.h"

class QPrinter;

namespace reports {

struct PrinterChoice {
    enum Kind { NoPrinter, System, PdfFile } kind = NoPrinter;
    QString name;  // the system printer's name
};

// `names` as listed above; `defaultIndex` the platform's default position.
PrinterChoice resolvePrinter(const QStringList& names, int defaultIndex, bool useDefault,
                             int printerIndex);

// The same through the platform seam.
PrinterChoice currentPrinterChoice(bool useDefault, int printerIndex);

// The paper of a system printer, in portrait (Letter when it cannot be found out).
PageSetup printerPage(const QString& printerName);
// The paper the choice prints on: the printer's, or Letter for the PDF file and no printer.
PageSetup pageFor(const PrinterChoice& choice);

inline const QString kNoPrinterMessage = QStringLiteral(
    "No printer is installed on this system.  Choose \"PDF File\" under Printer Setup to print "
    "the report to a PDF file, or use Print To File.");

}  // namespace reports
