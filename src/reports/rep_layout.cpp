#include "reports/rep_layout.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "reports/report_part.h"
#include "reports/user_report.h"
#include "ui/platform.h"
#include "ui/window_base.h"

namespace reports {

TRepLayout::TRepLayout(ReportDefinition& buffer, const QString& reportName, int reportWidth,
                       bool totalsShown, const QStringList& fieldLabels, ui::ShowOptions show,
                       QWidget* parent)
    : QDialog(parent),
      buffer_(buffer),
      work_(buffer),
      fieldLabels_(fieldLabels),
      show_(std::move(show)) {
    setObjectName(QStringLiteral("RepLayout"));
    setWindowTitle(QStringLiteral("Specify Report Layout"));
    geometry_.scale = show_.scaleFactor;
    geometry_.reportWidth = reportWidth;
    geometry_.bodyLines = std::clamp(work_.numberOfLines, 0, kMaxBodyLines);
    geometry_.totalsShown = totalsShown;
    resize(634, 470);

    ReportLabel = new QLabel(QStringLiteral("Report: ") + reportName.left(38), this);
    ReportLabel->setObjectName(QStringLiteral("ReportLabel"));
    ReportLabel->setGeometry(8, 10, 600, 22);
    BodyHeading = new QLabel(QStringLiteral("Report Body"), this);
    BodyHeading->setObjectName(QStringLiteral("BodyHeading"));
    BodyHeading->setGeometry(8, 52, 200, 20);
    BodyHeading->setVisible(geometry_.bodyLines > 0);
    TotalsHeading = new QLabel(QStringLiteral("Report Totals"), this);
    TotalsHeading->setObjectName(QStringLiteral("TotalsHeading"));
    TotalsHeading->setGeometry(8, 332, 200, 20);
    TotalsHeading->setVisible(totalsShown);

    auto* note = new QLabel(kLayoutNote, this);
    note->setObjectName(QStringLiteral("NoteLabel"));
    note->setWordWrap(true);
    note->setGeometry(8, 384, 618, 36);

    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(220, 428, 88, 28);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(326, 428, 88, 28);
    connect(OkButton, &QPushButton::clicked, this, &TRepLayout::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TRepLayout::OkButtonClick() {
    buffer_.lines = work_.lines;
    buffer_.totals = work_.totals;
    accept();
}

void TRepLayout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) ui::prepareWindowForShow(this, designerShowOptions(show_));
}

void TRepLayout::paintEvent(QPaintEvent*) {
    BuildLayout();
}

void TRepLayout::BuildLayout() {
    QPainter painter(this);
    const QRect area(QPoint(0, geometry_.rowRect(1).top()),
                     QPoint(width() - 1, geometry_.rowRect(kTotalsRow).bottom()));
    painter.fillRect(area, Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8 * geometry_.scale);
    painter.setFont(font);
    const QFontMetrics metrics(font);

    const auto drawRow = [&](int row, const ReportLine& line) {
        const QRect rect = geometry_.rowRect(row);
        for (const EntryBox& box : entryBoxes(line, rect, geometry_.reportWidth)) {
            painter.setPen(Qt::black);
            painter.drawRect(box.rect.adjusted(0, 0, -1, -1));
            const QRect inner = box.rect.adjusted(2, 0, -2, 0);
            const EntryCaption text = entryCaption(line[box.entry], row == kTotalsRow, fieldLabels_,
                                                   metrics, inner.width());
            painter.setPen(text.color);
            painter.drawText(inner, int(text.align | Qt::AlignVCenter), text.text);
        }
    };
    for (int row = 1; row <= geometry_.bodyLines; ++row) drawRow(row, work_.line(row));
    if (geometry_.totalsShown) drawRow(kTotalsRow, work_.totals);
}

void TRepLayout::mousePressEvent(QMouseEvent* event) {
    pressed_.reset();
    if (event->button() == Qt::LeftButton)
        pressed_ = hitTest(geometry_, work_, event->position().toPoint());
    QDialog::mousePressEvent(event);
}

void TRepLayout::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<LayoutHit> down = pressed_;
    pressed_.reset();
    if (event->button() == Qt::LeftButton && down &&
        hitTest(geometry_, work_, event->position().toPoint()) == down)
        ChoosePart(*down);
    QDialog::mouseReleaseEvent(event);
}

void TRepLayout::ChoosePart(const LayoutHit& hit) {
    ReportLine& line = hit.row == kTotalsRow ? work_.totals : work_.line(hit.row);
    TReportPart part(line, hit.row, hit.entry, geometry_.reportWidth, fieldLabels_, show_, this);
    if (ui::platform().execModal(part) != QDialog::Accepted) return;
    line = part.line();
    update();
}

}  // namespace reports
