// TRepLayout: the "Specify Report Layout" window, which draws a report's body lines and totals
// line as rows of boxes and lets the user choose an entry with the mouse to change it.
//
// The window edits a private copy of the definition it is given. A click (button down and up on
// the same entry) opens TReportPart on that entry; what it returns goes into the copy and the
// drawing is redone. "&Ok" copies the lines and the totals line back into the caller's buffer
// and closes accepted; "&Cancel" closes and discards every change. Boxes and hits both come from
// LayoutGeometry, at the window scale factor of `show`, which scales the controls too.
// `reportWidth` and `totalsShown` are what the definition window has selected, which may not be
// stored in the buffer yet.
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

#include "reports/layout_geometry.h"
#include "reports/report_definition.h"
#include "ui/window_base.h"

class QLabel;
class QPushButton;

namespace reports {

inline const QString kLayoutNote = QStringLiteral(
    "Using the left mouse button, click on the area where you would like to add or change the "
    "report layout.");

class TRepLayout : public QDialog {
    Q_OBJECT
  public:
    TRepLayout(ReportDefinition& buffer, const QString& reportName, int reportWidth,
               bool totalsShown, const QStringList& fieldLabels, ui::ShowOptions show,
               QWidget* parent = nullptr);

    const ReportDefinition& workingCopy() const { return work_; }
    const LayoutGeometry& geometry() const { return geometry_; }

    void OkButtonClick();
    // Opens the entry window on a row and entry, as a click there does.
    void ChoosePart(const LayoutHit& hit);

    QLabel* ReportLabel = nullptr;
    QLabel* BodyHeading = nullptr;
    QLabel* TotalsHeading = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Paints the white drawing with each shown row's boxes and their texts.
    void BuildLayout();

    ReportDefinition& buffer_;
    ReportDefinition work_;
    QStringList fieldLabels_;
    ui::ShowOptions show_;
    LayoutGeometry geometry_;
    std::optional<LayoutHit> pressed_;
};

}  // namespace reports
