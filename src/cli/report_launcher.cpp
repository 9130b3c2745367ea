// The report, album, picture and stats verbs, Tellico import and export, and imports and
// exports that carry pictures (cli_picture_transfer.h), in the companion
// as it is started: their code reaches Qt's GUI library (reports and albums paint, picture reads
// images into the store, statistics share code with their charts) or libzip (Tellico files),
// whose loading alone costs more than most verbs' whole work on a small collection. So
// tessellon-cli is built without them and hands these verbs to tessellon-cli-report (the same
// verbs with those libraries), which runs in its place
// with the same arguments and so prints and exits as the verb does. It is looked for beside
// tessellon-cli (a build) and in ../libexec/tessellon from it (an installed program).
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>

#include "cli/cli_picture_transfer.h"
#include "cli/cli_pictures.h"
#include "cli/cli_report.h"
#include "cli/cli_stats.h"
#include "cli/cli_tellico.h"

namespace cli {

namespace {

std::string ownFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    const std::string self(path, std::size_t(n));
    return self.substr(0, self.find_last_of('/'));
}

int runInGuiProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string folder = ownFolder();
    const std::string candidates[] = {folder + "/tessellon-cli-report",
                                      folder + "/../libexec/tessellon/tessellon-cli-report"};
    std::vector<std::string> argv{"tessellon-cli"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    out.flush();
    err.flush();
    int error = ENOENT;
    for (const std::string& program : candidates) {
        ::execv(program.c_str(), raw.data());
        if (errno != ENOENT) error = errno;
    }
    err << "Error: the report program cannot be started (" << candidates[1] << "): "
        << std::strerror(error) << "\n";
    return 2;
}

}  // namespace

int runReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runInGuiProgram(args, out, err);
}

int runAlbum(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runInGuiProgram(args, out, err);
}

int runPicture(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runInGuiProgram(args, out, err);
}

int runStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runInGuiProgram(args, out, err);
}

int importTellicoFile(const std::vector<std::string>& args, const QString&, const std::string&,
                      std::ostream& out, std::ostream& err) {
    return runInGuiProgram(args, out, err);
}

int exportTellicoFile(const std::vector<std::string>& args, const QString&, const QString&,
                      const interchange::ExportRequest&, const collection::SearchCriteria*,
                      std::ostream& out, std::ostream& err) {
    return runInGuiProgram(args, out, err);
}

// Imports and exports that carry pictures run in the GUI program.
std::unique_ptr<interchange::ExportPictures> exportPictures(const QString&, const QString&,
                                                            interchange::ExportKind) {
    return nullptr;
}

std::unique_ptr<interchange::ImportPictures> importPictures(const QString&, const QString&) {
    return nullptr;
}

int runWithPictures(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runInGuiProgram(args, out, err);
}

}  // namespace cli
