#include "pictures/thumbnail_loader.h"

#include <QMetaObject>

namespace pictures {

namespace {

QString keyOf(const QString& path, int size) { return path + QLatin1Char('|') + QString::number(size); }

}  // namespace

ThumbnailLoader::ThumbnailLoader(QObject* parent, int threads) : QObject(parent) {
    pool_.setMaxThreadCount(threads > 0 ? threads : qMax(1, QThread::idealThreadCount()));
    memory_.setMaxCost(64 * 1024 * 1024);
}

ThumbnailLoader::~ThumbnailLoader() { pool_.waitForDone(); }

std::optional<PictureImage> ThumbnailLoader::cached(const QString& picturePath, int size) const {
    if (const PictureImage* found = memory_.object(keyOf(picturePath, size))) return *found;
    return std::nullopt;
}

void ThumbnailLoader::request(const QString& picturePath, int size, bool diskCache) {
    const QString key = keyOf(picturePath, size);
    if (memory_.contains(key) || underWay_.contains(key)) return;
    underWay_.insert(key);
    // The newest request first: after a fast scroll the rows now on screen are made before
    // the ones scrolled past, which still come (and fill the cache) after them.
    pool_.start(
        [this, key, picturePath, size, diskCache] {
            const PictureImage made =
                diskCache ? cachedThumbnail(picturePath, size) : makeThumbnail(picturePath, size);
            QMetaObject::invokeMethod(
                this, [this, key, picturePath, size, made] { deliver(key, picturePath, size, made); },
                Qt::QueuedConnection);
        },
        int(++requests_ & 0x3fffffffu));
}

void ThumbnailLoader::deliver(const QString& key, const QString& picturePath, int size,
                              const PictureImage& result) {
    underWay_.remove(key);
    const qsizetype cost = result.ok() ? result.image.sizeInBytes() : 1;
    memory_.insert(key, new PictureImage(result), static_cast<int>(qMax<qsizetype>(1, cost)));
    emit ready(picturePath, size, result);
}

void ThumbnailLoader::clear() { memory_.clear(); }

void ThumbnailLoader::waitForDone() { pool_.waitForDone(); }

}  // namespace pictures
