#include "picture_windows/picture_canvas.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace picture_windows {

PictureCanvas::PictureCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PictureCanvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureCanvas::setImage(const QImage& image) {
    image_ = image;
    resize(sizeHint());
    update();
}

void PictureCanvas::setZoom(double zoom) {
    zoom_ = zoom;
    resize(sizeHint());
    update();
}

QSize PictureCanvas::sizeHint() const {
    if (image_.isNull()) return QSize(1, 1);
    return QSize(qMax(1, int(std::lround(image_.width() * zoom_))),
                 qMax(1, int(std::lround(image_.height() * zoom_))));
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    if (image_.isNull()) return;
    // The source rectangle behind the exposed part, one pixel wider on each side for smoothing.
    const QRectF target = QRectF(event->rect()).intersected(QRectF(rect()));
    const QRectF source(target.left() / zoom_, target.top() / zoom_, target.width() / zoom_,
                        target.height() / zoom_);
    // Enlarged pictures show their pixels (perforations, watermarks); reduced ones are smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1.0);
    painter.drawImage(target, image_, source);
}

void PictureCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) emit wheelTurned(steps, event->position().toPoint());
    event->accept();
}

}  // namespace picture_windows
