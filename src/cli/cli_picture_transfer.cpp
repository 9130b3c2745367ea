// The GUI program's side of cli_picture_transfer.h: the picture store itself.
#include "cli/cli_picture_transfer.h"

#include "interchange/store_pictures.h"

namespace cli {

std::unique_ptr<interchange::ExportPictures> exportPictures(const QString& table,
                                                            const QString& target,
                                                            interchange::ExportKind kind) {
    return std::make_unique<interchange::StoreExportPictures>(table, target, kind);
}

std::unique_ptr<interchange::ImportPictures> importPictures(const QString& table,
                                                            const QString& source) {
    return std::make_unique<interchange::StoreImportPictures>(table, source);
}

int runWithPictures(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    err << "Error: the pictures cannot be reached.\n";  // never: this program reaches them
    return 2;
}

}  // namespace cli
