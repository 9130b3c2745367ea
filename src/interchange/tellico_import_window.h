// TTellicoImport, "Tellico Import": brings a Tellico stamp collection into the open collection.
//
// Before the run the window lists, in `PlanList`, where each field of the Tellico collection goes
// (tellico::importPlan: its stamp field, Miscellaneous for fields without one, or Tellico's own
// bookkeeping that is not kept). "&Start Import" runs the import (tellico_run.h) with the count in
// `CountBox` and then reports as the other imports do ("Import Complete." titled "Ok", with the
// values given stand-ins or cut to their fields' widths; a run that stops early says so titled
// "Error", keeping every record posted) and closes. A collection that cannot be written is
// refused before the run.
#pragma once

#include <QDialog>

#include "interchange/interchange_context.h"
#include "interchange/tellico_run.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace interchange {

class TTellicoImport : public QDialog {
    Q_OBJECT
  public:
    TTellicoImport(InterchangeContext context, const QString& path, TellicoSource source,
                   QWidget* parent = nullptr);

    void FormShow();
    void StartButtonClick();
    void ExitButtonClick();
    void HelpButtonClick();

    QListWidget* PlanList = nullptr;
    QLabel* CountBox = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* ExitButton = nullptr;
    QPushButton* HelpButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    InterchangeContext context_;
    QString path_;
    TellicoSource source_;
};

}  // namespace interchange
