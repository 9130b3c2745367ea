// The picture store for the companion's import and export runs. Only the GUI program
// (tessellon-cli-report) reaches it, as the store reads images through Qt's GUI library:
// there these give the store's pictures; in tessellon-cli, built without that library, they give
// none, and a run that carries pictures is handed whole to the GUI program
// (runWithPictures: it starts in this process's place with the same arguments).
#pragma once

#include <QString>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "interchange/export_run.h"
#include "interchange/picture_transfer.h"

namespace cli {

std::unique_ptr<interchange::ExportPictures> exportPictures(const QString& table,
                                                            const QString& target,
                                                            interchange::ExportKind kind);
std::unique_ptr<interchange::ImportPictures> importPictures(const QString& table,
                                                            const QString& source);
int runWithPictures(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
