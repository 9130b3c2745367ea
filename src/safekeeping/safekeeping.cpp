#include "safekeeping/safekeeping.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "collection/collection_file.h"
#include "collection/collection_layout.h"
#include "collection/collection_paths.h"
#include "collection/collection_settings.h"
#include "collection/data_list_files.h"
#include "collection/sort_expression.h"
#include "engine/error.h"
#include "engine/table.h"
#include "safekeeping/staged_pictures.h"
#include "safekeeping/staged_table.h"

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
const QString kBackupNotDone = QStringLiteral("  Backup not completed.");
const QString kRestoreNotDone = QStringLiteral("  Restore not completed.");
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

QString restoredTo(const QString& table) {
    return kRestoreDone + QStringLiteral("  The table was restored to \"") + table +
           QStringLiteral("\".");
}

// The copy of a table is a collection: it passes the layout test and holds as many records as
// the table it was copied from. Read only: the backup stays a byte copy of the table.
bool copyIsCollection(const QString& copy, std::uint32_t records) {
    try {
        if (!collection::checkCollectionLayout(copy, {})) return false;
        engine::Table check;
        check.open(copy.toStdString(), engine::OpenMode::ReadOnly);
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

QString restoredTablePath(const QString& current, const QString& source) {
    const QFileInfo from(source), to(current);
    if (from.fileName().compare(to.fileName(), Qt::CaseInsensitive) == 0) return current;
    return pathIn(to.absolutePath(), from.fileName());
}

QString sortExpressionOf(const QString& tablePath) {
    const QString settings = collection::collectionPaths(tablePath).settingsPath;
    return collection::BuildSortString(collection::readCollection(settings).sortLevels);
}

Safekeeping::Safekeeping(SafekeepingHost& host, SafekeepingSink tell)
    : host_(host), tell_(std::move(tell)) {}

QString Safekeeping::baseName() const {
    return collection::collectionPaths(host_.currentCollection()).tableName;
}

QString Safekeeping::collectionFolder() const {
    return QFileInfo(host_.currentCollection()).absolutePath();
}

CopyOutcome Safekeeping::copyWithBusyCursor(const QString& source, const QString& destination) {
    host_.setBusy(true);
    const CopyOutcome outcome = copyFileSafely(source, destination);
    host_.setBusy(false);
    return outcome;
}

bool Safekeeping::copied(CopyOutcome outcome, const QString& noRoom,
                         const QString& failed) const {
    if (outcome == CopyOutcome::Copied) return true;
    error(outcome == CopyOutcome::NoRoom ? noRoom : failed);
    return false;
}

// One file of a group: refused when it is the same file as its destination, else copied; either
// failure is told with its message.
bool Safekeeping::copyInto(const QString& source, const QString& destination,
                           const QString& identical, const QString& noRoom,
                           const QString& failed) {
    if (sameFile(source, destination)) {
        error(identical);
        return false;
    }
    return copied(copyWithBusyCursor(source, destination), noRoom, failed);
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
    } catch (const engine::EngineError& e) {
        // Held by somebody else, or no table that can be opened: each is told for what it is.
        giveBack(collection::DBaseInUse(source) ? kBackupExclusive
                                                : QString::fromUtf8(e.what()) + kBackupNotDone);
        return false;
    }
    const std::uint32_t records = guard.physicalCount();
    if (!roomForCopy(fileSize(source), host_.freeBytes(folder))) {
        guard.close();
        giveBack(kBackupNoRoom);
        return false;
    }
    // The pictures are copied beside the backup first and go in place with the table.
    host_.setBusy(true);
    StagedPictures pictures(source, destination);
    host_.setBusy(false);
    if (!pictures.failure().isEmpty()) {
        guard.close();
        giveBack(pictures.failure() + kBackupNotDone);
        return false;
    }
    const CopyOutcome outcome = copyWithBusyCursor(source, destination);
    guard.close();
    if (outcome == CopyOutcome::NoRoom) {
        giveBack(kBackupNoRoom);
        return false;
    }
    if (outcome != CopyOutcome::Copied || !copyIsCollection(destination, records)) {
        giveBack(kBackupFailed);
        return false;
    }
    if (!pictures.putInPlace()) {
        giveBack(pictures.failure() + kBackupNotDone);
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
                      kBackupNoRoom, kBackupFailed))
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
                  kBackupNoRoom, kBackupFailed))
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
    if (!roomForCopy(fileSize(source), host_.freeBytes(folder))) {
        error(kReportsNoRoom);
        return false;
    }
    if (!copied(copyWithBusyCursor(source, destination), kReportsNoRoom, kBackupFailed))
        return false;
    notice(kBackupDone);
    return true;
}

