// TMyBackup, "Backup": copies one of the four file groups of the current collection into a
// folder the user picks.
//
// The drive box lists the places a backup can go on this system: the file system root, the home
// folder, and every mounted file system that is not a system one (removable media under /media,
// /run/media and /mnt among them); the folder list shows the folders of the chosen place, and the
// selected folder receives the copy. Start runs the backup through `Safekeeping`.
#pragma once

#include "safekeeping/safekeeping_window.h"

class QComboBox;
class QFileSystemModel;
class QTreeView;

namespace safekeeping {

class TMyBackup : public SafekeepingWindow {
    Q_OBJECT
  public:
    explicit TMyBackup(SafekeepingContext context, QWidget* parent = nullptr);

    // Shows the window modally.
    static void Execute(SafekeepingContext context, QWidget* parent = nullptr);

    // The folder selected in the folder list (the drive's root when none is).
    QString selectedFolder() const;
    // Chooses the drive holding `folder` and selects the folder in the list.
    void selectFolder(const QString& folder);

    void FormShow();
    void DriveBoxChange();
    void StartButtonClick();

    QLabel* WhereHeading = nullptr;  // "Where To Back Up To", over the drive and folder
    QComboBox* DriveBox = nullptr;
    QTreeView* DirectoryList = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QFileSystemModel* folders_ = nullptr;
};

// The places offered in the drive box, root first: "/", the home folder and the mount points of
// the user's file systems (system mounts such as /proc, /sys, /dev and /run are left out).
QStringList backupPlaces();

}  // namespace safekeeping
