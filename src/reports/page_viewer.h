// A plain viewer of recorded report pages: one page at a time, scaled to the window's width,
// with previous and next buttons and "Page N of M". Any page is painted on demand by
// paintPage() from the recorded report; nothing is rendered ahead.
#pragma once

#include <QDialog>
#include <QWidget>

#include "reports/report_job.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace reports {

// Paints one page of a recorded report at the widget's width.
class PageWidget : public QWidget {
  public:
    explicit PageWidget(const RecordedReport& report, QWidget* parent = nullptr);
    void setPage(int index);
    int page() const { return page_; }
    // Height of a page drawn `width` pixels wide.
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override { return true; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const RecordedReport& report_;
    int page_ = 0;
};

class PageViewer : public QDialog {
    Q_OBJECT
  public:
    PageViewer(const RecordedReport& report, const QString& title, QWidget* parent = nullptr);

    void goToPage(int index);
    int currentPage() const { return view_->page(); }

    QPushButton* PrevButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* DoneButton = nullptr;
    QLabel* PageLabel = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitPage();

    const RecordedReport& report_;
    QScrollArea* scroll_ = nullptr;
    PageWidget* view_ = nullptr;
};

}  // namespace reports
