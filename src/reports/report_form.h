// TReportForm: the "Report Status Screen" shown while a report runs.
//
// Created for one run and shown modally; the run starts as soon as the window is shown
// (`FormActivate`) and keeps the window responsive: the status label shows the page being laid
// out ("Printing Page N") and events are processed between pages and every few hundred records,
// so the Cancel button (`BitBtn1`) can abort the run mid-way. When the run ends the button turns
// into OK and the label reads "Report Completed!" or "Report Canceled!"; a failure (file or
// printer error, engine error) is shown titled "Error" and counts as canceled. OK closes the
// window. Closing the window while the run goes on cancels it.
#pragma once

#include <QDialog>
#include <functional>

#include "reports/report_job.h"

class QLabel;
class QPushButton;

namespace reports {

inline const QString kReportCompleted = QStringLiteral("Report Completed!");
inline const QString kReportCanceled = QStringLiteral("Report Canceled!");

class TReportForm : public QDialog {
    Q_OBJECT
  public:
    // `start` runs `job` to its output (runToText, runToPdf, ...). Both must outlive the window.
    TReportForm(ReportJob& job, std::function<RunResult(ReportJob&)> start,
                QWidget* parent = nullptr);
    // The same for any paged job (album pages): `start` runs it.
    TReportForm(PagedJob& job, std::function<RunResult()> start, QWidget* parent = nullptr);

    void FormActivate();
    void BitBtn1Click();

    bool running() const { return running_; }
    bool finished() const { return finished_; }
    bool aborted() const { return result_ != RunResult::Completed; }
    RunResult result() const { return result_; }

    QLabel* StatusLabel = nullptr;
    QPushButton* BitBtn1 = nullptr;

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void showStatus(int page);

    PagedJob& job_;
    std::function<RunResult()> start_;
    bool started_ = false;
    bool running_ = false;
    bool finished_ = false;
    bool cancelRequested_ = false;
    RunResult result_ = RunResult::Canceled;
};

}  // namespace reports
