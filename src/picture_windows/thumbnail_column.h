// The main window grid's picture column: each stamp's main picture as a small thumbnail in the
// grid's first column (View "&Thumbnail Column").
//
// The grid asks cell() for a record while it paints; the answer comes from memory or nothing
// at all: a thumbnail not yet in memory is asked of the thumbnail loader (the store's cache on
// disk, or the picture decoded at reduced size, on worker threads) and the cell stays empty
// until it is there, when cellReady() has the grid repaint that one cell. So scrolling never
// waits for a picture. A missing or damaged picture shows the placeholder, with the reason as
// the cell's tool tip. The store's index is read again only when it changed on disk, so a
// picture added in the record editor shows at the next paint.
//
// Roles: Qt::DecorationRole the thumbnail (QImage), Qt::ToolTipRole the picture's file name
// and count or the reason it cannot be shown, Qt::AccessibleTextRole "Picture", "No picture",
// the reason, or "Loading picture" while it is being made.
#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <memory>

#include "ui/grid_leading_column.h"

namespace pictures {
class PictureStore;
class ThumbnailLoader;
struct PictureImage;
}  // namespace pictures

namespace picture_windows {

class ThumbnailColumn : public ui::GridLeadingColumn {
    Q_OBJECT
  public:
    // Thumbnails are made at this size (and cached on disk at it) and drawn fitted to the row.
    static constexpr int kThumbnailSize = 64;
    static constexpr int kRowHeight = 44;
    static constexpr int kWidth = 60;

    explicit ThumbnailColumn(QObject* parent = nullptr);
    ~ThumbnailColumn() override;

    // The collection whose pictures are shown (its table's path); empty: none.
    void setCollection(const QString& tablePath);

    QVariant cell(std::uint32_t recno, int role) override;
    QString title() const override { return QStringLiteral("Picture"); }
    int width() const override { return kWidth; }
    int rowHeight() const override { return kRowHeight; }

    pictures::ThumbnailLoader* loader() const { return loader_; }

  private:
    void thumbnailReady(const QString& path, int size, const pictures::PictureImage& result);
    QImage placeholder(const QString& reason);

    std::unique_ptr<pictures::PictureStore> store_;
    pictures::ThumbnailLoader* loader_ = nullptr;
    QHash<QString, QList<std::uint32_t>> waiting_;  // records waiting for each picture
    QHash<QString, QImage> placeholders_;           // by reason
};

}  // namespace picture_windows
