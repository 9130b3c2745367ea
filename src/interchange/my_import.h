// TMyImport: matches the import fields of a source to the stamp fields and runs the import.
//
// The grid `ImportGrid` lists the 25 field labels in its first column (fixed), the import fields
// against them in the second and "Yes" / "No" in the third ("USE"); Up and Down move an import
// field and its choice against the fixed labels, a double click in "USE" toggles it. Each row
// remembers which import field it shows, so equal names stay apart. A text source whose fields
// go past 25, or that has a picture column (an import field named "Pictures" or listing picture
// files, which starts there), has a 26th row "Pictures": the import field there (when "Yes")
// lists each stamp's picture files relative to the source (picture_transfer.h). Start Import runs
// the import (import_run.h) with the live count in `CountBox`, then reports "Import Complete."
// titled "Ok" (with the number of values stored with a stand-in character, and the lines that
// could not be read, when any) and closes;
// a run that stops early (the source vanished, the disk is full) says so titled "Error" and
// closes, keeping every record posted. "Skip First Record" (text sources only) is the
// collection's [Import] "Skip First" setting, changed at once.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "interchange/import_assignment.h"
#include "interchange/interchange_context.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace interchange {

class TMyImport : public QDialog {
    Q_OBJECT
  public:
    // `kind` 1 for a text file, 2 for a dBase table; `names` are its import fields.
    TMyImport(InterchangeContext context, int kind, const QString& path,
              std::vector<std::string> names, QWidget* parent = nullptr);

    void FormShow();
    void UpButtonClick();
    void DownButtonClick();
    void ImportGridDblClick(int row, int column);
    void SkipFirstClick();
    void StartButtonClick();
    void ExitButtonClick();
    void HelpButtonClick();

    // The grid's rows (row 1 first) as import field numbers and choices.
    std::vector<ImportRow> gridRows() const;

    QTableWidget* ImportGrid = nullptr;
    QCheckBox* SkipFirst = nullptr;
    QPushButton* UpButton = nullptr;
    QPushButton* DownButton = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* ExitButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QLabel* CountBox = nullptr;
    QLabel* ImportLabel = nullptr;
    QLabel* CountLabel = nullptr;
    QLabel* SideText = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void fillGrid();

    InterchangeContext context_;
    int kind_;
    QString path_;
    std::vector<std::string> names_;
};

}  // namespace interchange
