#include "app/speed_button_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace app {

namespace {

constexpr int kSize = 18;

void page(QPainter& p, int x, int y) {
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(x, y), QPoint(x + 7, y), QPoint(x + 10, y + 3),
                            QPoint(x + 10, y + 13), QPoint(x, y + 13)}));
}

void magnifier(QPainter& p) {
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRect(2, 2, 9, 9));
    p.drawLine(10, 10, 15, 15);
}

void arrow(QPainter& p, QPoint from, QPoint to, const QColor& color) {
    p.setPen(QPen(color, 2));
    p.drawLine(from, to);
    const QPointF d = QPointF(to - from) / std::max(1.0, QLineF(from, to).length());
    const QPointF n(-d.y(), d.x());
    const QPointF tip(to);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({tip, tip - d * 4 + n * 3, tip - d * 4 - n * 3}));
}

// A tray with an arrow going into it (import) or out of it (export).
void trayWithArrow(QPainter& p, bool into) {
    p.setPen(Qt::black);
    p.setBrush(Qt::lightGray);
    p.drawRect(1, 10, 16, 6);
    if (into)
        arrow(p, QPoint(9, 0), QPoint(9, 10), Qt::darkGreen);
    else
        arrow(p, QPoint(9, 10), QPoint(9, 0), Qt::darkRed);
}

void target(QPainter& p) {
    p.setPen(QPen(Qt::darkBlue, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(2, 2, 11, 11));
    p.drawLine(7, 0, 7, 15);
    p.drawLine(0, 7, 15, 7);
}

void draw(QPainter& p, SpeedIcon kind) {
    switch (kind) {
        case SpeedIcon::New:
            page(p, 4, 2);
            break;
        case SpeedIcon::Open:
            p.setPen(Qt::black);
            p.setBrush(QColor(240, 200, 80));
            p.drawRect(1, 5, 15, 10);
            p.drawRect(1, 3, 6, 2);
            break;
        case SpeedIcon::Add:
            p.fillRect(7, 2, 4, 14, Qt::darkGreen);
            p.fillRect(2, 7, 14, 4, Qt::darkGreen);
            break;
        case SpeedIcon::Edit:
            page(p, 1, 2);
            p.setPen(QPen(Qt::darkBlue, 3));
            p.drawLine(8, 14, 16, 4);
            break;
        case SpeedIcon::Copy:
            page(p, 1, 1);
            page(p, 6, 4);
            break;
        case SpeedIcon::Delete:
            p.setPen(QPen(Qt::red, 3));
            p.drawLine(3, 3, 15, 15);
            p.drawLine(15, 3, 3, 15);
            break;
        case SpeedIcon::Import:
            trayWithArrow(p, true);
            break;
        case SpeedIcon::Export:
            trayWithArrow(p, false);
            break;
        case SpeedIcon::Search:
            magnifier(p);
            break;
        case SpeedIcon::EndSearch:
            magnifier(p);
            p.setPen(QPen(Qt::red, 2));
            p.drawLine(1, 16, 16, 1);
            break;
        case SpeedIcon::Locate:
            target(p);
            break;
        case SpeedIcon::LocateNext:
            target(p);
            arrow(p, QPoint(9, 15), QPoint(17, 15), Qt::darkGreen);
            break;
        case SpeedIcon::Reports:
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(4, 1, 10, 6);
            p.setBrush(Qt::gray);
            p.drawRect(1, 7, 16, 7);
            p.setBrush(Qt::white);
            p.drawRect(4, 12, 10, 5);
            break;
        case SpeedIcon::Viewer:
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(1, 2, 16, 14);
            p.fillRect(2, 3, 15, 3, Qt::gray);
            for (int y = 6; y < 16; y += 3) p.drawLine(1, y, 17, y);
            p.drawLine(7, 2, 7, 16);
            p.drawLine(12, 2, 12, 16);
            break;
        case SpeedIcon::Color:
            p.fillRect(1, 1, 8, 8, Qt::red);
            p.fillRect(9, 1, 8, 8, Qt::green);
            p.fillRect(1, 9, 8, 8, Qt::blue);
            p.fillRect(9, 9, 8, 8, Qt::yellow);
            break;
        case SpeedIcon::SortOrder: {
            QFont f = p.font();
            f.setPixelSize(8);
            f.setBold(true);
            p.setFont(f);
            p.setPen(Qt::black);
            p.drawText(QRect(0, 0, 10, 9), Qt::AlignCenter, QStringLiteral("A"));
            p.drawText(QRect(0, 9, 10, 9), Qt::AlignCenter, QStringLiteral("Z"));
            arrow(p, QPoint(13, 1), QPoint(13, 17), Qt::darkBlue);
            break;
        }
        case SpeedIcon::Help: {
            QFont f = p.font();
            f.setPixelSize(15);
            f.setBold(true);
            p.setFont(f);
            p.setPen(Qt::darkBlue);
            p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
    }
}

}  // namespace

QIcon speedButtonIcon(SpeedIcon kind) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, kind);
    p.end();
    return QIcon(pixmap);
}

}  // namespace app
