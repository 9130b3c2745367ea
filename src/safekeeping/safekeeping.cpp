#include "safekeeping/safekeeping.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "collection/collection_file.h"
#include "collection/collection_paths.h"
#include "collection/data_list_files.h"
#include "collection/sort_order.h"
#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/table.h"
#include "safekeeping/safe_copy.h"

namespace safekeeping {

namespace {

const QString kIdenticalBackup = QStringLiteral(
    "Destination File and Source File are identical.  You cannot copy a file  over top of "
    "itself.  Please choose a different directory/folder to backup to.");
const QString kIdenticalReportsBackup = QStringLiteral(
    "Destination File and Source File are identical.  You cannot copy a file  over top of "
    "itself.  Please choose a different directory to backup to.");
const QString kIdenticalRestore = QStringLiteral(
    "Destination File and Source File are identical.  You cannot copy a file  over top of "
    "itself.  Please choose a different directory/folder to restore from.");
const QString kBackupExclusive = QStringLiteral(
    "Backing up the database requires exclusive use of the DBase File.  Make sure that the DBase "
    "File is not in use by another program  or that no other users are running the software or "
    "that no other copies of the software are in use.");
const QString kBackupNoRoom = QStringLiteral(
    "There is not enough room on the destination drive to perform a backup.  If you are already "
    "using blank empty media, then you will need to use the ASCII Delimited Import/Export "
    "functions for backup and restore purposes.");
const QString kReportsNoRoom = QStringLiteral(
    "There is not enough room on the destination drive to backup this file.  You will need to "
    "free up space on the destination drive or use an alternative method to backup the "
    "\"TESSELON.URP\" file.");
const QString kBackupDone = QStringLiteral("Backup completed successfully.");
const QString kBackupFailed =
    QStringLiteral("An error occurred during backup.  Backup not completed.");
const QString kRestoreExclusive = QStringLiteral(
    "Unable to restore the database.  Make sure the database is not in use by any other users or "
    "by another copy of the software.");
const QString kRestoreNoRoom = QStringLiteral(
    "There is not enough room on the destination drive to perform a restore.  You will need to "
    "free up hard drive space before completing the restore.");
const QString kRestoreFailed =
    QStringLiteral("An error occurred during restore.  Restore not completed.");
const QString kRestoreDone = QStringLiteral("Restore completed successfully.");
const QString kListsRestored =
    QStringLiteral("ALL proper \"Data List\" files restored successfully.");
const QString kListsMissed = QStringLiteral(
    "One or more files were not restored.  Restore may not have completed successfully.");
const QString kSettingsRestored = QStringLiteral("Configuration File restored successfully.");
const QString kReportsMissing = QStringLiteral(
    "The Report Definitions file \"TESSELON.URP\" could not be  located on the specified source "
    "drive.");
const QString kReportFile = QStringLiteral("TESSELON.URP");

QString missingFileWarning(const QString& name) {
    return QStringLiteral("The following file \"") + name +
           QStringLiteral("\" could not be located on the specified source drive.");
}

QString listExtension(int list) {
    return QStringLiteral(".%1").arg(list, 3, 10, QLatin1Char('0'));
}

// The copy of a table is a collection: it passes the layout test and holds as many records as
// the table it was copied from.
bool copyIsCollection(const QString& copy, std::uint32_t records) {
    try {
        if (!collection::CheckDBaseFormat(copy, {})) return false;
        engine::Table check;
        check.open(copy.toStdString(), engine::OpenMode::Shared);
        return check.physicalCount() == records;
    } catch (const engine::EngineError&) {
        return false;
    }
}

}  // namespace

QString pathIn(const QString& folder, const QString& fileName) {
    QString f = folder;
    while (f.size() > 1 && f.endsWith(u'/')) f.chop(1);
    return f.endsWith(u'/') ? f + fileName : f + u'/' + fileName;
}

void prepareRestoredTable(const QString& tablePath, const QString& sortExpression) {
    const std::string table = tablePath.toStdString();
    const std::string mdx = engine::companionPath(table, ".MDX");
    if (engine::fileExists(mdx)) QFile::remove(QString::fromStdString(mdx));
    collection::RemoveMDXByte(tablePath);
    if (sortExpression.isEmpty()) return;
    engine::Table restored;
    restored.open(table, engine::OpenMode::Exclusive);
    collection::buildSortTag(restored, sortExpression);
    restored.close();
}

Safekeeping::Safekeeping(SafekeepingHost& host, SafekeepingSink tell)
    : host_(host), tell_(std::move(tell)) {}

QString Safekeeping::baseName() const {
    return collection::collectionPaths(host_.currentCollection()).tableName;
}

QString Safekeeping::collectionFolder() const {
    return QFileInfo(host_.currentCollection()).absolutePath();
}

bool Safekeeping::copyWithBusyCursor(const QString& source, const QString& destination) {
    host_.setBusy(true);
    const CopyOutcome outcome = copyFileSafely(source, destination);
    host_.setBusy(false);
    return outcome == CopyOutcome::Copied;
}

// One file of a group: refused when it is the same file as its destination, else copied; either
// failure is told with its message.
bool Safekeeping::copyInto(const QString& source, const QString& destination,
                           const QString& identical, const QString& failed) {
    if (sameFile(source, destination)) {
        error(identical);
        return false;
    }
    if (!copyWithBusyCursor(source, destination)) {
        error(failed);
        return false;
    }
    return true;
}

bool Safekeeping::backup(SafekeepingGroup group, const QString& folder) {
    switch (group) {
        case SafekeepingGroup::Table:
            return backupTable(folder);
        case SafekeepingGroup::DataLists:
            return backupDataLists(folder);
        case SafekeepingGroup::Settings:
            return backupSettings(folder);
        case SafekeepingGroup::Reports:
            return backupReports(folder);
    }
    return false;
}

bool Safekeeping::restore(SafekeepingGroup group, const QString& chosenFile) {
    const QString folder = QFileInfo(chosenFile).absolutePath();
    switch (group) {
        case SafekeepingGroup::Table:
            return restoreTable(chosenFile);
        case SafekeepingGroup::DataLists:
            return restoreDataLists(folder);
        case SafekeepingGroup::Settings:
            return restoreSettings(chosenFile);
        case SafekeepingGroup::Reports:
            return restoreReports(folder);
    }
    return false;
}

// The table is copied while this process holds it exclusively, so nobody can change it half-way
// through the copy; the search ended for it is switched on again on every path.
bool Safekeeping::backupTable(const QString& folder) {
    const QString source = host_.currentCollection();
    const QString destination = pathIn(folder, QFileInfo(source).fileName());
    if (sameFile(source, destination)) {
        error(kIdenticalBackup);
        return false;
    }
    const bool resume = host_.searchActive();
    if (resume) host_.endSearch();
    host_.closeTable();
    auto giveBack = [&](const QString& message) {
        if (resume) host_.resumeSearch();
        host_.reopenTable();
        if (!message.isEmpty()) error(message);
    };

    engine::Table guard;
    try {
        guard.open(source.toStdString(), engine::OpenMode::Exclusive);
    } catch (const engine::EngineError&) {
        giveBack(kBackupExclusive);
        return false;
    }
    const std::uint32_t records = guard.physicalCount();
    if (!roomForCopy(fileSize(source), host_.freeBytes(folder), destination)) {
        guard.close();
        giveBack(kBackupNoRoom);
        return false;
    }
    const bool copied = copyWithBusyCursor(source, destination);
    guard.close();
    if (!copied || !copyIsCollection(destination, records)) {
        giveBack(kBackupFailed);
        return false;
    }
    giveBack({});
    notice(kBackupDone);
    return true;
}

bool Safekeeping::backupDataLists(const QString& folder) {
    host_.writeDataLists();
    const QString base = collection::collectionPaths(host_.currentCollection()).basePath;
    for (int list = 1; list <= 9; ++list) {
        const QString source = collection::collectionListPath(base, list);
        if (!QFileInfo::exists(source)) continue;
        if (!copyInto(source, pathIn(folder, QFileInfo(source).fileName()), kIdenticalBackup,
                      kBackupFailed))
            return false;
    }
    notice(kBackupDone);
    return true;
}

bool Safekeeping::backupSettings(const QString& folder) {
    host_.writeCollectionSettings();
    const QString source = collection::companionFile(
        collection::collectionPaths(host_.currentCollection()).basePath, QStringLiteral(".INI"));
    if (!copyInto(source, pathIn(folder, QFileInfo(source).fileName()), kIdenticalBackup,
                  kBackupFailed))
        return false;
    notice(kBackupDone);
    return true;
}

bool Safekeeping::backupReports(const QString& folder) {
    const QString source = pathIn(host_.programDirectory(), kReportFile);
    const QString destination = pathIn(folder, kReportFile);
    if (sameFile(source, destination)) {
        error(kIdenticalReportsBackup);
        return false;
    }
    if (!roomForCopy(fileSize(source), host_.freeBytes(folder), destination)) {
        error(kReportsNoRoom);
        return false;
    }
    if (!copyWithBusyCursor(source, destination)) {
        error(kBackupFailed);
        return false;
    }
    notice(kBackupDone);
    return true;
}

// The restored table is copied in full before anything of the current collection changes; a
// failure before that point leaves the current collection open as it was.
bool Safekeeping::restoreTable(const QString& source) {
    if (host_.searchActive()) host_.endSearch();
    const QString destination = pathIn(host_.programDirectory(), QFileInfo(source).fileName());
    if (sameFile(source, destination)) {
        error(kIdenticalRestore);
        return false;
    }
    try {
        if (!collection::CheckDBaseFormat(source, tell_)) return false;
    } catch (const engine::EngineError& e) {  // not a table at all
        error(QString::fromUtf8(e.what()));
        return false;
    }
    const QString current = host_.currentCollection();
    const bool replacesCurrent = destination == current || sameFile(destination, current);
    if (replacesCurrent) {
        host_.closeTable();
        if (collection::DBaseInUse(current)) {
            host_.reopenTable();
            error(kRestoreExclusive);
            return false;
        }
    }
    if (!roomForCopy(fileSize(source), host_.freeBytes(host_.programDirectory()), destination)) {
        if (replacesCurrent) host_.reopenTable();
        error(kRestoreNoRoom);
        return false;
    }
    host_.closeTable();
    if (!copyWithBusyCursor(source, destination)) {
        host_.reopenTable();
        error(kRestoreFailed);
        return false;
    }
    host_.makeCurrent(destination);
    try {
        prepareRestoredTable(destination, host_.sortExpression());
    } catch (const engine::EngineError& e) {
        // The copy is complete and current; without its index it opens in record order.
        host_.reopenTable();
        error(QString::fromUtf8(e.what()));
        return false;
    }
    host_.reopenTable();
    notice(kRestoreDone);
    return true;
}

// Data lists are restored beside the current collection, whose lists they are.
bool Safekeeping::restoreDataLists(const QString& folder) {
    const QString name = baseName();
    const QString target = collectionFolder();
    bool missed = false;
    for (int list = 1; list <= 9; ++list) {
        const QString fileName = name + listExtension(list);
        const QString source = pathIn(folder, fileName);
        const QString destination = pathIn(target, fileName);
        if (sameFile(source, destination)) {
            error(kIdenticalRestore);
            return false;
        }
        if (!QFileInfo::exists(source)) {
            tell_(QStringLiteral("Warning"), missingFileWarning(fileName));
            missed = true;
            continue;
        }
        if (!copyWithBusyCursor(source, destination)) {
            error(kRestoreFailed);
            return false;
        }
    }
    notice(missed ? kListsMissed : kListsRestored);
    host_.reloadDataLists();
    return true;
}

// The settings of the current collection go beside it; those of another collection go to the
// program directory.
bool Safekeeping::restoreSettings(const QString& chosenFile) {
    const QFileInfo chosen(chosenFile);
    const QString name = chosen.completeBaseName();
    const QString fileName = name + QStringLiteral(".INI");
    const QString source = pathIn(chosen.absolutePath(), fileName);
    const bool current = name == baseName();
    const QString destination =
        pathIn(current ? collectionFolder() : host_.programDirectory(), fileName);
    if (sameFile(source, destination)) {
        error(kIdenticalRestore);
        return false;
    }
    if (!QFileInfo::exists(source)) {
        tell_(QStringLiteral("Warning"), missingFileWarning(fileName));
        return false;
    }
    if (!copyWithBusyCursor(source, destination)) {
        error(kRestoreFailed);
        return false;
    }
    if (current) host_.reloadCollectionSettings();
    notice(kSettingsRestored);
    return true;
}

bool Safekeeping::restoreReports(const QString& folder) {
    const QString source = pathIn(folder, kReportFile);
    const QString destination = pathIn(host_.programDirectory(), kReportFile);
    if (sameFile(source, destination)) {
        error(kIdenticalRestore);
        return false;
    }
    if (!QFileInfo::exists(source)) {
        error(kReportsMissing);
        return false;
    }
    if (!roomForCopy(fileSize(source), host_.freeBytes(host_.programDirectory()), destination)) {
        error(kRestoreNoRoom);
        return false;
    }
    if (!copyWithBusyCursor(source, destination)) {
        error(kRestoreFailed);
        return false;
    }
    host_.reportsRestored();
    notice(kRestoreDone);
    return true;
}

}  // namespace safekeeping
