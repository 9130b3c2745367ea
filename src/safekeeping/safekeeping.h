// Backup and restore of a collection's four file groups: the table (.DBF), its data lists
// (.001 to .009), its settings file (.INI) and the report definitions TESSELON.URP.
//
// `Safekeeping` runs one backup or restore from start to end: the identical-file, exclusive-use
// and free-space checks, the copy, and what the program must do around it, with every message
// the user sees. It knows no widgets: the program around it is reached through
// `SafekeepingHost` (the main window in the program, a small host of its own in the command-line
// tool), so the windows and `tessellon-cli backup|restore` run the same steps.
//
// Files are copied with copyFileSafely: a destination is replaced only by a complete, flushed
// copy, so a failed or interrupted copy leaves the old file as it was. The room asked for is the
// whole file (the old copy is freed only after the new one is in place), and running out of
// room during a copy is told with the room message. A backup of the table is a byte copy made
// while this process holds the table exclusively, and is checked (reading only) as a
// collection before success is reported.
//
// A restored table goes beside the current collection: over the current collection's own file
// when the backup has its name (any letter case), otherwise under the backup's name in the
// current collection's folder; the completion notice names the file. It is copied and indexed
// in a hidden folder there first (StagedTable), so the collection it replaces keeps its table
// and index until the new ones are complete; the restored table then becomes current and reads
// its own settings and lists. Settings of another collection are restored into the current
// collection's folder too, so that its table restored there finds them.
//
// The table's picture store ("<name>-pictures/") travels with it both ways: copied beside its
// destination first and swapped in with the table (StagedPictures), so a failed or refused run
// leaves the store there as it was.
//
// The host and the message sink must outlive the object. Engine errors from reopening the
// current table propagate to the caller (the main window's command dispatch shows them).
#pragma once

#include <QString>
#include <functional>

#include "safekeeping/safe_copy.h"

namespace safekeeping {

class StagedTable;

enum class SafekeepingGroup { Table, DataLists, Settings, Reports };

class SafekeepingHost {
  public:
    virtual ~SafekeepingHost() = default;
    virtual QString currentCollection() const = 0;  // absolute path of the current .DBF
    virtual QString programDirectory() const = 0;
    virtual bool searchActive() const = 0;
    virtual void endSearch() = 0;     // ends a running search and shows every record
    virtual void resumeSearch() = 0;  // switches a search ended for a backup on again
    virtual void closeTable() = 0;
    virtual void reopenTable() = 0;  // shared, sort tag selected, viewer options applied again
    virtual void writeDataLists() = 0;
    virtual void reloadDataLists() = 0;
    virtual void writeCollectionSettings() = 0;
    virtual void reloadCollectionSettings() = 0;
    // A restored table becomes the current collection: the collection left keeps its settings
    // and lists written, and the restored one reads its own (those beside it), as opening it
    // would; the caption and the recent list follow. Also called when the restored table
    // replaced the current collection's own file.
    virtual void makeCurrent(const QString& tablePath) = 0;
    virtual void reportsRestored() = 0;  // TESSELON.URP was replaced
    // Free bytes of the file system holding `path`; -1 when unknown.
    virtual qint64 freeBytes(const QString& path) = 0;
    virtual void setBusy(bool busy) = 0;
};

// A message for the user: its title ("Error", "Notice", "Warning") and text.
using SafekeepingSink = std::function<void(const QString& title, const QString& text)>;

class Safekeeping {
  public:
    Safekeeping(SafekeepingHost& host, SafekeepingSink tell);

    // Copies `group` of the current collection into `folder`. True when it was copied (the
    // success notice has been shown).
    bool backup(SafekeepingGroup group, const QString& folder);
    // Restores `group` from the folder of `chosenFile` (the file picked in the restore dialog).
    bool restore(SafekeepingGroup group, const QString& chosenFile);

  private:
    bool backupTable(const QString& folder);
    bool backupDataLists(const QString& folder);
    bool backupSettings(const QString& folder);
    bool backupReports(const QString& folder);
    bool restoreTable(const QString& source);
    bool restoreDataLists(const QString& folder);
    bool restoreSettings(const QString& chosenFile);
    bool restoreReports(const QString& folder);
    CopyOutcome copyWithBusyCursor(const QString& source, const QString& destination);
    // Tells the message of a copy that did not succeed: `noRoom` when the destination ran out
    // of room, `failed` otherwise. True when it was copied.
    bool copied(CopyOutcome outcome, const QString& noRoom, const QString& failed) const;
    bool copyInto(const QString& source, const QString& destination, const QString& identical,
                  const QString& noRoom, const QString& failed);
    bool stageRestoredTable(StagedTable& staged, const QString& source,
                            const QString& destination);
    QString baseName() const;
    QString collectionFolder() const;
    void error(const QString& text) const { tell_(QStringLiteral("Error"), text); }
    void notice(const QString& text) const { tell_(QStringLiteral("Notice"), text); }

    SafekeepingHost& host_;
    SafekeepingSink tell_;
};

// Joins a folder and a file name with one "/" between them ("/" + "A.DBF" is "/A.DBF").
QString pathIn(const QString& folder, const QString& fileName);

// Where the backup `source` of a table is restored while `current` is the current collection:
// `current` itself when both file names are equal ignoring case, else the source's file name in
// the folder of `current`.
QString restoredTablePath(const QString& current, const QString& source);

// The sort expression the collection at `tablePath` opens with: the sort levels of its own
// settings file (the defaults when it has none). Empty: record order.
QString sortExpressionOf(const QString& tablePath);

}  // namespace safekeeping
