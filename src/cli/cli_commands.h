// The verbs of tessellon-cli, callable without a process so tests can run them.
//
// runCli() takes the arguments after the program name, writes results to
// `out` and messages to `err`, and returns the process exit status: 0 for
// success, 1 for a negative answer (check of a file that is not a
// collection) and 2 for usage errors and failures.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
