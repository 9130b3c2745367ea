#include "reports/page_painter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPen>

namespace reports {

namespace {

// A picture decoded at the size it is drawn; a picture that cannot be read leaves its place
// crossed out.
void drawPicture(QPainter& painter, const PlacedImage& placed) {
    const QRectF rect(placed.x * kReferenceDpi, placed.y * kReferenceDpi,
                      placed.width * kReferenceDpi, placed.height * kReferenceDpi);
    const QImage image = decodePicture(placed, painter.transform().mapRect(rect).size());
    if (image.isNull()) {
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomLeft());
        return;
    }
    painter.drawImage(rect, image);
}

}  // namespace

void preparePagedDevice(QPagedPaintDevice& device, const PageSetup& setup) {
    const QSizeF portrait = setup.landscape ? setup.size.transposed() : setup.size;
    device.setPageSize(QPageSize(portrait, QPageSize::Inch));
    device.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
}

void paintPage(QPainter& painter, const QRectF& target, const PageSetup& setup, const Page& page,
               const std::vector<PageFont>& fonts, bool monochrome) {
    if (setup.size.width() <= 0 || setup.size.height() <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Work in reference-device dots: one inch is kReferenceDpi units.
    painter.translate(target.topLeft());
    painter.scale(target.width() / (setup.size.width() * kReferenceDpi),
                  target.height() / (setup.size.height() * kReferenceDpi));

    QPen pen(Qt::black);
    pen.setWidthF(kReferenceDpi / 100.0);  // a hundredth of an inch
    painter.setPen(pen);
    for (const PlacedImage& placed : page.images) drawPicture(painter, placed);
    // Neighbouring boxes share edges: each edge drawn once, all lines in one call.
    const std::vector<PlacedLine> merged = mergedLines(page.lines);
    QList<QLineF> drawn;
    drawn.reserve(static_cast<qsizetype>(merged.size()));
    for (const PlacedLine& l : merged)
        drawn.append(QLineF(l.x1 * kReferenceDpi, l.y1 * kReferenceDpi, l.x2 * kReferenceDpi,
                            l.y2 * kReferenceDpi));
    painter.drawLines(drawn);

    int current = -1;
    for (const PlacedText& t : page.texts) {
        if (t.font < 0 || t.font >= static_cast<int>(fonts.size())) continue;
        if (t.font != current) {
            current = t.font;
            QFont f = resolvedFont(fonts[current]);
            // Sized in reference dots so that the painter's scale, not the device's resolution,
            // decides the drawn size.
            f.setPixelSize(qRound(fonts[current].points * kReferenceDpi / 72.0));
            painter.setFont(f);
            painter.setPen(monochrome ? QColor(Qt::black) : fonts[current].color);
        }
        painter.drawText(QPointF(t.x * kReferenceDpi, t.baseline * kReferenceDpi), t.text);
    }
    painter.restore();
}

PaintingSink::PaintingSink(QPagedPaintDevice& device, const PageSetup& setup)
    : device_(device), setup_(setup) {}

PaintingSink::~PaintingSink() {
    if (painter_) painter_->end();
}

void PaintingSink::pageDone(Page&& page, int, const std::vector<PageFont>& fonts) {
    if (!ok_) return;
    if (!painter_) {
        painter_ = std::make_unique<QPainter>();
        if (!painter_->begin(&device_)) {
            ok_ = false;
            return;
        }
    } else if (!device_.newPage()) {
        ok_ = false;
        return;
    }
    // The full page, paper edges included, in device pixels.
    const QRectF full = device_.pageLayout().fullRectPixels(device_.logicalDpiX());
    const QRectF paint = device_.pageLayout().paintRectPixels(device_.logicalDpiX());
    paintPage(*painter_, QRectF(-paint.topLeft(), full.size()), setup_, page, fonts);
}

void PaintingSink::finished(const std::vector<PageFont>&) {
    if (painter_) painter_->end();
    painter_.reset();
}

}  // namespace reports
