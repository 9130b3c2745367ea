// Drawing laid-out pages, and the page sinks that draw or keep them.
//
// `paintPage` is the one painter of the system: it draws one page on whatever device the painter
// is open on (a printer, a PDF file, an image, the preview widget), scaled so that the page
// fills `target` (device pixels). Text is drawn with fonts sized for the 1200-dpi reference
// device and scaled with the painter, so it lands exactly where the layout measured it.
#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <QRectF>
#include <memory>
#include <vector>

#include "reports/page_engine.h"
#include "reports/page_model.h"

namespace reports {

// Draws `page` into `target` (device coordinates) on `painter`; `monochrome` draws every text
// in black.
void paintPage(QPainter& painter, const QRectF& target, const PageSetup& setup, const Page& page,
               const std::vector<PageFont>& fonts, bool monochrome = false);

// Gives `device` the page size and orientation of `setup`, without margins.
void preparePagedDevice(QPagedPaintDevice& device, const PageSetup& setup);

// Keeps nothing: a text-file run needs only the engine's line arithmetic.
class DiscardingSink : public PageSink {
  public:
    bool wantsItems() const override { return false; }
    void pageDone(Page&&, int, const std::vector<PageFont>&) override {}
};

// Paints each page on a printer or PDF writer as soon as it is laid out, then forgets it. The
// device's page layout must already have the run's orientation. `ok()` is false when the
// device could not be opened for painting.
class PaintingSink : public PageSink {
  public:
    PaintingSink(QPagedPaintDevice& device, const PageSetup& setup);
    ~PaintingSink() override;
    void pageDone(Page&& page, int number, const std::vector<PageFont>& fonts) override;
    void finished(const std::vector<PageFont>& fonts) override;
    bool ok() const { return ok_; }

  private:
    QPagedPaintDevice& device_;
    PageSetup setup_;
    std::unique_ptr<QPainter> painter_;
    bool ok_ = true;
};

}  // namespace reports
