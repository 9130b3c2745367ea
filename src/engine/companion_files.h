// Files that travel with a table: X.MDX beside X.DBF.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// Path of the companion of `tablePath` with extension `ext` (".MDX"): an
// existing file whose extension matches in any letter case, else the path
// with `ext` as given.
std::string companionPath(const std::string& tablePath, std::string_view ext);
// File name without folder and extension ("/a/MASTER.DBF" -> "MASTER").
std::string tableBaseName(const std::string& tablePath);
bool fileExists(const std::string& path);
// The file `path` names with symbolic links followed; `path` itself when it
// cannot be resolved.
std::string realFilePath(const std::string& path);
// The file a pack writes to replace `path`: beside the file a link names, so
// that the final rename stays within one file system.
std::string packTempPath(const std::string& path);

}  // namespace engine
