#include "ui/fitting_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>

namespace ui {

namespace {

constexpr double kSmallestPointSize = 1.0;
constexpr double kStep = 0.25;

double textWidth(const QFont& font, const QString& text) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

}  // namespace

QFont FittingLabel::shownFont() const {
    QFont shown = font();
    const double room = contentsRect().width() - 2 * margin();
    const QString shownText = text();
    double width = textWidth(shown, shownText);
    if (width <= room || room <= 0) return shown;
    if (shown.pointSizeF() <= 0) shown.setPointSizeF(QFontInfo(shown).pointSizeF());
    // Start from the proportional size, then step down until the text fits.
    double size = shown.pointSizeF() * room / width;
    for (; size > kSmallestPointSize; size -= kStep) {
        shown.setPointSizeF(size);
        if (textWidth(shown, shownText) <= room) return shown;
    }
    shown.setPointSizeF(kSmallestPointSize);
    return shown;
}

void FittingLabel::paintEvent(QPaintEvent* event) {
    const QFont shown = shownFont();
    if (shown == font()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(shown);
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, room, int(alignment()), palette(), isEnabled(), text(),
                          foregroundRole());
}

}  // namespace ui
