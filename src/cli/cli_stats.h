// `tessellon-cli stats FILE.DBF [--by FIELD] [--csv] [CRITERION...]`: the collection's summary,
// or its breakdown by one field, from the statistics the program's window shows.
//
// FIELD is one of the breakdown fields (Country, Year (by decade), Condition, Stamp Type, Topic,
// Group, Gum, Hinged, Wanted) by its dBase name, its default label or the collection's label.
// Criteria narrow the records as `search` does (cli_criteria.h). Text output is in the
// installation's number formats, headed by which records it covers; --csv writes machine
// numbers ("1234.56") and nothing else, for other programs. Groups are listed by market value,
// largest first.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// args[0] is "stats". Returns the exit status (0 done, 2 failure, told on `err`).
int runStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
