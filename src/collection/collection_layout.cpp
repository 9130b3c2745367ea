#include "collection/collection_layout.h"

#include <QFileInfo>

#include "collection/stamp_schema.h"
#include "engine/table_probe.h"

namespace collection {

namespace {

const QString kNotCreatedWith = QStringLiteral(
    "This DBase file was not created with Tessellon.  It cannot be opened.  You may, however, "
    "import data from this file using the import function.");

}  // namespace

bool checkCollectionLayout(const QString& path, const MessageSink& tell) {
    const engine::DbfLayout layout =
        engine::readTableLayout(QFileInfo(path).absoluteFilePath().toStdString());
    bool ok = layout.fields.size() == std::size_t(kFieldCount);
    for (std::size_t i = 0; ok && i < layout.fields.size(); ++i)
        ok = schemaFieldNumber(layout.fields[i].name) == int(i) + 1;
    if (!ok && tell) tell(QStringLiteral("Error"), kNotCreatedWith);
    return ok;
}

}  // namespace collection
