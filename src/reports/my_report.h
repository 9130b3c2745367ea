// TMyReport: the "Reports" window, where the user picks a report layout and sends it to the
// printer, to the page viewer or to a text file.
//
// The list `ReportBox` holds the names of TESSELON.URP in file order (a position is a record
// number). The window remembers the selected position in the "Reports" settings ("Last Report")
// and selects it again when shown; Printer Setup edits the printer keys of the same section.
// "Print Search Criteria" is offered only while the main window's search is in force; printing
// the entire collection during a search ends the search for the run and switches it back on
// afterwards.
//
// Each run reads the chosen record into `report()` (the shared definition buffer), builds a
// ReportJob over the context's table and shows TReportForm modally: View records the pages and
// shows them in TMyPreview unless the run was canceled; Print paints them on the chosen
// printer, or into a PDF file when "PDF file" is chosen; Print To File asks for a text file.
// New Report and Modify Report open the designer (TUserReport) on the buffer, the template or the
// selected report, and afterwards list the file again with the saved report selected.
//
// The window works on what the main window lends through `ReportContext`; all of it must
// outlive the window.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "collection/collection_settings.h"
#include "collection/sort_order.h"
#include "reports/page_file_printer.h"
#include "reports/printer_choice.h"
#include "reports/report_definition.h"
#include "reports/report_job.h"
#include "ui/window_base.h"

class QAction;
class QLabel;
class QListWidget;
class QMenuBar;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace engine {
class Table;
}

namespace reports {

struct ReportContext {
    QString programDirectory;                        // home of TESSELON.URP
    engine::Table* table = nullptr;                  // the shown collection
    collection::ReportSettings* settings = nullptr;  // section "Reports"
    collection::SortLevels sortLevels = {0, 0, 0, 0};
    QStringList labels;  // the 25 field labels, field 1 first
    int numericFormat = 1;
    int currencyFormat = 1;
    std::function<bool()> searchActive;
    std::function<void()> endSearch;      // as the main window's End Search
    std::function<void()> restoreSearch;  // search state and indicators back on, table refreshed
    collection::ColorSet colors;
    ui::ShowOptions show;
};

inline const QString kNoReportSelected =
    QStringLiteral("No Report has been selected.  Please choose one.");
inline const QString kReportNotFound = QStringLiteral("Report format could not be located.");
inline const QString kNoAlbumPictures = QStringLiteral(
    "None of the stamps to print has a picture, so there are no album pages to show.  Add "
    "pictures to stamps in the Input Window.");

class TMyReport : public QDialog {
    Q_OBJECT
  public:
    explicit TMyReport(ReportContext context, QWidget* parent = nullptr);
    ~TMyReport() override;

    void LoadReportBox();
    void FormShow();
    void FormClose();
    void DoView();
    void DoPrint();
    void DoPrintToFile();
    void DoNew();
    void DoModify();
    void DoHelp();
    void DoPrinterSetup();
    // "Album Pages": the viewed stamps' pictures on pages (TAlbumPages), viewed or printed.
    void DoAlbum();

    // The shared report-definition buffer: the last report read or edited.
    ReportDefinition& report() { return report_; }
    // The selected position in the list, -1 for none.
    int selectedReport() const;

    QListWidget* ReportBox = nullptr;
    QRadioButton* ExportEntire = nullptr;
    QRadioButton* ExportSearch = nullptr;
    QLabel* SortOrderLabel = nullptr;
    QPushButton* ViewButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* PrintFileButton = nullptr;
    QPushButton* NewButton = nullptr;
    QPushButton* ModifyButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QPushButton* ExitButton = nullptr;
    QMenuBar* MainMenu = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

  private:
    void buildMenus();
    QPushButton* addButton(const char* name, const QString& caption, int top,
                           void (TMyReport::*operation)());
    // Steps 1-13 of a run in `mode`; `path` is the text file of mode 3.
    void DoIt(OutputMode mode, const QString& path = QString());
    void refuseNoReport();
    // Reads the selected report into report() and answers its position; -1 after telling the
    // user that none is selected or that it cannot be read.
    int readSelectedReport();
    // The report designer on report(): `record` < 0 for a new report.
    void design(int record);
    RenderSettings renderSettings() const;
    // The printer keys' choice; for a print to "PDF file" also the file, asked for here. False
    // (after telling the user) when there is nothing to print on or the file was not chosen.
    bool printTarget(bool print, PrinterChoice& choice, QString& pdfPath);
    // Ends the main window's search for a run over the entire collection; answers whether it
    // must be switched back on afterwards (endScope).
    bool beginScope();
    void endScope(bool restoreSearch, std::uint32_t keep);
    // How the preview prints: on the chosen printer, or into PDF files.
    static PrintDeviceOpener previewOpener(const PrinterChoice& choice);
    static std::unique_ptr<QPrinter> printerFor(const PrinterChoice& choice);

    ReportContext context_;
    ReportDefinition report_;
};

}  // namespace reports
