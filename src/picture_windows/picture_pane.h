// The main window's picture pane: the current stamp's main picture and how many it has.
//
// showRecord() is called whenever the main window's current record changes; the pane shows the
// cached thumbnail at once when there is one and otherwise asks the thumbnail loader (never
// decoding on the interface thread), so moving through records never waits for a picture. A
// picture that cannot be read shows the placeholder with the reason. When the record no longer
// matches the fingerprint its pictures were linked with (another program packed or rewrote the
// table), the pane says so and, when exactly one record matches, offers "Relink" to move them
// there.
//
// Accessible name "Pictures"; the accessible description and the caption say how many pictures
// the stamp has ("2 pictures of this stamp", "No pictures of this stamp"). Double-click opens
// the picture window on the picture shown.
#pragma once

#include <QFrame>
#include <QString>
#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;

namespace engine {
class Table;
}

namespace pictures {
class PictureStore;
class ThumbnailLoader;
struct PictureImage;
}  // namespace pictures

namespace picture_windows {

class PicturePane : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kThumbnailSize = 256;

    explicit PicturePane(QWidget* parent = nullptr);
    ~PicturePane() override;

    // The collection whose pictures are shown (its table's path); empty: none.
    void setCollection(const QString& tablePath);
    // Shows the pictures of the table's current record (none when no record is current).
    void showRecord(const engine::Table& table);
    std::uint32_t recordShown() const { return recno_; }
    int pictureCount() const { return count_; }
    QString captionText() const;
    pictures::PictureStore* store() const { return store_.get(); }

  signals:
    // Double-click on the picture: open the picture window on the record's pictures.
    void openRequested(std::uint32_t recno, int position);
    // The pictures were moved to another record by "Relink".
    void relinked(std::uint32_t from, std::uint32_t to);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void thumbnailReady(const QString& path, int size, const pictures::PictureImage& result);
    void showImage(const pictures::PictureImage& result);
    void relink();

    std::unique_ptr<pictures::PictureStore> store_;
    pictures::ThumbnailLoader* loader_ = nullptr;
    QLabel* image_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* warning_ = nullptr;
    QPushButton* relink_ = nullptr;
    std::uint32_t recno_ = 0;
    int count_ = 0;
    QString shownPath_;
    std::uint32_t candidate_ = 0;
    const engine::Table* table_ = nullptr;
};

}  // namespace picture_windows
