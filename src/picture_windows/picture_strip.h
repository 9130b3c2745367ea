// The record editor's picture strip: the pictures of the record being edited, beside its fields.
//
// Add (an open-file dialog in which several pictures can be chosen), drop picture files onto
// the strip, Paste a picture from the clipboard (also Ctrl+V in the strip), Remove the selected
// one, Make Main (move it to the first place); double-click opens the picture window.
//
// It follows the editor's record (showRecord, at every load, move and mode change). For a record
// already in the table, each change goes to the picture store at once. For a new record (Add,
// Copy: no record number yet) the pictures wait in the strip: recordPosted() stores them with
// the record's new number when the editor's Update writes it; showing any other record (moving
// away, New, Cancel/Exit and the next showing) drops them, so pictures of a new record that is
// never updated are not kept. Copy starts with no pictures: a copied record shares none.
//
// Messages (a file that is no picture, a store that cannot be written, an empty clipboard) go
// through the platform seam titled "Pictures" or "Error".
#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include <QImage>
#include <QStringList>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace engine {
class Table;
}
namespace pictures {
class PictureStore;
class ThumbnailLoader;
struct PictureImage;
struct Picture;
}  // namespace pictures

namespace picture_windows {

class PictureWindow;

class PictureStrip : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kIconSize = 96;

    explicit PictureStrip(QWidget* parent = nullptr);
    ~PictureStrip() override;

    // The collection (its table's path) and its open table, read for record fingerprints.
    void setCollection(const QString& tablePath, const engine::Table* table);
    // The editor now works on `recno` (0: a new record); waiting pictures are dropped.
    void showRecord(std::uint32_t recno);
    // The editor's Update wrote the record as `recno`: waiting pictures are stored with it and
    // every link of the record takes its fingerprint as written.
    void recordPosted(std::uint32_t recno);

    std::uint32_t record() const { return recno_; }
    // The pictures shown, by the names they were added under (waiting ones included).
    QStringList names() const;
    int waiting() const { return static_cast<int>(pendingFiles_.size() + pendingImages_.size()); }

    // The commands (buttons and drops call these).
    void addFromDialog();
    void addFiles(const QStringList& files);
    void pasteFromClipboard();
    void removeSelected();
    void makeSelectedMain();
    void select(int position);
    PictureWindow* pictureWindow() const { return window_; }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void reload();
    void addImage(const QImage& image);
    void thumbnailReady(const QString& path, int size, const pictures::PictureImage& result);
    void setIcon(QListWidgetItem* item, const pictures::PictureImage& result);
    void openSelected();
    void updateButtons();
    int selected() const;

    std::unique_ptr<pictures::PictureStore> store_;
    const engine::Table* table_ = nullptr;
    pictures::ThumbnailLoader* loader_ = nullptr;
    PictureWindow* window_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* paste_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* first_ = nullptr;
    std::uint32_t recno_ = 0;
    QStringList pendingFiles_;
    std::vector<QImage> pendingImages_;
    QStringList shownPaths_;  // per item: the file whose thumbnail it shows
};

}  // namespace picture_windows
