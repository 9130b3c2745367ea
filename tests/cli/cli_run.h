// Running tessellon-cli's verbs in the test process and capturing what they print.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

namespace cli::testing {

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int status = cli::runCli(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace cli::testing
