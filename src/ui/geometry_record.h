// The geometry a long-lived window had at creation, put back before each showing so that
// scaling by the screen factor never compounds.
//
// `capture` records the window's client size and, for its first 101 components of a known kind
// (see control_kind.h) in component order, their position, size and font size (frames have no
// font). A window with more components shows "Too many compenents to save dimensions." titled
// "Error" through the platform seam, and the rest are not recorded. Components are held by
// QPointer: one deleted since capture is skipped on restore.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace ui {

inline constexpr int kMaxRecordedComponents = 101;

class GeometryRecord {
  public:
    static GeometryRecord capture(QWidget* window);

    // Puts back the client size, the components' geometry and their font sizes.
    void restore() const;

    int componentCount() const { return int(components_.size()); }
    QSize clientSize() const { return clientSize_; }

  private:
    struct Component {
        QPointer<QWidget> widget;
        QRect geometry;
        bool hasFont = false;
        qreal pointSize = -1;  // -1 when the font is sized in pixels
        int pixelSize = -1;
    };

    QPointer<QWidget> window_;
    QSize clientSize_;
    std::vector<Component> components_;
};

// Scales the window's client size, its components' positions and sizes and their font sizes by
// `factor` (rounded to whole pixels and points). Components of no known kind are left alone.
void scaleWindow(QWidget* window, double factor);

}  // namespace ui
