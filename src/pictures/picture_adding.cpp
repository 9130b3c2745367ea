// Adding pictures to a store from files and from the clipboard: the part of PictureStore that
// reads images (to tell and check their format), kept apart so that the rest of the store
// links without Qt's GUI library.
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "pictures/picture_incoming.h"
#include "pictures/picture_store.h"

namespace pictures {

namespace {

QString extensionFor(const QByteArray& format) {
    const QByteArray f = format.toLower();
    if (f == "jpeg" || f == "jpg") return QStringLiteral("jpg");
    if (f == "tiff" || f == "tif") return QStringLiteral("tif");
    return QString::fromLatin1(f);
}

QString contentName(const QByteArray& bytes, const QString& extension) {
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    return QString::fromLatin1(hash.left(32)) + QLatin1Char('.') + extension;
}

// `in.bytes` checked to be an accepted picture and named by content; `shown` names it.
void checkIncoming(Incoming& in, const QString& shown) {
    QBuffer buffer(&in.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (!reader.canRead() || !isAcceptedFormat(format))
        throw PictureError(
            QStringLiteral("\"%1\" is not a JPEG, PNG, TIFF or WebP picture.").arg(shown));
    in.file = contentName(in.bytes, extensionFor(format));
}

Incoming readPictureFile(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw PictureError(QStringLiteral("The picture \"%1\" does not exist.").arg(shown));
    if (!file.open(QIODevice::ReadOnly))
        throw PictureError(QStringLiteral("The picture \"%1\" cannot be read: %2")
                               .arg(shown, file.errorString()));
    Incoming in;
    in.bytes = file.readAll();
    checkIncoming(in, shown);
    in.originalName = QFileInfo(path).fileName();
    return in;
}

}  // namespace

void checkPictureFile(const QString& path) { readPictureFile(path); }

std::vector<Picture> PictureStore::add(std::uint32_t recno, const QStringList& files,
                                       const Fingerprint& fingerprint) {
    std::vector<Incoming> incoming;
    for (const QString& path : files) incoming.push_back(readPictureFile(path));
    return addIncoming(recno, incoming, fingerprint);
}

QString PictureStore::storeBytes(const QByteArray& bytes, const QString& name) {
    Incoming in{bytes, {}, name};
    checkIncoming(in, name);
    return storeIncoming(in);
}

QString PictureStore::storeFile(const QString& path) { return storeIncoming(readPictureFile(path)); }

Picture PictureStore::addImage(std::uint32_t recno, const QImage& image,
                               const Fingerprint& fingerprint, const QString& name) {
    if (image.isNull()) throw PictureError(QStringLiteral("The clipboard holds no picture."));
    Incoming in;
    QBuffer buffer(&in.bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw PictureError(QStringLiteral("The pasted picture cannot be stored."));
    in.file = contentName(in.bytes, QStringLiteral("png"));
    in.originalName = name;
    addIncoming(recno, {in}, fingerprint);
    for (const Picture& p : pictures(recno))
        if (p.file == in.file) return p;
    throw PictureError(QStringLiteral("The pasted picture cannot be stored."));
}

}  // namespace pictures
