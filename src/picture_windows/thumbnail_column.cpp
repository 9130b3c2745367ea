#include "picture_windows/thumbnail_column.h"

#include "pictures/picture_store.h"
#include "pictures/thumbnail_loader.h"

namespace picture_windows {

ThumbnailColumn::ThumbnailColumn(QObject* parent) : ui::GridLeadingColumn(parent) {
    loader_ = new pictures::ThumbnailLoader(this);
    connect(loader_, &pictures::ThumbnailLoader::ready, this, &ThumbnailColumn::thumbnailReady);
}

ThumbnailColumn::~ThumbnailColumn() = default;

void ThumbnailColumn::setCollection(const QString& tablePath) {
    store_ = tablePath.isEmpty() ? nullptr : std::make_unique<pictures::PictureStore>(tablePath);
    loader_->clear();
    waiting_.clear();
}

QVariant ThumbnailColumn::cell(std::uint32_t recno, int role) {
    if (!store_) return {};
    std::vector<pictures::Picture> list;
    try {
        list = store_->pictures(recno);
    } catch (const pictures::PictureError& e) {
        if (role == Qt::DecorationRole) return placeholder(e.message());
        return e.message();
    }
    if (list.empty())
        return role == Qt::AccessibleTextRole ? QVariant(QStringLiteral("No picture")) : QVariant();
    const pictures::Picture& main = list.front();
    const auto made = loader_->cached(main.path, kThumbnailSize);
    switch (role) {
        case Qt::DecorationRole:
            if (made) return made->ok() ? made->image : placeholder(made->reason);
            if (QList<std::uint32_t>& records = waiting_[main.path]; !records.contains(recno))
                records.append(recno);
            loader_->request(main.path, kThumbnailSize);
            return {};
        case Qt::ToolTipRole:
            if (made && !made->ok()) return made->reason;
            if (list.size() == 1) return main.originalName;
            return QStringLiteral("%1 (%2 pictures)").arg(main.originalName).arg(list.size());
        case Qt::AccessibleTextRole:
            if (!made) return QStringLiteral("Loading picture");
            return made->ok() ? QStringLiteral("Picture") : made->reason;
        default:
            return {};
    }
}

void ThumbnailColumn::thumbnailReady(const QString& path, int size,
                                     const pictures::PictureImage&) {
    if (size != kThumbnailSize) return;
    const QList<std::uint32_t> records = waiting_.take(path);
    for (const std::uint32_t recno : records) emit cellReady(recno);
}

QImage ThumbnailColumn::placeholder(const QString& reason) {
    auto it = placeholders_.find(reason);
    if (it == placeholders_.end())
        it = placeholders_.insert(
            reason, pictures::placeholderImage(QSize(kThumbnailSize, kThumbnailSize), reason));
    return *it;
}

}  // namespace picture_windows
