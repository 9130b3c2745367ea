// tessellon-cli pack: removes the records marked deleted for good and rebuilds the indexes; the
// collection's pictures follow their records to their new numbers (through the picture store's
// part that needs no GUI library). Returns 0 on success; failures raise engine::EngineError.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `args` as the verb gets them: "pack", FILE.DBF.
int runPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
