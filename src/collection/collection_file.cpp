#include "collection/collection_file.h"
#include "collection/collection_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "collection/collection_paths.h"
#include "collection/profile_file.h"
#include "collection/stamp_schema.h"
#include "collection/stamp_table_defs.h"
#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/table.h"
#include "engine/table_probe.h"

namespace collection {

namespace {

QString inUseMessage(const QString& path) {
    return QStringLiteral("The table \"") + path +
           QStringLiteral("\" is currently in use by another program.") +
           QStringLiteral("  New table creation will be aborted.");
}

}  // namespace

bool MakeNewDB(const QString& path, const MessageSink& tell, engine::CodePage codePage) {
    if (QFileInfo::exists(path) && DBaseInUse(path)) {
        if (tell) tell(QStringLiteral("Error"), inUseMessage(path));
        return false;
    }
    engine::Table::create(path.toStdString(), stampTableFieldDefs(), codePage);
    return QFileInfo::exists(path);
}

void RemoveMDXByte(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) return;
    if (f.size() > 28 && f.seek(28)) f.write("\0", 1);
}

// What the engine found wrong with the collection's index, told each time the collection is
// opened: a damaged or out-of-date index does not keep the collection from opening.
void tellIndexNotice(const QString& path, const MessageSink& tell) {
    if (!tell) return;
    std::string notice;
    try {
        engine::Table check;
        check.open(path.toStdString(), engine::OpenMode::ReadOnly);
        notice = check.indexNotice();
    } catch (const engine::EngineError&) {
        return;  // the open that follows reports it
    }
    if (!notice.empty()) tell(QStringLiteral("Notice"), QString::fromStdString(notice));
}

// Only the header is read, through a read-only descriptor: a file that turns out not to be a
// collection (a text file named .DBF, another program's table) is left exactly as it was. The
// production-index flag is cleared only in a collection whose index is gone.
bool CheckDBaseFormat(const QString& path, const MessageSink& tell) {
    const QString full = QFileInfo(path).absoluteFilePath();
    if (!checkCollectionLayout(full, tell)) return false;
    const engine::DbfLayout layout = engine::readTableLayout(full.toStdString());
    if (layout.mdxFlag != 0 &&
        !engine::fileExists(engine::companionPath(full.toStdString(), ".MDX")))
        RemoveMDXByte(full);
    else
        tellIndexNotice(full, tell);
    return true;
}

bool DBaseInUse(const QString& path) {
    return engine::tableHeld(QFileInfo(path).absoluteFilePath().toStdString());
}

bool collectionReadOnly(const QString& path) {
    const CollectionPaths paths = collectionPaths(path);
    for (const QString& file : {paths.table, paths.indexPath, paths.folder}) {
        const QFileInfo info(file);
        if (info.exists() && markedReadOnly(info)) return true;
    }
    return false;
}

QString readOnlyMessage(const QString& path) {
    return QStringLiteral("The collection \"") + path +
           QStringLiteral(
               "\" is read-only: its file or its folder cannot be written.  It has "
               "not been opened.  Copy its files to a folder you can write to and "
               "open the copy.");
}

}  // namespace collection
