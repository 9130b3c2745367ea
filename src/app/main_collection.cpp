// Making a collection current: validation, the companion paths, opening the stamp table with
// its sort tag, switching from one collection to another and the recent-collection list. The
// collection layer holds the logic; this file puts it in front of the user.
#include <QAction>
#include <QFileInfo>
#include <exception>

#include "app/main_window.h"
#include "collection/code_pages.h"
#include "collection/collection_file.h"
#include "collection/collection_paths.h"
#include "collection/recent_files.h"
#include "collection/settings_paths.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "collection/table_maintenance.h"
#include "editing/my_edit.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace app {

namespace {

const QString kDatabaseFilter = QStringLiteral("Database Files (*.DBF *.dbf)");

QString openCollectionMessage(const QString& path) {
    return QStringLiteral("The table \"") + path +
           QStringLiteral(
               "\" is the collection that is open now.  New table creation will be "
               "aborted.  To replace it, open another collection first.");
}

}  // namespace

QString TMain::collectionSettingsPath() const {
    return collection::companionFile(basePath_, QStringLiteral(".INI"));
}

bool TMain::validateCollection(const QString& path) {
    return collection::CheckDBaseFormat(path, [this](const QString& title, const QString& text) {
        ui::showTitled(this, title, text);
    });
}

// A collection that cannot be written is refused here, before anything of the open one changes:
// its index could not be rebuilt nor its records, settings and lists saved. In browse mode
// nothing is written, so there it opens in the order its index already has.
bool TMain::refuseReadOnly(const QString& path) {
    if (browseArgument_ || !collection::collectionReadOnly(path)) return false;
    ui::showError(this, collection::readOnlyMessage(path));
    return true;
}

bool TMain::acceptCollection(const QString& path) {
    return validateCollection(path) && !refuseReadOnly(path);
}

void TMain::showCollectionName(const collection::CollectionPaths& paths) {
    global_.misc.lastDatabase = paths.table;
    setWindowTitle(QStringLiteral("Tessellon (") + paths.tableName + QLatin1Char(')'));
}

void TMain::setCollectionPaths(const QString& path) {
    const collection::CollectionPaths paths = collection::collectionPaths(path);
    showCollectionName(paths);
    basePath_ = paths.basePath;
}

std::string TMain::sortTagToSelect() const {
    return sortExpression_.isEmpty() ? std::string() : collection::kSortTagName.toStdString();
}

void TMain::OpenMyTable() {
    collection::reopenShared(MyTable, currentCollection(), sortTagToSelect());
    // Before the window is first shown the rows are left to the viewer options
    // applied when it shows, which read them anyway (once, not twice).
    if (shownOnce_) refreshViewer();
}

void TMain::readCollectionSettings(const QString& settingsPath) {
    adoptCollectionSettings(collection::readCollection(settingsPath));
}

void TMain::adoptCollectionSettings(collection::CollectionSettings settings) {
    settings_ = std::move(settings);
    if (browseMode_) {
        storedFieldEditing_ = settings_.grid.fieldEditing;
        settings_.grid.fieldEditing = false;
    }
    applySettingsFonts();
}

collection::CollectionSettings TMain::settingsToWrite() const {
    collection::CollectionSettings out = settings_;
    if (browseMode_) out.grid.fieldEditing = storedFieldEditing_;
    return out;
}

void TMain::writeCollectionSettings() {
    collection::writeCollection(collectionSettingsPath(), settingsToWrite());
}

