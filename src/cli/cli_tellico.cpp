#include "cli/cli_tellico.h"

#include "cli/cli_interchange.h"
#include "collection/collection_paths.h"
#include "engine/table.h"
#include "interchange/export_run.h"
#include "interchange/import_run.h"
#include "interchange/store_pictures.h"
#include "interchange/tellico_run.h"

namespace cli {

int importTellicoFile(const std::vector<std::string>&, const QString& path,
                      const std::string& source, std::ostream& out, std::ostream& err) {
    interchange::TellicoSource tellico;
    try {
        tellico = interchange::readTellicoSource(source);
    } catch (const std::exception& e) {
        err << "Error: " << e.what() << "\n";
        return 2;
    }
    if (const QString refusal = interchange::tellicoTypeRefusal(tellico); !refusal.isEmpty()) {
        err << "Error: " << refusal.toStdString() << "\n";
        return 2;
    }
    for (const QString& line : tellico.plan) out << line.toStdString() << "\n";
    engine::Table table;
    table.open(path.toStdString(), engine::OpenMode::Shared);
    // Each entry's images become the new stamp's pictures.
    interchange::StoreImportPictures pictures(path, QString::fromStdString(source));
    interchange::ImportOptions options = importOptions();
    options.pictures = &pictures;
    return reportImport(interchange::importTellico(table, source, options), out, err);
}

int exportTellicoFile(const std::vector<std::string>&, const QString& path,
                      const QString& target, const interchange::ExportRequest& request,
                      const collection::SearchCriteria* criteria, std::ostream& out,
                      std::ostream& err) {
    engine::Table table;
    openForExport(table, path, criteria);
    return reportExport(interchange::exportTellico(table, target.toStdString(), request,
                                                   collection::collectionPaths(path).tableName),
                        target, out, err);
}

}  // namespace cli
