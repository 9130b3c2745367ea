// The picture window: every picture of one stamp, one at a time, to look at closely.
//
// Zoom with the mouse wheel (from what fits down to 5 % and up to 800 %, keeping the point under
// the mouse where it is), "Fit" (the whole picture in the window, the start), "Actual Size"
// (100 %), "Rotate" (a quarter turn clockwise, for the picture shown), "Previous" and "Next"
// picture (also Page Up / Page Down). The full picture is decoded off the interface thread; a
// picture that cannot be read shows the placeholder with the reason. The title names the
// picture: "Picture 2 of 3 - back.jpg".
#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <vector>

#include "pictures/picture_reading.h"
#include "pictures/picture_store.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace picture_windows {

class PictureCanvas;

inline constexpr double kMaxZoom = 8.0;
inline constexpr double kMinZoom = 0.05;

class PictureWindow : public QDialog {
    Q_OBJECT
  public:
    explicit PictureWindow(QWidget* parent = nullptr);
    ~PictureWindow() override;

    // Shows `list` starting at `position`.
    void showPictures(const std::vector<pictures::Picture>& list, int position);

    int position() const { return position_; }
    int count() const { return static_cast<int>(list_.size()); }
    double zoom() const;
    bool fitting() const { return fit_; }
    int rotation() const { return rotation_; }  // 0, 90, 180, 270
    // True once the picture shown has been read (or found unreadable).
    bool loaded() const { return loaded_; }
    QString reason() const { return reason_; }

    void previousPicture();
    void nextPicture();
    void fitToWindow();
    void actualSize();
    void rotate();
    // Multiplies the zoom by 1.25 per step (negative steps reduce), within 5 % .. 800 %.
    void zoomBy(double steps, QPoint anchor = QPoint(-1, -1));

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void load();
    void loadedImage(const pictures::PictureImage& result);
    void showZoom(double zoom, QPoint anchor);
    double fitZoom() const;
    void updateControls();

    std::vector<pictures::Picture> list_;
    int position_ = 0;
    int rotation_ = 0;
    bool fit_ = true;
    bool loaded_ = false;
    QString reason_;
    QImage original_;
    QScrollArea* scroll_ = nullptr;
    PictureCanvas* canvas_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QFutureWatcher<pictures::PictureImage> reading_;
    int generation_ = 0;
};

}  // namespace picture_windows
