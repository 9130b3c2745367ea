// Making a collection current: validation, the companion paths, opening the stamp table with
// its sort tag, switching from one collection to another and the recent-collection list.
#include <QAction>
#include <QFileInfo>

#include "app/main_window.h"
#include "collection/collection_file.h"
#include "collection/settings_paths.h"
#include "collection/sort_expression.h"
#include "editing/my_edit.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace app {

namespace {

const QString kDatabaseFilter = QStringLiteral("Database Files (*.DBF *.dbf)");

bool hasDbfExtension(const QString& path) {
    return path.right(4).toUpper() == QLatin1String(".DBF");
}

// `base` + `ext`, or an existing file of that name whose extension differs only in case.
QString companionOf(const QString& base, const QString& ext) {
    const QString wanted = base + ext;
    if (QFileInfo(wanted).isFile()) return wanted;
    const QString lower = base + ext.toLower();
    return QFileInfo(lower).isFile() ? lower : wanted;
}

}  // namespace

QString TMain::collectionSettingsPath() const {
    return companionOf(basePath_, QStringLiteral(".INI"));
}

bool TMain::validateCollection(const QString& path) {
    return collection::CheckDBaseFormat(path, [this](const QString& title, const QString& text) {
        ui::showMessage(this, title, text);
    });
}

// The table name is the file name up to its first "."; the base path is its folder and that name.
void TMain::setCollectionPaths(const QString& path) {
    const QFileInfo info(path);
    const QString tableName = info.fileName().section(QLatin1Char('.'), 0, 0);
    global_.misc.lastDatabase = info.absoluteFilePath();
    basePath_ = info.absolutePath() + QLatin1Char('/') + tableName;
    setWindowTitle(QStringLiteral("Tessellon (") + tableName + QLatin1Char(')'));
}

void TMain::OpenMyTable() {
    MyTable.close();
    applyRecordFilter();
    MyTable.open(currentCollection().toStdString(), engine::OpenMode::Shared);
    bool tagExists = false;
    for (const engine::TagInfo& tag : MyTable.tags())
        tagExists = tagExists || QString::fromStdString(tag.name).compare(collection::kSortTagName,
                                                                          Qt::CaseInsensitive) == 0;
    const bool useTag = !sortExpression_.isEmpty() && tagExists;
    MyTable.selectIndex(useTag ? collection::kSortTagName.toStdString() : std::string());
    refreshViewer();
}

// Replaces the sort tag by one built from the current sort expression; record order when empty.
void TMain::rebuildSortTag() {
    MyTable.selectIndex({});
    if (!sortExpression_.isEmpty()) {
        const std::string tag = collection::kSortTagName.toStdString();
        MyTable.deleteIndexTag(tag);
        MyTable.addIndexTag(tag, sortExpression_.toStdString());
        MyTable.selectIndex(tag);
    }
    refreshViewer();
}

void TMain::readCollectionSettings(const QString& settingsPath) {
    settings_ = collection::readCollection(settingsPath);
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

// Leaves the current collection (its settings and pick lists written) for `path`. A new
// collection takes its settings from TESSELON.INI and the default pick lists, and always gets a
// fresh sort tag.
void TMain::switchTo(const QString& path, bool newCollection) {
    if (searchActive_) DoEndSearch();
    const QString previous = collectionOpen_ ? currentCollection() : QString();
    MyTable.close();
    // Before a collection has been made current there is no previous one to write settings or
    // lists for: the file the settings named may belong to another program.
    if (collectionOpen_) {
        writeCollectionSettings();
        if (MyEdit) MyEdit->dataLists().SaveAllLists();
    }
    setCollectionPaths(path);
    loadCollectionLists(newCollection);
    readCollectionSettings(newCollection ? collection::globalSettingsPath()
                                         : collectionSettingsPath());
    BuildSortString();
    const bool inUse = !newCollection && collection::DBaseInUse(currentCollection());
    OpenMyTable();
    collectionOpen_ = true;
    if (!inUse) rebuildSortTag();
    DoFileSpecific();
    if (!previous.isEmpty()) DoLastFiles(previous, currentCollection());
}

ui::FileDialogRequest TMain::databaseDialog(const QString& title, int flags) {
    ui::FileDialogRequest request;
    request.parent = this;
    request.title = title;
    request.filter = kDatabaseFilter;
    request.defaultExtension = QStringLiteral("DBF");
    request.initialPath = QFileInfo(currentCollection()).absolutePath();
    request.flags = flags;
    return request;
}

TMain::OpenResult TMain::openByDialog() {
    const QString path = ui::platform().openFileName(
        databaseDialog(QStringLiteral("Open Database File"), ui::FileMustExist));
    if (path.isEmpty()) return OpenResult::Cancelled;
    if (!hasDbfExtension(path)) {
        ui::showError(this, QStringLiteral("Invalid file type selected."));
        return OpenResult::Refused;
    }
    if (!validateCollection(path)) return OpenResult::Refused;
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
    if (validateCollection(path)) switchTo(path, false);
    DisplayCount();
}

void TMain::DoNew() {
    const QString path = ui::platform().saveFileName(databaseDialog(
        QStringLiteral("New Database File"), ui::PromptOverwrite | ui::PathMustExist));
    if (!path.isEmpty()) {
        if (searchActive_) DoEndSearch();
        if (!hasDbfExtension(path)) {
            ui::showError(this, QStringLiteral("Invalid file type selected."));
        } else if (collection::MakeNewDB(path, [this](const QString& title, const QString& text) {
                       ui::showMessage(this, title, text);
                   })) {
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
    auto& recent = global_.misc.lastFiles;
    const int n = int(recent.size());
    for (int k = 0; k < n; ++k) {
        if (recent[k] == current) {
            for (int i = k; i + 1 < n; ++i) recent[i] = recent[i + 1];
            recent[n - 1].clear();
            break;
        }
    }
    for (int i = n - 1; i > 0; --i) recent[i] = recent[i - 1];
    recent[0] = previous;
    SetMenuLastFiles();
}

void TMain::SetMenuLastFiles() {
    const auto& recent = global_.misc.lastFiles;
    const bool any = std::any_of(recent.begin(), recent.end(),
                                 [](const QString& path) { return !path.isEmpty(); });
    lastFilesSeparator_->setVisible(any);
    for (std::size_t i = 0; i < recent.size(); ++i) {
        QAction* item = lastFileActions_[i];
        item->setText(QStringLiteral("&%1   %2").arg(i + 1).arg(recent[i]));
        item->setVisible(any && !recent[i].isEmpty());
    }
}

}  // namespace app