// The restored table is copied and indexed beside its destination before anything of the
// current collection changes; a failure before it is put in place leaves the current collection
// open as it was.
bool Safekeeping::restoreTable(const QString& source) {
    if (host_.searchActive()) host_.endSearch();
    const QString current = host_.currentCollection();
    const QString destination = restoredTablePath(current, source);
    if (sameFile(source, destination)) {
        error(kIdenticalRestore);
        return false;
    }
    try {
        if (!collection::checkCollectionLayout(source, tell_)) return false;
    } catch (const engine::EngineError& e) {  // not a table at all
        error(QString::fromUtf8(e.what()));
        return false;
    }
    if (!roomForCopy(fileSize(source), host_.freeBytes(QFileInfo(destination).absolutePath()))) {
        error(kRestoreNoRoom);
        return false;
    }
    // The settings in use are on disk, so a restore over the current collection indexes the
    // copy in the order the collection is shown in.
    host_.writeCollectionSettings();
    StagedTable staged(destination);
    if (!stageRestoredTable(staged, source, destination)) return false;
    host_.setBusy(true);
    StagedPictures pictures(source, destination);
    host_.setBusy(false);
    if (!pictures.failure().isEmpty()) {
        error(pictures.failure() + kRestoreNotDone);
        return false;
    }
    host_.closeTable();
    if (QFileInfo::exists(destination) && collection::DBaseInUse(destination)) {
        host_.reopenTable();
        error(kRestoreExclusive);
        return false;
    }
    if (!staged.putInPlace()) {
        host_.reopenTable();
        error(kRestoreFailed);
        return false;
    }
    // The table is in place; pictures that could not follow are told, the old ones kept.
    if (!pictures.putInPlace()) error(pictures.failure());
    host_.makeCurrent(destination);
    host_.reopenTable();
    notice(restoredTo(destination));
    return true;
}

bool Safekeeping::stageRestoredTable(StagedTable& staged, const QString& source,
                                     const QString& destination) {
    host_.setBusy(true);
    CopyOutcome outcome = staged.copyFrom(source);
    QString indexFailure;
    if (outcome == CopyOutcome::Copied) {
        try {
            staged.buildIndex(sortExpressionOf(destination));
        } catch (const engine::EngineError& e) {
            indexFailure = QString::fromUtf8(e.what());
        }
    }
    host_.setBusy(false);
    if (!copied(outcome, kRestoreNoRoom, kRestoreFailed)) return false;
    if (indexFailure.isEmpty()) return true;
    error(indexFailure + kRestoreNotDone);
    return false;
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
        if (!copied(copyWithBusyCursor(source, destination), kRestoreNoRoom, kRestoreFailed))
            return false;
    }
    notice(missed ? kListsMissed : kListsRestored);
    host_.reloadDataLists();
    return true;
}

// Settings go beside the current collection: its own, and those of another collection, whose
// table restored there next reads them.
bool Safekeeping::restoreSettings(const QString& chosenFile) {
    const QFileInfo chosen(chosenFile);
    const QString name = chosen.completeBaseName();
    const QString fileName = name + QStringLiteral(".INI");
    const QString source = pathIn(chosen.absolutePath(), fileName);
    const bool current = name == baseName();
    const QString destination = pathIn(collectionFolder(), fileName);
    if (sameFile(source, destination)) {
        error(kIdenticalRestore);
        return false;
    }
    if (!QFileInfo::exists(source)) {
        tell_(QStringLiteral("Warning"), missingFileWarning(fileName));
        return false;
    }
    if (!copied(copyWithBusyCursor(source, destination), kRestoreNoRoom, kRestoreFailed))
        return false;
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
    if (!roomForCopy(fileSize(source), host_.freeBytes(host_.programDirectory()))) {
        error(kRestoreNoRoom);
        return false;
    }
    if (!copied(copyWithBusyCursor(source, destination), kRestoreNoRoom, kRestoreFailed))
        return false;
    host_.reportsRestored();
    notice(kRestoreDone);
    return true;
}

}  // namespace safekeeping
