#include "ui/geometry_record.h"

#include <QFont>
#include <cmath>

#include "ui/control_kind.h"
#include "ui/messages.h"

namespace ui {

namespace {

int scaled(int value, double factor) {
    return int(std::lround(value * factor));
}

QRect scaled(const QRect& r, double factor) {
    return QRect(scaled(r.x(), factor), scaled(r.y(), factor), scaled(r.width(), factor),
                 scaled(r.height(), factor));
}

QFont scaledFont(QFont font, double factor) {
    if (font.pointSizeF() > 0)
        font.setPointSize(std::max(1, int(std::lround(font.pointSizeF() * factor))));
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, scaled(font.pixelSize(), factor)));
    return font;
}

}  // namespace

GeometryRecord GeometryRecord::capture(QWidget* window) {
    GeometryRecord record;
    record.window_ = window;
    record.clientSize_ = window->size();
    int known = 0;
    for (QWidget* w : windowComponents(window)) {
        const ControlKind kind = controlKindOf(w);
        if (kind == ControlKind::None) continue;
        if (++known > kMaxRecordedComponents) continue;
        Component c;
        c.widget = w;
        c.geometry = w->geometry();
        c.hasFont = kindHasFont(kind);
        c.pointSize = w->font().pointSizeF();
        c.pixelSize = w->font().pixelSize();
        record.components_.push_back(c);
    }
    if (known > kMaxRecordedComponents)
        showError(window, QStringLiteral("Too many compenents to save dimensions."));
    return record;
}

void GeometryRecord::restore() const {
    if (!window_) return;
    window_->resize(clientSize_);
    for (const Component& c : components_) {
        if (!c.widget) continue;
        c.widget->setGeometry(c.geometry);
        if (!c.hasFont) continue;
        QFont font = c.widget->font();
        if (c.pointSize > 0)
            font.setPointSizeF(c.pointSize);
        else if (c.pixelSize > 0)
            font.setPixelSize(c.pixelSize);
        c.widget->setFont(font);
    }
}

void scaleWindow(QWidget* window, double factor) {
    if (factor == 1.0) return;
    struct Change {
        QWidget* widget;
        QRect geometry;
        bool hasFont;
        QFont font;
    };
    // Work out every change from the current state first: a container's font reaching its
    // children must not scale them twice.
    std::vector<Change> changes;
    for (QWidget* w : windowComponents(window)) {
        const ControlKind kind = controlKindOf(w);
        if (kind == ControlKind::None) continue;
        const bool hasFont = kindHasFont(kind);
        changes.push_back(Change{w, scaled(w->geometry(), factor), hasFont,
                                 hasFont ? scaledFont(w->font(), factor) : QFont()});
    }
    window->resize(scaled(window->width(), factor), scaled(window->height(), factor));
    for (const Change& c : changes) {
        c.widget->setGeometry(c.geometry);
        if (c.hasFont) c.widget->setFont(c.font);
    }
}

}  // namespace ui
