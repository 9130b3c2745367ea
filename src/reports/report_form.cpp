#include "reports/report_form.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include "ui/messages.h"
#include "ui/window_keys.h"

namespace reports {

TReportForm::TReportForm(ReportJob& job, std::function<RunResult(ReportJob&)> start,
                         QWidget* parent)
    : TReportForm(
          static_cast<PagedJob&>(job), [&job, start = std::move(start)] { return start(job); },
          parent) {}

TReportForm::TReportForm(PagedJob& job, std::function<RunResult()> start, QWidget* parent)
    : QDialog(parent), job_(job), start_(std::move(start)) {
    setObjectName(QStringLiteral("ReportForm"));
    setWindowTitle(QStringLiteral("Report Status Screen"));
    ui::installWindowKeys(this);
    setFixedSize(300, 150);

    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setGeometry(16, 12, 268, 76);
    StatusLabel->setAlignment(Qt::AlignCenter);

    BitBtn1 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(108, 104, 84, 28);
    connect(BitBtn1, &QPushButton::clicked, this, &TReportForm::BitBtn1Click);

    job_.setPageStarted([this](int page) { showStatus(page); });
}

void TReportForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // Runs once the window is on screen, from the modal loop, so its events are served.
        QTimer::singleShot(0, this, &TReportForm::FormActivate);
    }
}

void TReportForm::showStatus(int page) {
    // "Printing Page %p\r%0\r%1" with both status lines empty.
    if (page > 0) StatusLabel->setText(QStringLiteral("Printing Page %1\n\n").arg(page));
    QApplication::processEvents(QEventLoop::AllEvents);
}

void TReportForm::FormActivate() {
    if (running_ || finished_) return;
    running_ = true;
    // Cancel pressed before the run began: nothing is started.
    result_ = cancelRequested_ ? RunResult::Canceled : start_();
    running_ = false;
    finished_ = true;
    BitBtn1->setText(QStringLiteral("OK"));
    StatusLabel->setText(QLatin1Char('\n') +
                         (result_ == RunResult::Completed ? kReportCompleted : kReportCanceled));
    if (result_ == RunResult::Failed) ui::showError(this, job_.error());
}

void TReportForm::BitBtn1Click() {
    if (finished_) {
        accept();
        return;
    }
    cancelRequested_ = true;
    job_.cancel();
}

void TReportForm::reject() {
    if (running_) {
        cancelRequested_ = true;
        job_.cancel();
        return;
    }
    QDialog::reject();
}

}  // namespace reports
