// TReportPart: the "Select Report Part" window, where the user makes one entry of a report line
// a filler, a constant label or a field, and sets its width.
//
// It works on its own copy of the line. Body lines offer the 25 field labels, the totals line
// the three running totals ("Market Value", "Purchase Price", "Quantity"). "&Ok" checks the
// width (a whole number, not negative), stores the entry, refits the whole line to the report
// width (refitLine) and closes accepted; `line()` then holds the result. "&Cancel" closes and
// the line is of no interest. The window never writes a file.
#pragma once

#include <QDialog>
#include <QStringList>

#include "reports/report_definition.h"
#include "ui/window_base.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace reports {

inline const QString kInvalidWidth = QStringLiteral("Invalid width entered.  Please correct.");

// The names of the running totals as totals-line entries carry them, total 1 first.
const QStringList& totalNames();

class TReportPart : public QDialog {
    Q_OBJECT
  public:
    // `row` is a body line 1..12 or kTotalsRow, `entry` 0-based; `fieldLabels` the 25 labels.
    TReportPart(const ReportLine& line, int row, int entry, int reportWidth,
                const QStringList& fieldLabels, ui::ShowOptions show = {},
                QWidget* parent = nullptr);

    const ReportLine& line() const { return line_; }

    void FormShow();
    void OkButtonClick();
    void RadioClick();

    QRadioButton* RadioFiller = nullptr;
    QRadioButton* RadioLabel = nullptr;
    QRadioButton* RadioField = nullptr;
    QListWidget* FieldList = nullptr;
    QLineEdit* FieldWidth = nullptr;
    QLineEdit* LabelName = nullptr;
    QLabel* SelPartLabel = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool totals() const;
    void enableForKind();
    // The list row whose dBase name (body) or total name (totals) is the entry's name; -1.
    int GetField() const;

    ReportLine line_;
    int row_;
    int entry_;
    int reportWidth_;
    ui::ShowOptions show_;
    QStringList names_;  // per list row: the name an entry of that item carries
};

}  // namespace reports
