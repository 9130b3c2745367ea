// Where the installation's files live.
//
// The global settings file TESSELON.INI lives in the user's configuration
// folder: $XDG_CONFIG_HOME/tessellon/, or ~/.config/tessellon/ when
// XDG_CONFIG_HOME is unset, empty or not an absolute path. The program
// directory (home of the report layouts, the master collection and the shared
// list files) is the executable's folder unless TESSELLON_PROGRAM_DIR names
// another. Both are read from the environment at every call, so tests can
// point them at temporary folders. Nothing here creates a folder.
#pragma once

#include <QString>

namespace collection {

inline constexpr char kGlobalSettingsFileName[] = "TESSELON.INI";

// Folder of the global settings file, without trailing "/".
QString globalSettingsFolder();
// Full path of TESSELON.INI.
QString globalSettingsPath();

// Folder of the executable (or TESSELLON_PROGRAM_DIR), without trailing "/".
QString programDirectory();

}  // namespace collection
