// TAlbumPages: the "Album Pages" window of the Reports window, where the user chooses how many
// pictures go to a row and the page's orientation, then views or prints album pages of the
// viewed stamps (album_pages.h).
//
// "&View" and "&Print" close the window with the choice made (`output()`); "&Cancel" closes it
// without one. The Reports window then runs the album with its status window and shows the
// preview or prints, as it does for reports.
#pragma once

#include <QDialog>

#include "reports/album_pages.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace reports {

class TAlbumPages : public QDialog {
    Q_OBJECT
  public:
    enum class Output { None, View, Print };

    explicit TAlbumPages(QWidget* parent = nullptr);

    Output output() const { return output_; }
    // The options chosen (pictures to a row, landscape); the date is the caller's.
    AlbumOptions options() const;

    QSpinBox* PerRow = nullptr;
    QCheckBox* LandOrient = nullptr;
    QPushButton* ViewButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* CancelButton = nullptr;

  private:
    Output output_ = Output::None;
};

}  // namespace reports
