#include "pictures/picture_reading.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>

#include "pictures/picture_store.h"

namespace pictures {

namespace {

QString readFailure(const QString& path, const QImageReader& reader) {
    if (!QFileInfo::exists(path)) return QStringLiteral("The picture file is missing.");
    QString why = reader.errorString();
    if (why.isEmpty() || why == QLatin1String("Unknown error"))
        why = QStringLiteral("not a picture that can be read");
    return QStringLiteral("The picture file is damaged (%1).").arg(why);
}

PictureImage readScaled(const QString& path, int size) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (size > 0) {
        // The size before turning: scaling first keeps both sides within the square either way.
        const QSize full = reader.size();
        if (full.isValid() && (full.width() > size || full.height() > size))
            reader.setScaledSize(full.scaled(size, size, Qt::KeepAspectRatio));
    }
    PictureImage out;
    if (!reader.read(&out.image)) {
        out.image = QImage();
        out.reason = readFailure(path, reader);
    } else if (size > 0 && (out.image.width() > size || out.image.height() > size)) {
        out.image = out.image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return out;
}

}  // namespace

PictureImage readPicture(const QString& path) { return readScaled(path, 0); }

PictureImage makeThumbnail(const QString& path, int size) { return readScaled(path, size); }

QString thumbnailCachePath(const QString& picturePath, int size) {
    const QFileInfo info(picturePath);
    return info.absolutePath() + QStringLiteral("/thumbnails/") + info.completeBaseName() +
           QStringLiteral("-%1.jpg").arg(size);
}

QString thumbnailCachePath(const Picture& picture, int size) {
    return thumbnailCachePath(picture.path, size);
}

namespace {

// The thumbnail of `picturePath` cached at `size`, when it is there, readable and its picture
// still exists.
bool loadCached(const QString& picturePath, int size, QImage& image) {
    const QString cache = thumbnailCachePath(picturePath, size);
    return QFileInfo::exists(cache) && image.load(cache, "JPEG") && QFileInfo::exists(picturePath);
}

// Made from a larger cached thumbnail (never from a smaller one: it would be blurred).
bool shrinkCached(const QString& picturePath, int size, QImage& image) {
    for (const int larger : kCachedThumbnailSizes) {
        if (larger <= size || !loadCached(picturePath, larger, image)) continue;
        if (image.width() > size || image.height() > size)
            image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return true;
    }
    return false;
}

}  // namespace

PictureImage cachedThumbnail(const QString& picturePath, int size) {
    const QString cache = thumbnailCachePath(picturePath, size);
    PictureImage out;
    if (loadCached(picturePath, size, out.image)) return out;
    if (!shrinkCached(picturePath, size, out.image)) out = makeThumbnail(picturePath, size);
    if (!out.ok()) return out;
    QImage opaque = out.image;
    if (opaque.hasAlphaChannel()) {
        // A JPEG has no transparency: the thumbnail is laid on white as the panes show it.
        QImage white(opaque.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        QPainter painter(&white);
        painter.drawImage(0, 0, opaque);
        painter.end();
        opaque = white;
        out.image = white;
    }
    QDir().mkpath(QFileInfo(cache).absolutePath());
    QSaveFile file(cache);
    if (file.open(QIODevice::WriteOnly) && opaque.save(&file, "JPEG", 88)) file.commit();
    return out;
}

QImage placeholderImage(const QSize& size, const QString& reason) {
    QImage image(size.expandedTo(QSize(16, 16)), QImage::Format_RGB32);
    image.fill(QColor(0xe0, 0xe0, 0xe0));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    const QRect frame = image.rect().adjusted(0, 0, -1, -1);
    painter.drawRect(frame);
    painter.drawLine(frame.topLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomLeft());
    QFont font = painter.font();
    font.setPixelSize(qMax(9, image.height() / 14));
    painter.setFont(font);
    const QRect textBox = frame.adjusted(6, 6, -6, -6);
    painter.fillRect(textBox.adjusted(0, textBox.height() / 3, 0, -textBox.height() / 3),
                     QColor(0xe0, 0xe0, 0xe0));
    painter.setPen(Qt::black);
    painter.drawText(textBox, Qt::AlignCenter | Qt::TextWordWrap, reason);
    return image;
}

}  // namespace pictures
