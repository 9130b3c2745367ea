#include "picture_windows/picture_strip.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "engine/table.h"
#include "picture_windows/picture_window.h"
#include "pictures/picture_store.h"
#include "pictures/thumbnail_loader.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace picture_windows {

namespace {

constexpr int kThumbnailSize = 256;  // shared with the main window's pane and its cache

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

}  // namespace

PictureStrip::PictureStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PictureStrip"));
    setAccessibleName(QStringLiteral("Pictures of this stamp"));
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("PictureStripList"));
    list_->setAccessibleName(QStringLiteral("Pictures"));
    list_->setViewMode(QListView::IconMode);
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(false);
    list_->setMovement(QListView::Static);
    list_->setIconSize(QSize(kIconSize, kIconSize));
    list_->setSpacing(4);
    list_->setMinimumWidth(kIconSize + 36);
    list_->installEventFilter(this);
    list_->viewport()->setAcceptDrops(false);  // drops go to the strip
    layout->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    auto* more = new QHBoxLayout;
    add_ = makeButton(this, "PictureAdd", QStringLiteral("A&dd..."));
    paste_ = makeButton(this, "PicturePaste", QStringLiteral("Pas&te"));
    remove_ = makeButton(this, "PictureRemove", QStringLiteral("Remo&ve"));
    first_ = makeButton(this, "PictureMakeMain", QStringLiteral("Make &Main"));
    buttons->addWidget(add_);
    buttons->addWidget(paste_);
    more->addWidget(remove_);
    more->addWidget(first_);
    layout->addLayout(buttons);
    layout->addLayout(more);

    loader_ = new pictures::ThumbnailLoader(this);
    window_ = new PictureWindow(this);
    connect(loader_, &pictures::ThumbnailLoader::ready, this, &PictureStrip::thumbnailReady);
    connect(add_, &QPushButton::clicked, this, &PictureStrip::addFromDialog);
    connect(paste_, &QPushButton::clicked, this, &PictureStrip::pasteFromClipboard);
    connect(remove_, &QPushButton::clicked, this, &PictureStrip::removeSelected);
    connect(first_, &QPushButton::clicked, this, &PictureStrip::makeSelectedMain);
    connect(list_, &QListWidget::itemDoubleClicked, this, &PictureStrip::openSelected);
    connect(list_, &QListWidget::currentRowChanged, this, &PictureStrip::updateButtons);
    updateButtons();
}

PictureStrip::~PictureStrip() = default;

void PictureStrip::setCollection(const QString& tablePath, const engine::Table* table) {
    store_ = tablePath.isEmpty() ? nullptr : std::make_unique<pictures::PictureStore>(tablePath);
    table_ = table;
    loader_->clear();
    showRecord(0);
}

void PictureStrip::showRecord(std::uint32_t recno) {
    recno_ = recno;
    pendingFiles_.clear();
    pendingImages_.clear();
    reload();
}

void PictureStrip::recordPosted(std::uint32_t recno) {
    if (!store_ || recno == 0) return;
    const bool wasNew = recno_ == 0;
    recno_ = recno;
    if (!table_ || !table_->isOpen() || recno > table_->physicalCount()) {
        reload();
        return;
    }
    const pictures::Fingerprint print = pictures::fingerprintOf(table_->record(recno));
    try {
        if (wasNew) {
            if (!pendingFiles_.isEmpty()) store_->add(recno, pendingFiles_, print);
            for (const QImage& image : pendingImages_) store_->addImage(recno, image, print);
        }
        store_->setFingerprint(recno, print);
    } catch (const pictures::PictureError& e) {
        ui::showTitled(this, QStringLiteral("Error"), e.message());
    }
    pendingFiles_.clear();
    pendingImages_.clear();
    reload();
}

QStringList PictureStrip::names() const {
    QStringList out;
    for (int i = 0; i < list_->count(); ++i) out << list_->item(i)->text();
    return out;
}

void PictureStrip::reload() {
    list_->clear();
    shownPaths_.clear();
    auto addItem = [this](const QString& name, const QString& path, bool stored) {
        auto* item = new QListWidgetItem(name, list_);
        item->setToolTip(name);
        shownPaths_ << path;
        if (path.isEmpty()) return;
        if (const auto cached = loader_->cached(path, kThumbnailSize))
            setIcon(item, *cached);
        else
            loader_->request(path, kThumbnailSize, stored);
    };
    if (store_ && recno_ != 0) {
        try {
            for (const pictures::Picture& p : store_->pictures(recno_))
                addItem(p.originalName, p.path, true);
        } catch (const pictures::PictureError& e) {
            ui::showTitled(this, QStringLiteral("Error"), e.message());
        }
    }
    for (const QString& file : pendingFiles_) addItem(QFileInfo(file).fileName(), file, false);
    for (const QImage& image : pendingImages_) {
        auto* item = new QListWidgetItem(QStringLiteral("Pasted picture.png"), list_);
        shownPaths_ << QString();
        item->setIcon(QIcon(QPixmap::fromImage(
            image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation))));
    }
    updateButtons();
}

