// The stamps' pictures in the main window: the picture pane beside the viewer grid (View menu
// "&Picture Pane", remembered per collection in its settings file, section "Pictures", key
// "Show Pane"), the grid's thumbnail column (View "&Thumbnail Column", key "Show Thumbnails"),
// the picture window the pane's double-click opens, and the record editor's picture strip. A
// collection whose settings say nothing shows the pane when it has pictures; the thumbnail
// column only when asked for.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "collection/profile_file.h"
#include "editing/my_edit.h"
#include "picture_windows/picture_pane.h"
#include "picture_windows/picture_strip.h"
#include "picture_windows/picture_window.h"
#include "picture_windows/thumbnail_column.h"
#include "pictures/picture_store.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"

namespace app {

namespace {

const QString kPicturesSection = QStringLiteral("Pictures");
const QString kShowPaneKey = QStringLiteral("Show Pane");
const QString kShowThumbnailsKey = QStringLiteral("Show Thumbnails");

void rememberShown(const QString& settingsPath, const QString& key, bool shown) {
    collection::ProfileFile settings(settingsPath);
    settings.write(kPicturesSection, key, shown ? QStringLiteral("1") : QStringLiteral("0"));
    settings.save();
}

}  // namespace

void TMain::buildPictures() {
    picturePane_ = new picture_windows::PicturePane(client_);
    picturePane_->hide();
    pictureWindow_ = new picture_windows::PictureWindow(this);
    thumbnailColumn_ = new picture_windows::ThumbnailColumn(this);
    connect(picturePane_, &picture_windows::PicturePane::openRequested, this,
            [this](std::uint32_t recno, int position) {
                if (!picturePane_->store()) return;
                pictureWindow_->showPictures(picturePane_->store()->pictures(recno), position);
                pictureWindow_->show();
                pictureWindow_->raise();
            });
    connect(ViewerGrid, &ui::DataGrid::currentRecordChanged, this,
            [this] { showCurrentPictures(); });
}

void TMain::adoptCollectionPictures() {
    if (!picturePane_) return;
    const QString table = currentCollection();
    picturePane_->setCollection(table);
    thumbnailColumn_->setCollection(table);
    if (pictureStrip_) pictureStrip_->setCollection(table, &MyTable);
    const collection::ProfileFile settings(collectionSettingsPath());
    bool shown = !pictures::PictureStore(table).empty();
    if (settings.contains(kPicturesSection, kShowPaneKey))
        shown = settings.read(kPicturesSection, kShowPaneKey) == QLatin1String("1");
    setThumbnailColumnShown(settings.read(kPicturesSection, kShowThumbnailsKey) ==
                            QLatin1String("1"));
    setPicturePaneShown(shown);
}

void TMain::TogglePicturePane() {
    const bool shown = !picturePaneShown();
    setPicturePaneShown(shown);
    rememberShown(collectionSettingsPath(), kShowPaneKey, shown);
}

void TMain::ToggleThumbnailColumn() {
    const bool shown = !thumbnailColumnShown();
    setThumbnailColumnShown(shown);
    rememberShown(collectionSettingsPath(), kShowThumbnailsKey, shown);
}

bool TMain::thumbnailColumnShown() const {
    return thumbnailColumn_ && MyDataSource->leadingColumn() == thumbnailColumn_;
}

void TMain::setThumbnailColumnShown(bool shown) {
    if (!thumbnailColumn_) return;
    if (shown != thumbnailColumnShown())
        MyDataSource->setLeadingColumn(shown ? thumbnailColumn_ : nullptr);
    if (QAction* item = action(QStringLiteral("MenuThumbnailColumn"))) item->setChecked(shown);
}

bool TMain::picturePaneShown() const { return picturePane_ && !picturePane_->isHidden(); }

void TMain::setPicturePaneShown(bool shown) {
    if (!picturePane_) return;
    picturePane_->setVisible(shown);
    if (QAction* item = action(QStringLiteral("MenuPicturePane"))) item->setChecked(shown);
    FormResize();
    showCurrentPictures();
}

void TMain::showCurrentPictures() {
    if (!picturePaneShown() || !collectionOpen_) return;
    picturePane_->showRecord(MyTable);
}

void TMain::addPictureStrip() {
    if (!MyEdit) return;
    pictureStrip_ = new picture_windows::PictureStrip;
    MyEdit->addSidePanel(pictureStrip_);
    pictureStrip_->setCollection(currentCollection(), &MyTable);
    connect(MyEdit.get(), &editing::TMyEdit::editedRecordChanged, pictureStrip_,
            &picture_windows::PictureStrip::showRecord);
    connect(MyEdit.get(), &editing::TMyEdit::recordPosted, pictureStrip_,
            &picture_windows::PictureStrip::recordPosted);
}

}  // namespace app
