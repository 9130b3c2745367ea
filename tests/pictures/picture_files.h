// Test pictures: small images of one colour written in a chosen format.
#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>

namespace pictures::testing {

// Writes a `w` x `h` picture of `color` to `dir`/`name` in the format its extension names.
inline QString writePicture(const QDir& dir, const QString& name, QColor color, int w = 40,
                            int h = 30) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

}  // namespace pictures::testing
