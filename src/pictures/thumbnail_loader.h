// Thumbnails made off the interface thread.
//
// request() hands the work to a pool of worker threads (cachedThumbnail(): the store's cache, or
// the picture decoded at reduced size), newest request first, and returns at once; `ready` is emitted on the loader's
// thread when the thumbnail (or the reason it could not be made) is there. Results are kept in
// memory (up to about 64 MB of images), so going back to a record shows its picture without
// asking again: cached() answers at once. A request already under way is not made twice, and a
// picture that cannot be read is reported once a request, never retried in a loop.
#pragma once

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <optional>

#include "pictures/picture_reading.h"

namespace pictures {

class ThumbnailLoader : public QObject {
    Q_OBJECT
  public:
    // `threads` workers (0: one a core).
    explicit ThumbnailLoader(QObject* parent = nullptr, int threads = 0);
    ~ThumbnailLoader() override;

    // The thumbnail from memory, when it was made before.
    std::optional<PictureImage> cached(const QString& picturePath, int size) const;
    // Starts making the thumbnail unless it is in memory or under way. A picture outside a
    // store (one waiting to be added) is read with `diskCache` false: nothing is written
    // beside it.
    void request(const QString& picturePath, int size, bool diskCache = true);
    // Forgets what is in memory (after pictures changed on disk).
    void clear();
    // Waits for every request under way (tests, closing).
    void waitForDone();

  signals:
    void ready(const QString& picturePath, int size, const pictures::PictureImage& result);

  private:
    void deliver(const QString& key, const QString& picturePath, int size,
                 const PictureImage& result);

    QThreadPool pool_;
    QCache<QString, PictureImage> memory_;
    QSet<QString> underWay_;
    unsigned requests_ = 0;  // the priority of the next request: later ones go first
};

}  // namespace pictures
