// TMyPreview: the window that shows the pages of a previewed report and prints them again.
//
// It is shown modally by the Reports window after a preview run, on the recorded report of
// that run (which, with the table it lays pages out from, must outlive the window). One page at
// a time is drawn by `PreviewPage` inside the scroll area `ScrollBox1`; only the page shown is
// laid out, so a report of any length opens on page 1 at once.
//
// The tool bar (buttons named by their hints), the zoom field `ZoomEdit` and the page field
// `PageEdit` and the menus "&File", "&Navigate", "&View" drive it. A typed zoom or page takes
// effect on Enter or when the field is left, when it is a number (a page within the report)
// different from the current one; anything else is ignored and the field shows the current
// value again. Zoom stays within kMinZoom..kMaxZoom percent and "Zoom In"/"Zoom Out" step by
// kZoomStep; moving before the first or after the last page does nothing. The menus' shortcuts
// work whichever control has focus. Pages are shown in
// monochrome until "Use Color" is chosen.
//
// Printing goes through `PageFilePrinter` on the device the opener gives (by default the
// system's default printer, or a PDF file when there is none); a print command while the last
// one is still going on is refused with kPrintBusy. The window opens at the bounds kept in the
// "Reports" settings and writes them back there when it closes.
#pragma once

#include <QDialog>

#include "collection/collection_settings.h"
#include "reports/page_file_printer.h"
#include "reports/report_pages.h"

class QAction;
class QBoxLayout;
class QLabel;
class QLineEdit;
class QMenuBar;
class QScrollArea;
class QToolButton;

namespace reports {

class PreviewPage;

inline const QString kPrintBusy =
    QStringLiteral("Previous print job has not yet finished.  Try again later.");

inline constexpr double kZoomStep = 10.0;
inline constexpr double kMinZoom = 10.0;
inline constexpr double kMaxZoom = 400.0;

class TMyPreview : public QDialog {
    Q_OBJECT
  public:
    // `bounds` (may be null: 0, 0, 640 by 480, not kept) holds the window's remembered bounds.
    TMyPreview(const RecordedReport& report, const QString& caption,
               collection::ReportSettings* bounds, QWidget* parent = nullptr);
    ~TMyPreview() override;

    void setDeviceOpener(PrintDeviceOpener opener) { opener_ = std::move(opener); }

    int currentPage() const;  // 1-based
    int pageCount() const;
    double zoom() const;
    bool monochrome() const;
    const PreviewPage& view() const { return *view_; }

    void goToPage(int page);
    void nextPage() { goToPage(currentPage() + 1); }
    void prevPage() { goToPage(currentPage() - 1); }
    void setZoom(double percent);
    void zoomIn() { setZoom(zoom() + kZoomStep); }
    void zoomOut() { setZoom(zoom() - kZoomStep); }
    void zoomPageWidth();
    void zoomWholePage();
    void toggleColor();
    void printPage();
    void printReport();
    void printRange();
    // What Enter in, or leaving, the two fields does.
    void ZoomEditDone();
    void PageEditDone();

    QWidget* ToolPanel = nullptr;
    QToolButton* SBZoomIn = nullptr;
    QToolButton* SBZoomOut = nullptr;
    QLineEdit* ZoomEdit = nullptr;
    QToolButton* SBPrevPage = nullptr;
    QToolButton* SBNextPage = nullptr;
    QLineEdit* PageEdit = nullptr;
    QLabel* PageLabel = nullptr;
    QToolButton* SBPrint = nullptr;
    QToolButton* SBZoomPageWidth = nullptr;
    QToolButton* SBZoomPage = nullptr;
    QToolButton* SBDone = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QMenuBar* MainMenu = nullptr;
    QAction* UseColorItem = nullptr;

  protected:
    void done(int result) override;
    // While the zoom or page field has focus, the window's menu shortcuts still work (a line
    // edit would take Ctrl+E to the end of its text and Ctrl+Z as undo); copy and cut keep
    // their meaning in the field.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildToolBar();
    void arrangeToolBar();
    void buildMenus();
    void pageChanged();
    void zoomChanged();
    bool printerFree();
    QSize viewSize() const;

    const RecordedReport& report_;
    collection::ReportSettings* bounds_;
    PreviewPage* view_ = nullptr;
    QBoxLayout* firstRow_ = nullptr;
    QBoxLayout* secondRow_ = nullptr;
    PageFilePrinter printer_;
    PrintDeviceOpener opener_ = openDefaultPrintDevice;
};

// What View does after a completed preview run: shows the preview of `report` modally through
// the platform seam, printing on the devices `opener` gives, and answers its result.
int showPreview(const RecordedReport& report, const QString& caption,
                collection::ReportSettings* bounds, QWidget* parent,
                PrintDeviceOpener opener = openDefaultPrintDevice);

}  // namespace reports
