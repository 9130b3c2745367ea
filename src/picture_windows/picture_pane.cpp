#include "picture_windows/picture_pane.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/table.h"
#include "pictures/picture_store.h"
#include "pictures/thumbnail_loader.h"
#include "ui/messages.h"

namespace picture_windows {

namespace {

QString countText(int count) {
    if (count == 0) return QStringLiteral("No pictures of this stamp");
    if (count == 1) return QStringLiteral("1 picture of this stamp");
    return QStringLiteral("%1 pictures of this stamp").arg(count);
}

}  // namespace

PicturePane::PicturePane(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PicturePane"));
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(QStringLiteral("Pictures"));
    setMinimumWidth(180);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("PicturePaneImage"));
    image_->setAlignment(Qt::AlignCenter);
    image_->setMinimumSize(160, 160);
    image_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("PicturePaneCaption"));
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setWordWrap(true);
    warning_ = new QLabel(this);
    warning_->setObjectName(QStringLiteral("PicturePaneWarning"));
    warning_->setWordWrap(true);
    warning_->setText(QStringLiteral(
        "These pictures were added to a record that no longer matches this one: the collection "
        "may have been packed or changed by another program."));
    relink_ = new QPushButton(QStringLiteral("&Relink..."), this);
    relink_->setObjectName(QStringLiteral("PicturePaneRelink"));
    layout->addWidget(image_, 1);
    layout->addWidget(caption_);
    layout->addWidget(warning_);
    layout->addWidget(relink_);
    warning_->hide();
    relink_->hide();
    loader_ = new pictures::ThumbnailLoader(this);
    connect(loader_, &pictures::ThumbnailLoader::ready, this, &PicturePane::thumbnailReady);
    connect(relink_, &QPushButton::clicked, this, &PicturePane::relink);
    caption_->setText(countText(0));
    setAccessibleDescription(countText(0));
}

PicturePane::~PicturePane() = default;

void PicturePane::setCollection(const QString& tablePath) {
    store_ = tablePath.isEmpty() ? nullptr : std::make_unique<pictures::PictureStore>(tablePath);
    loader_->clear();
    recno_ = 0;
    count_ = 0;
}

QString PicturePane::captionText() const { return caption_->text(); }

void PicturePane::showRecord(const engine::Table& table) {
    table_ = &table;
    recno_ = table.isOpen() ? table.recNo() : 0;
    std::vector<pictures::Picture> list;
    if (store_ && recno_ != 0) {
        try {
            list = store_->pictures(recno_);
        } catch (const pictures::PictureError& e) {
            count_ = 0;
            shownPath_.clear();
            showImage({QImage(), e.message()});
            caption_->setText(countText(0));
            return;
        }
    }
    count_ = static_cast<int>(list.size());
    caption_->setText(countText(count_));
    setAccessibleDescription(countText(count_));
    // The pane's description is what a screen reader says of it: tell it the count changed.
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);

    bool moved = false;
    if (!list.empty()) {
        const pictures::Fingerprint now = pictures::fingerprintOf(table.record(recno_));
        moved = list.front().fingerprint.agreement(now) < pictures::kFingerprintKeeps;
    }
    warning_->setVisible(moved);
    relink_->setVisible(moved);

    if (list.empty()) {
        shownPath_.clear();
        image_->clear();
        image_->setText(recno_ ? QStringLiteral("No picture") : QString());
        return;
    }
    shownPath_ = list.front().path;
    if (const auto cached = loader_->cached(shownPath_, kThumbnailSize)) {
        showImage(*cached);
    } else {
        image_->clear();
        image_->setText(QStringLiteral("Loading..."));
        loader_->request(shownPath_, kThumbnailSize);
    }
}

void PicturePane::thumbnailReady(const QString& path, int size,
                                 const pictures::PictureImage& result) {
    if (path == shownPath_ && size == kThumbnailSize) showImage(result);
}

void PicturePane::showImage(const pictures::PictureImage& result) {
    const QSize box = image_->size().boundedTo(QSize(kThumbnailSize, kThumbnailSize));
    QImage shown = result.ok() ? result.image : pictures::placeholderImage(box, result.reason);
    if (result.ok() && (shown.width() > box.width() || shown.height() > box.height()))
        shown = shown.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    image_->setText(QString());
    image_->setPixmap(QPixmap::fromImage(shown));
    image_->setToolTip(result.ok() ? QString() : result.reason);
}

void PicturePane::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (!shownPath_.isEmpty())
        if (const auto cached = loader_->cached(shownPath_, kThumbnailSize)) showImage(*cached);
}

void PicturePane::mouseDoubleClickEvent(QMouseEvent* event) {
    if (count_ > 0 && event->button() == Qt::LeftButton) emit openRequested(recno_, 0);
    QFrame::mouseDoubleClickEvent(event);
}

void PicturePane::relink() {
    if (!store_ || !table_ || recno_ == 0) return;
    const std::vector<pictures::Picture> list = store_->pictures(recno_);
    if (list.empty()) return;
    const std::vector<std::uint32_t> matches =
        pictures::recordsWithFingerprint(*table_, list.front().fingerprint);
    if (matches.size() != 1) {
        ui::showTitled(this, QStringLiteral("Pictures"),
                       matches.empty()
                           ? QStringLiteral("No record matches the one these pictures were added "
                                            "to. They stay with this record.")
                           : QStringLiteral("%1 records match the one these pictures were added "
                                            "to, so none can be chosen. They stay with this "
                                            "record.")
                                 .arg(matches.size()));
        return;
    }
    const std::uint32_t to = matches.front();
    const engine::RecordView target = table_->record(to);
    const QString described =
        QStringLiteral("%1 %2 %3")
            .arg(QString::fromStdString(target.text(2)), QString::fromStdString(target.text(0)),
                 QString::fromStdString(target.text(6)))
            .simplified();
    if (!ui::askConfirm(this, QStringLiteral("Move the pictures of this record to record %1 (%2), "
                                             "the one they were added to?")
                                  .arg(to)
                                  .arg(described)))
        return;
    const std::uint32_t from = recno_;
    try {
        store_->relink(from, to, list.front().fingerprint);
    } catch (const pictures::PictureError& e) {
        ui::showTitled(this, QStringLiteral("Error"), e.message());
        return;
    }
    emit relinked(from, to);
    showRecord(*table_);
}

}  // namespace picture_windows
