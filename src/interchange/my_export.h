// TMyExport, "Export": the user picks the fields written and their order, the scope (the whole
// collection or the current search result) and the kind of target, and runs the export.
//
// A third kind of target, "Tellico Stamp Collection", writes a Tellico ".tc" file of every field
// (tellico_run.h); the field grid does not apply to it.
//
// Pictures (store_pictures.h): a dBase table or Tellico file takes the exported stamps'
// pictures whenever the collection has any; a text file when "&Pictures in Last Column" is
// ticked (shown for text only, off each time the window opens): a last column names each
// stamp's picture files, copied into a folder beside the file.
//
// Headings "NOTES" (over the side text), "What to Export" (the scope's radio buttons), "How To
// Export" (the kind's) and "Export Progress" (the gauge). The two pairs of radio buttons are
// exclusive groups.
//
// The grid `ExportGrid` shows the 25 fields in export order ("FIELD", "EXPORT IT"); Up and Down
// move a row, a double click in "EXPORT IT" toggles it, Defaults (after "Re-Order" Yes) puts
// back schema order with every field written. Each row remembers its field, so equal labels
// stay apart. The order and choices go to the collection settings ([Export Fields], [Export
// Order]) when the window closes and before each run; the kind ([Export] "File Type") when it
// closes; "&First Record Contains Field Names" ([Export] "First Row") at once.
//
// Start Export asks for the target file, then writes the records the grid shows (search scope)
// or every record (whole scope) in the grid's order through a table of its own opened on the
// collection, so the main window's table, grid and search are never touched. The gauge follows
// the records written; "Export Complete." titled "Ok" ends the run and closes the window. A run
// that fails (the disk is full, the target is in use) says so titled "Error" and the window stays.
#pragma once

#include <QDialog>

#include "interchange/export_fields.h"
#include "interchange/export_run.h"
#include "interchange/interchange_context.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace interchange {

class TMyExport : public QDialog {
    Q_OBJECT
  public:
    explicit TMyExport(InterchangeContext context, QWidget* parent = nullptr);

    // Shows the window modally for one export.
    static void ExportData(InterchangeContext context, QWidget* parent = nullptr);

    void FormShow();
    void FirstRowClick();
    void AsciiFileClick();
    void DBaseFileClick();
    void ExportGridDblClick(int row, int column);
    void UpButtonClick();
    void DownButtonClick();
    void DefaultsButtonClick();
    void StartExportButtonClick();
    void ExitButtonClick();
    void HelpButtonClick();
    void FormClose();
    // Grid to settings.
    void UpdateConfigs();

    ExportRows gridRows() const;

    QTableWidget* ExportGrid = nullptr;
    QCheckBox* FirstRow = nullptr;
    QCheckBox* PictureColumn = nullptr;
    QRadioButton* ExportEntire = nullptr;
    QRadioButton* ExportSearch = nullptr;
    QRadioButton* AsciiFile = nullptr;
    QRadioButton* DBaseFile = nullptr;
    QRadioButton* TellicoFile = nullptr;
    QPushButton* UpButton = nullptr;
    QPushButton* DownButton = nullptr;
    QPushButton* DefaultsButton = nullptr;
    QPushButton* StartExportButton = nullptr;
    QPushButton* ExitButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QProgressBar* ExportGauge = nullptr;
    // Headings in the minor title colour, and the side text under "NOTES".
    QLabel* Notes = nullptr;
    QLabel* WhatToExport = nullptr;
    QLabel* HowToExport = nullptr;
    QLabel* ExportProgress = nullptr;
    QLabel* SideText = nullptr;

  public:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void fillGrid(const ExportRows& rows);
    QString targetPath(ExportKind kind);
    ExportResult runExport(ExportKind kind, const QString& path, const std::vector<int>& fields);

    InterchangeContext context_;
};

}  // namespace interchange
