// TImportFormat, "Import Format": the user picks the kind of source (a delimited text file, a
// dBase table or a Tellico stamp collection) and the file; the window reads the source's import
// fields and shows TMyImport, or for a Tellico file its header and shows TTellicoImport (a
// Tellico collection of another type is refused naming its type).
//
// The kind shown first is the one remembered in the collection settings ([Import] "File Type");
// closing the window remembers the kind selected. A text file whose first line fails its checks
// is refused with the message naming the check, and the window stays open for another choice; a
// dBase file whose name does not end in ".DBF" is refused likewise. When TMyImport closes, this
// window closes too.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "interchange/interchange_context.h"

class QPushButton;
class QRadioButton;

namespace interchange {

class TImportFormat : public QDialog {
    Q_OBJECT
  public:
    explicit TImportFormat(InterchangeContext context, QWidget* parent = nullptr);

    // Shows the window modally for one import.
    static void ImportData(InterchangeContext context, QWidget* parent = nullptr);

    void FormShow();
    void FileButtonClick();
    void CancelButtonClick();
    void FormClose();
    void DoAscii();
    void DoDBF();
    void DoTellico();

    QRadioButton* AsciiFile = nullptr;
    QRadioButton* DBaseFile = nullptr;
    QRadioButton* TellicoFile = nullptr;
    QPushButton* FileButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The text of the refusal of a first line that fails check 1, 2 or 3.
    static QString firstLineMessage(int check);

  protected:
    void showEvent(QShowEvent* event) override;

  public:
    void done(int result) override;

  private:
    // The file-open dialog "Import Data"; empty when cancelled.
    QString chooseFile(const QString& filter, const QString& extension);
    void showImport(int kind, const QString& path, const std::vector<std::string>& names);

    InterchangeContext context_;
};

}  // namespace interchange
