// Printing pages of a recorded report again, without running the report.
//
// `print` paints pages `first` to `last` (1-based, inclusive, clamped to the report) on a paged
// device through the same painter as every other output, letting the user interface breathe
// between pages. While it runs `busy()` is true, so a second print started from the still
// responsive window can be refused instead of interleaving pages.
#pragma once

#include <QPagedPaintDevice>
#include <functional>
#include <memory>

#include "reports/report_pages.h"

class QWidget;

namespace reports {

// Opens the device the pages are printed on, or answers nullptr when there is none or the user
// cancelled (the opener has told the user why where that matters).
using PrintDeviceOpener = std::function<std::unique_ptr<QPagedPaintDevice>(QWidget* parent)>;

// The default opener: the system's default printer, or, with no printer installed, a PDF file
// the user names through the platform's save dialog.
std::unique_ptr<QPagedPaintDevice> openDefaultPrintDevice(QWidget* parent);
// A PDF file the user names through the platform's save dialog.
std::unique_ptr<QPagedPaintDevice> openPdfPrintDevice(QWidget* parent);

class PageFilePrinter {
  public:
    explicit PageFilePrinter(const RecordedReport& report) : report_(report) {}

    bool busy() const { return busy_; }
    // Opens a device with `open` and prints the pages on it. False when nothing was printed
    // (no device, nothing in range, or the device refused to paint).
    bool print(const PrintDeviceOpener& open, QWidget* parent, int first, int last);

  private:
    const RecordedReport& report_;
    bool busy_ = false;
};

}  // namespace reports