// Leaves the current collection (its settings and pick lists written) for `path`, step by step
// as the numbers say. A new collection takes its settings from TESSELON.INI and the default pick
// lists, and gets its sort tag without the in-use test (nobody else can hold a file just made).
//
// The new table is opened (and its tag rebuilt) before anything else of the current collection
// changes: when that fails the current collection is opened again as it was, caption, settings,
// pick lists and recent list untouched, and the failure goes on to the command's caller.
void TMain::switchTo(const QString& path, bool newCollection) {
    if (searchActive_) DoEndSearch();  // 1
    // 2. Before a collection has been made current there is no previous one to write settings
    // or lists for: the file the settings named may belong to another program.
    const bool leaving = collectionOpen_;
    const QString previous = leaving ? currentCollection() : QString();
    const collection::CollectionPaths paths = collection::collectionPaths(path);
    if (leaving) {  // 5, first: re-opening a collection over itself reads back what it wrote
        writeCollectionSettings();
        if (MyEdit) MyEdit->dataLists().SaveAllLists();
    }
    collection::CollectionSettings incoming = collection::readCollection(  // 8
        newCollection ? collection::globalSettingsPath() : paths.settingsPath);
    // 3, 10 and 11: opened shared, the tag rebuilt from the new levels unless another program
    // holds the file (its tag is then selected as it is).
    undo_.clear();  // the steps belong to the collection left
    MyTable.close();
    try {
        collection::rebuildSortTagOnOpen(
            MyTable, paths.table, collection::BuildSortString(incoming.sortLevels), !newCollection);
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        if (leaving) {
            try {
                OpenMyTable();
            } catch (const std::exception&) {  // the failure to tell is the new collection's
            }
        }
        std::rethrow_exception(failure);
    }
    showCollectionName(paths);           // 4
    basePath_ = paths.basePath;          // 6
    loadCollectionLists(newCollection);  // 7
    adoptCollectionSettings(std::move(incoming));
    BuildSortString();  // 9
    collectionOpen_ = true;
    if (leaving) DoLastFiles(previous, currentCollection());  // 13
    DoFileSpecific();                                         // 12
}

ui::FileDialogRequest TMain::databaseDialog(const QString& title, int flags) {
    ui::FileDialogRequest request;
    request.parent = this;
    request.title = title;
    request.filter = kDatabaseFilter;
    request.defaultExtension = QStringLiteral("DBF");
    request.initialPath = collection::fileDialogStartFolder(currentCollection());
    request.flags = flags;
    return request;
}

TMain::OpenResult TMain::openByDialog() {
    const QString path = ui::platform().openFileName(
        databaseDialog(QStringLiteral("Open Database File"), ui::FileMustExist));
    if (path.isEmpty()) return OpenResult::Cancelled;
    if (!collection::hasDbfExtension(path)) {
        ui::showError(this, collection::kInvalidFileType);
        return OpenResult::Refused;
    }
    if (!acceptCollection(path)) return OpenResult::Refused;
    switchTo(path, false);
    return OpenResult::Opened;
}

void TMain::DoOpen() {
    try {
        openByDialog();
    } catch (...) {
        DisplayCount();
        throw;
    }
    DisplayCount();
}

void TMain::OpenSaveFile(const QString& path) {
    if (path.isEmpty()) return;
    if (acceptCollection(path)) switchTo(path, false);
    DisplayCount();
}

void TMain::DoNew() {
    ui::FileDialogRequest request = databaseDialog(QStringLiteral("New Database File"),
                                                   ui::PromptOverwrite | ui::PathMustExist);
    // The new collection's code page, Western European unless the user picks another.
    int codePage = 0;
    request.optionCaption = QStringLiteral("&Code page:");
    for (engine::CodePage cp : collection::offeredCodePages())
        request.options.append(collection::codePageName(cp));
    request.chosenOption = &codePage;
    const QString path = ui::platform().saveFileName(request);
    if (!path.isEmpty()) {
        if (searchActive_) DoEndSearch();
        if (!collection::hasDbfExtension(path)) {
            ui::showError(this, collection::kInvalidFileType);
        } else if (collectionOpen_ && collection::sameFile(path, currentCollection())) {
            ui::showError(this, openCollectionMessage(path));
        } else if (collection::MakeNewDB(
                       path,
                       [this](const QString& title, const QString& text) {
                           ui::showTitled(this, title, text);
                       },
                       collection::offeredCodePages().at(std::size_t(codePage)))) {
            switchTo(path, true);
        }
    }
    DisplayCount();
}

void TMain::DoUpdateDatabase() {
    const bool wasSearching = searchActive_;
    if (wasSearching) DoEndSearch();
    writeCollectionSettings();
    MyTable.close();
    if (wasSearching) EnableEndSearch();
    OpenMyTable();
    SetViewerOptions();
}

void TMain::DoLastFiles(const QString& previous, const QString& current) {
    collection::DoLastFiles(global_.misc.lastFiles, previous, current);
    SetMenuLastFiles();
}

void TMain::SetMenuLastFiles() {
    const collection::RecentMenu menu = collection::recentMenuItems(global_.misc.lastFiles);
    lastFilesSeparator_->setVisible(menu.separatorVisible);
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        lastFileActions_[i]->setText(menu.items[i].caption);
        lastFileActions_[i]->setVisible(menu.items[i].visible);
    }
}

}  // namespace app
