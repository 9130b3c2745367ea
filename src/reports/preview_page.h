// The page view of the preview: one page of a recorded report drawn at a zoom factor.
//
// The widget is the page plus a margin of 2.5 percent of its size on every side, on the dark
// background of the scroll area, without a shadow. At 100 percent one inch of paper is one
// logical inch of the screen. Only the page shown is asked of the report; it is kept while
// shown, so scrolling repaints without laying the page out again. `redraws()` counts the times
// the page was drawn anew (another page, zoom or colour), which is what a user sees flicker.
#pragma once

#include <QSize>
#include <QWidget>

#include "reports/report_pages.h"

namespace reports {

class PreviewPage : public QWidget {
  public:
    explicit PreviewPage(const RecordedReport& report, QWidget* parent = nullptr);

    // Shows page `index` (0-based); one outside the report shows a blank sheet.
    void showPage(int index);
    int page() const { return index_; }
    void setZoom(double percent);
    double zoom() const { return zoom_; }
    void setMonochrome(bool on);
    bool monochrome() const { return monochrome_; }
    int redraws() const { return redraws_; }

    // The zoom at which the page with its margins is as wide as `view`, or fits it whole.
    double pageWidthZoom(QSize view) const;
    double wholePageZoom(QSize view) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSizeF pixelsAt(double percent) const;  // the page, margins included
    void redraw();

    const RecordedReport& report_;
    int index_ = -1;
    Page page_;
    double zoom_ = 100.0;
    bool monochrome_ = true;
    int redraws_ = 0;
};

}  // namespace reports
