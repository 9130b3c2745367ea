// tessellon-cli pack: removes the records marked deleted for good and rebuilds the indexes; the
// collection's pictures follow their records to their new numbers. Needs Qt's GUI library (the
// picture store reads images), so the companion as started hands it to its GUI program (see
// report_launcher.cpp). Returns 0 on success; failures raise engine::EngineError.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `args` as the verb gets them: "pack", FILE.DBF.
int runPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