void PictureStrip::thumbnailReady(const QString& path, int size,
                                  const pictures::PictureImage& result) {
    if (size != kThumbnailSize) return;
    for (int i = 0; i < shownPaths_.size() && i < list_->count(); ++i)
        if (shownPaths_[i] == path) setIcon(list_->item(i), result);
}

void PictureStrip::setIcon(QListWidgetItem* item, const pictures::PictureImage& result) {
    const QImage image =
        result.ok() ? result.image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio,
                                          Qt::SmoothTransformation)
                    : pictures::placeholderImage(QSize(kIconSize, kIconSize), result.reason);
    item->setIcon(QIcon(QPixmap::fromImage(image)));
    if (!result.ok()) item->setToolTip(result.reason);
}

void PictureStrip::addFromDialog() {
    ui::FileDialogRequest request;
    request.parent = this;
    request.title = QStringLiteral("Add Pictures");
    request.filter = pictures::pictureFileFilter();
    request.flags = ui::FileMustExist | ui::PathMustExist;
    const QStringList files = ui::platform().openFileNames(request);
    if (!files.isEmpty()) addFiles(files);
}

void PictureStrip::addFiles(const QStringList& files) {
    if (!store_ || files.isEmpty()) return;
    try {
        if (recno_ == 0) {
            // A new record: kept back until its Update, each file checked now.
            for (const QString& file : files) pictures::checkPictureFile(file);
            for (const QString& file : files)
                if (!pendingFiles_.contains(file)) pendingFiles_ << file;
        } else {
            const pictures::Fingerprint print =
                table_ && recno_ <= table_->physicalCount()
                    ? pictures::fingerprintOf(table_->record(recno_))
                    : pictures::Fingerprint{};
            store_->add(recno_, files, print);
        }
    } catch (const pictures::PictureError& e) {
        ui::showTitled(this, QStringLiteral("Pictures"), e.message());
    }
    reload();
    select(list_->count() - 1);
}

void PictureStrip::pasteFromClipboard() {
    const QImage image = ui::platform().clipboardImage();
    if (image.isNull()) {
        ui::showTitled(this, QStringLiteral("Pictures"),
                       QStringLiteral("The clipboard holds no picture."));
        return;
    }
    addImage(image);
}

void PictureStrip::addImage(const QImage& image) {
    if (!store_) return;
    if (recno_ == 0) {
        pendingImages_.push_back(image);
    } else {
        try {
            const pictures::Fingerprint print =
                table_ && recno_ <= table_->physicalCount()
                    ? pictures::fingerprintOf(table_->record(recno_))
                    : pictures::Fingerprint{};
            store_->addImage(recno_, image, print);
        } catch (const pictures::PictureError& e) {
            ui::showTitled(this, QStringLiteral("Error"), e.message());
        }
    }
    reload();
    select(list_->count() - 1);
}

int PictureStrip::selected() const { return list_->currentRow(); }

void PictureStrip::select(int position) {
    if (position >= 0 && position < list_->count()) list_->setCurrentRow(position);
    updateButtons();
}

void PictureStrip::removeSelected() {
    const int row = selected();
    if (row < 0) return;
    const int stored = store_ && recno_ ? store_->count(recno_) : 0;
    if (row < stored) {
        try {
            store_->remove(recno_, row);
        } catch (const pictures::PictureError& e) {
            ui::showTitled(this, QStringLiteral("Error"), e.message());
        }
    } else if (row - stored < pendingFiles_.size()) {
        pendingFiles_.removeAt(row - stored);
    } else {
        const auto image = static_cast<std::size_t>(row - stored - pendingFiles_.size());
        if (image < pendingImages_.size())
            pendingImages_.erase(pendingImages_.begin() + static_cast<std::ptrdiff_t>(image));
    }
    reload();
    select(qMin(row, list_->count() - 1));
}

void PictureStrip::makeSelectedMain() {
    const int row = selected();
    if (row <= 0) return;
    const int stored = store_ && recno_ ? store_->count(recno_) : 0;
    if (row < stored) {
        try {
            store_->moveToFirst(recno_, row);
        } catch (const pictures::PictureError& e) {
            ui::showTitled(this, QStringLiteral("Error"), e.message());
        }
    } else if (row - stored < pendingFiles_.size() && stored == 0) {
        pendingFiles_.move(row, 0);
    }
    reload();
    select(0);
}

void PictureStrip::openSelected() {
    const int row = selected();
    if (row < 0) return;
    std::vector<pictures::Picture> list;
    if (store_ && recno_) list = store_->pictures(recno_);
    for (const QString& file : pendingFiles_) {
        pictures::Picture p;
        p.path = file;
        p.originalName = QFileInfo(file).fileName();
        list.push_back(p);
    }
    if (row >= static_cast<int>(list.size())) return;
    window_->showPictures(list, row);
    window_->show();
    window_->raise();
}

void PictureStrip::updateButtons() {
    const bool some = selected() >= 0;
    remove_->setEnabled(some);
    first_->setEnabled(some && selected() > 0);
    add_->setEnabled(store_ != nullptr);
    paste_->setEnabled(store_ != nullptr);
}

void PictureStrip::dragEnterEvent(QDragEnterEvent* event) {
    if (store_ && !localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void PictureStrip::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    addFiles(files);
}

bool PictureStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            pasteFromClipboard();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            removeSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace picture_windows
