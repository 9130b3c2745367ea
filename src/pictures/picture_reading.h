// Reading stored pictures into images: whole (for the picture window) or as thumbnails, with
// their EXIF orientation applied, and the placeholder shown for a picture that cannot be read.
//
// Plain functions, safe on any thread (QImage, not QPixmap). A thumbnail of a JPEG is decoded at
// reduced size (the decoder skips most of the work for an eighth, quarter or half of the size),
// which is what makes thumbnails of large photographs fast.
//
// Thumbnails are cached in the store's "thumbnails/" folder as "<stored file stem>-<size>.jpg"
// (written through a temporary file and renamed, so a kill leaves no half file); the cache is
// derived data and is made again when missing or unreadable.
#pragma once

#include <QImage>
#include <QString>

namespace pictures {

struct Picture;

struct PictureImage {
    QImage image;    // null when the picture could not be read
    QString reason;  // why, for the placeholder; empty when read
    bool ok() const { return !image.isNull(); }
};

// The whole picture, turned as its EXIF orientation says.
PictureImage readPicture(const QString& path);
// The picture scaled to fit a `size` x `size` square (never enlarged), turned likewise.
PictureImage makeThumbnail(const QString& path, int size);

// Where the thumbnail of `picture` at `size` is cached.
QString thumbnailCachePath(const Picture& picture, int size);
QString thumbnailCachePath(const QString& picturePath, int size);
// The sizes the windows cache thumbnails at: the grid's picture column and the picture pane.
inline constexpr int kCachedThumbnailSizes[] = {64, 256};

// The cached thumbnail when it is there and readable, else made and cached: from a larger
// cached thumbnail of the same picture when there is one (the grid's small ones from the pane's,
// without decoding the photograph again), otherwise from the picture. A picture that cannot be
// read is not cached (it is tried again next time).
PictureImage cachedThumbnail(const QString& picturePath, int size);

// A grey `size` image with a crossed frame and `reason` written in it (wrapped), for a picture
// that is missing or damaged.
QImage placeholderImage(const QSize& size, const QString& reason);

}  // namespace pictures
