#include "reports/preview_page.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "reports/page_painter.h"

namespace reports {

namespace {
constexpr double kMargin = 0.025;  // of the page's size, on every side
}

PreviewPage::PreviewPage(const RecordedReport& report, QWidget* parent)
    : QWidget(parent), report_(report) {
    setObjectName(QStringLiteral("MyFilePreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(pixelsAt(zoom_).toSize());
}

QSizeF PreviewPage::pixelsAt(double percent) const {
    const QSizeF inches = report_.setup().size;
    const double dots = logicalDpiX() * percent / 100.0;
    return QSizeF(inches.width() * dots * (1 + 2 * kMargin),
                  inches.height() * logicalDpiY() * percent / 100.0 * (1 + 2 * kMargin));
}

void PreviewPage::showPage(int index) {
    if (index == index_) return;
    index_ = index;
    page_ = index >= 0 && index < report_.pageCount() ? report_.page(index) : Page();
    redraw();
}

void PreviewPage::setZoom(double percent) {
    zoom_ = percent;
    setFixedSize(pixelsAt(zoom_).toSize());
    redraw();
}

void PreviewPage::setMonochrome(bool on) {
    if (on == monochrome_) return;
    monochrome_ = on;
    redraw();
}

void PreviewPage::redraw() {
    ++redraws_;
    update();
}

double PreviewPage::pageWidthZoom(QSize view) const {
    const double full = pixelsAt(100.0).width();
    return full > 0 ? 100.0 * view.width() / full : 100.0;
}

double PreviewPage::wholePageZoom(QSize view) const {
    const QSizeF full = pixelsAt(100.0);
    if (full.width() <= 0 || full.height() <= 0) return 100.0;
    return 100.0 * std::min(view.width() / full.width(), view.height() / full.height());
}

void PreviewPage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    const QSizeF size(width() / (1 + 2 * kMargin), height() / (1 + 2 * kMargin));
    const QRectF sheet(QPointF(size.width() * kMargin, size.height() * kMargin), size);
    painter.fillRect(sheet, Qt::white);
    painter.setClipRect(event->rect());
    paintPage(painter, sheet, report_.setup(), page_, report_.fonts(), monochrome_);
}

}  // namespace reports
