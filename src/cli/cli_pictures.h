// The companion's picture verb: the pictures of one stamp in the collection's picture store.
//
//   picture FILE.DBF RECNO add PATH...   copies the files in, after the record's pictures
//   picture FILE.DBF RECNO list          one line a picture: number, name, stored file
//   picture FILE.DBF RECNO remove N      removes picture N (1 = the main picture)
//   picture FILE.DBF RECNO export DIR    copies the record's pictures into DIR, named
//                                        "<N>-<name they were added under>"
//
// RECNO is the record number (1-based, deleted records included, as `dump` counts them). The
// result is the exit status: 0 done, 2 refused or failed (the reason on `err`).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `args` as the verb gets them: "picture", FILE.DBF, RECNO, ACTION, arguments...
int runPicture(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
