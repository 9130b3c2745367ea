// The companion's verbs for deleted stamps: `recall FILE.DBF RECNO...` brings records back,
// `dump FILE.DBF --deleted` lists the records marked deleted that Pack has not removed.
//
// Both take the arguments after the program name and return the exit status (0 done, 2
// failure). recall reports each record number that is not a deleted record of the table and
// then fails, after recalling the others.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

int runRecall(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Each deleted record as its record number and then its fields, as dump prints them.
int dumpDeleted(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace cli
