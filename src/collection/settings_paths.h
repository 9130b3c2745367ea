// Where the installation's files live.
//
// The global settings file TESSELON.INI lives in the user's configuration
// folder: $XDG_CONFIG_HOME/tessellon/, or ~/.config/tessellon/ when
// XDG_CONFIG_HOME is unset, empty or not an absolute path.
//
// The program directory (home of the report layouts, the master collection,
// the help document and the shared list files) is, in this order:
//  - TESSELLON_PROGRAM_DIR when set (tests, special setups);
//  - for an installed program (the executable has ../share/tessellon beside
//    it), the user's data folder $XDG_DATA_HOME/tessellon, default
//    ~/.local/share/tessellon: an installed executable's folder is shared by
//    every user and must never receive collections, even when the process
//    could write there (root);
//  - the executable's folder when it is writable (a build tree, a portable
//    copy);
//  - otherwise the user's data folder as above.
// All are read from the environment at every call, so tests can point them at
// temporary folders. Only prepareProgramDirectory() creates anything.
#pragma once

#include <QString>

namespace collection {

inline constexpr char kGlobalSettingsFileName[] = "TESSELON.INI";

// Folder of the global settings file, without trailing "/".
QString globalSettingsFolder();
// Full path of TESSELON.INI.
QString globalSettingsPath();

// The program directory chosen by the rules above, without trailing "/".
QString programDirectory();

// Folder of the executable, without trailing "/".
QString executableDirectory();
// The installed shared data (default lists, help document): ../share/tessellon
// from the executable's folder. Empty when the program is not installed.
QString sharedDataDirectory();
// $XDG_DATA_HOME/tessellon, or ~/.local/share/tessellon when XDG_DATA_HOME is
// unset, empty or relative.
QString userDataDirectory();

// Creates the program directory when missing and copies into it every file of
// the shared data folder that it does not hold yet (files already there, which
// the user may have changed, are never replaced). Returns false, with a reason
// in `error`, when the folder cannot be created; a file that cannot be copied
// is skipped (the program runs without it, as with a missing list file).
bool prepareProgramDirectory(QString* error = nullptr);

// Where New Database and Open start: the folder of the collection at `collectionPath`, unless
// it is the program's own data folder (the user data folder, or a program directory other than
// the executable's folder), which a user never chose; then the user's documents folder, or the
// home folder when there is none.
QString fileDialogStartFolder(const QString& collectionPath);

}  // namespace collection
