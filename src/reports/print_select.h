// TPrintSelect: the "Printer Selection" window.
//
// "Default Printer" or "Other Printer" and the list `PrinterList` of the system's printers
// (followed by the "PDF file" entry). Ok stores the choice into the section "Reports" settings
// it was given (use-default flag and the list position, -1 when nothing is selected) and
// closes; Cancel closes without change.
#pragma once

#include <QDialog>

#include "collection/collection_settings.h"
#include "ui/window_base.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace reports {

class TPrintSelect : public QDialog {
    Q_OBJECT
  public:
    // `settings` must outlive the window.
    TPrintSelect(collection::ReportSettings& settings, ui::ShowOptions show = {},
                 QWidget* parent = nullptr);

    void FormShow();
    void OkButtonClick();

    QRadioButton* DefaultPrinter = nullptr;
    QRadioButton* OtherPrinter = nullptr;
    QComboBox* PrinterList = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    collection::ReportSettings& settings_;
    ui::ShowOptions show_;
};

}  // namespace reports
