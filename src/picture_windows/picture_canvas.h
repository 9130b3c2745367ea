// The picture drawn at a zoom factor, painting only the part that shows: a 12-megapixel picture
// at 800 % is never made as one bitmap.
#pragma once

#include <QImage>
#include <QWidget>

namespace picture_windows {

class PictureCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit PictureCanvas(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    QSize sizeHint() const override;

  signals:
    // The wheel turned over the picture by `steps` notches (positive: away from the user).
    void wheelTurned(double steps, QPoint at);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QImage image_;
    double zoom_ = 1.0;
};

}  // namespace picture_windows
