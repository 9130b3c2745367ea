// The companion's backup and restore of a collection's table, through the same steps as the
// program's Backup and Restore windows (identical-file, exclusive-use and free-space checks,
// the safe copy, a fresh index "NewIndex" for a restored table from its settings' sort levels).
//
//   backup FILE.DBF FOLDER        copies FILE.DBF into FOLDER
//   restore BACKUP.DBF PROGRAMDIR copies BACKUP.DBF into PROGRAMDIR (replacing the collection of
//                                 that name when no other program holds it) and indexes it
//
// Notices go to `out`, errors and warnings to `err`; the result is the exit status (0 copied,
// 2 refused or failed).
#pragma once

#include <ostream>
#include <string>

namespace cli {

int backupTable(const std::string& table, const std::string& folder, std::ostream& out,
                std::ostream& err);
int restoreTable(const std::string& backup, const std::string& programDir, std::ostream& out,
                 std::ostream& err);

}  // namespace cli
