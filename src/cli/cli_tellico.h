// The Tellico halves of the companion's import and export verbs (--tellico), called by
// runImport and runExport (cli_interchange.h) once the arguments and the collection are checked
// and before the collection is opened.
//
// Tellico files are zip archives, read and written with libzip, and loading libzip (with the
// compression and crypto libraries it brings) costs about a millisecond at every start of a
// program that links it. So tessellon-cli is built without these two: its own versions
// (report_launcher.cpp) hand the whole verb, `args` as given, to tessellon-cli-report, whose
// versions (cli_tellico.cpp) run it. Both return the verb's exit status.
#pragma once

#include <QString>
#include <ostream>
#include <string>
#include <vector>

namespace collection {
class SearchCriteria;
}
namespace interchange {
struct ExportRequest;
}

namespace cli {

// Tells the plan of the Tellico file `source` (where each of its fields goes) and imports it
// into the collection at `path`; another kind of Tellico collection is refused naming its type.
int importTellicoFile(const std::vector<std::string>& args, const QString& path,
                      const std::string& source, std::ostream& out, std::ostream& err);
// Writes the records of the collection at `path` that pass `criteria` (all when null) to the
// Tellico file `target`.
int exportTellicoFile(const std::vector<std::string>& args, const QString& path,
                      const QString& target, const interchange::ExportRequest& request,
                      const collection::SearchCriteria* criteria, std::ostream& out,
                      std::ostream& err);

}  // namespace cli
