#include "pictures/thumbnail_loader.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace pictures {

namespace {

QString keyOf(const QString& path, int size) { return path + QLatin1Char('|') + QString::number(size); }

}  // namespace

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent) {
    pool_.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
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
    auto* watcher = new QFutureWatcher<PictureImage>(this);
    connect(watcher, &QFutureWatcher<PictureImage>::finished, this,
            [this, watcher, key, picturePath, size] {
                deliver(key, picturePath, size, watcher->result());
                watcher->deleteLater();
            });
    watcher->setFuture(QtConcurrent::run(&pool_, [picturePath, size, diskCache] {
        return diskCache ? cachedThumbnail(picturePath, size) : makeThumbnail(picturePath, size);
    }));
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
