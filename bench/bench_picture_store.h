// A picture store for the picture benchmarks: every `every`-th stamp of a collection gets one
// picture, taken round-robin from `distinct` different JPEG photographs (1600 x 1200), so the
// store's index is full size while the folder stays small. The photographs are made in `dir`
// and added to a scratch store beside it ("source.DBF"), then linked to the collection's records
// in one copy. Throws pictures::PictureError on failure; returns the number of links made.
#pragma once

#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <utility>
#include <vector>

#include "pictures/picture_store.h"

namespace bench {

inline std::size_t fillPictureStore(const QString& dbf, const QDir& dir, std::uint32_t records,
                                    std::uint32_t every, int distinct = 200) {
    pictures::PictureStore source(dir.filePath(QStringLiteral("source.DBF")));
    for (int i = 0; i < distinct; ++i) {
        QImage photo(1600, 1200, QImage::Format_RGB32);
        photo.fill(QColor::fromHsv(i * 7 % 360, 150, 200));
        QPainter(&photo).drawText(100, 100, QString::number(i));
        const QString path = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        photo.save(path, "JPEG", 90);
        source.add(std::uint32_t(i + 1), {path}, {});
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
    for (std::uint32_t r = every; r <= records; r += every)
        pairs.emplace_back((r / every) % std::uint32_t(distinct) + 1, r);
    pictures::PictureStore store(dbf);
    source.copyRecordsTo(store, pairs);
    return pairs.size();
}

}  // namespace bench
