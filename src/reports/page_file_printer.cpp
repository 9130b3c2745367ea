#include "reports/page_file_printer.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "reports/page_painter.h"
#include "ui/platform.h"

namespace reports {

std::unique_ptr<QPagedPaintDevice> openDefaultPrintDevice(QWidget* parent) {
    ui::Platform& p = ui::platform();
    const QStringList names = p.printerNames();
    // The list ends with the PDF entry; anything before it is a system printer.
    if (names.size() > 1) {
        const int index = std::clamp(p.defaultPrinterIndex(), 0, int(names.size()) - 2);
        auto printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(names[index]),
                                                  QPrinter::HighResolution);
        printer->setDocName(QStringLiteral("Test Report"));
        return printer;
    }
    return openPdfPrintDevice(parent);
}

std::unique_ptr<QPagedPaintDevice> openPdfPrintDevice(QWidget* parent) {
    ui::FileDialogRequest request;
    request.parent = parent;
    request.title = QStringLiteral("Save Report As a PDF File");
    request.filter = QStringLiteral("PDF Files (*.pdf)");
    request.defaultExtension = QStringLiteral("pdf");
    request.flags = ui::PathMustExist | ui::PromptOverwrite;
    const QString path = ui::platform().saveFileName(request);
    if (path.isEmpty()) return nullptr;
    auto writer = std::make_unique<QPdfWriter>(path);
    writer->setResolution(static_cast<int>(kReferenceDpi));
    writer->setCreator(QStringLiteral("Tessellon"));
    return writer;
}

bool PageFilePrinter::print(const PrintDeviceOpener& open, QWidget* parent, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, report_.pageCount());
    if (first > last || busy_) return false;
    busy_ = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{busy_};

    std::unique_ptr<QPagedPaintDevice> device = open ? open(parent) : nullptr;
    if (!device) return false;
    const PageSetup& setup = report_.setup();
    const QSizeF portrait = setup.landscape ? setup.size.transposed() : setup.size;
    device->setPageSize(QPageSize(portrait, QPageSize::Inch));
    device->setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    device->setPageMargins(QMarginsF(0, 0, 0, 0));

    bool ok = true;
    {
        PaintingSink sink(*device, setup);
        // The pages are laid out one after another, as the run did, and painted as they come.
        report_.layOut(first - 1, last - 1, sink, [&sink] {
            QApplication::processEvents(QEventLoop::AllEvents);
            return sink.ok();
        });
        sink.finished(report_.fonts());
        ok = sink.ok();
    }
    return ok;
}

}  // namespace reports
