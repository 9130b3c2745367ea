#include "collection/collection_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "collection/stamp_schema.h"
#include "collection/stamp_table_defs.h"
#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/table.h"

namespace collection {

namespace {

QString inUseMessage(const QString& path) {
    return QStringLiteral("The table \"") + path +
           QStringLiteral("\" is currently in use by another program.") +
           QStringLiteral("  New table creation will be aborted.");
}

const QString kNotCreatedWith = QStringLiteral(
    "This DBase file was not created with Tessellon.  It cannot be opened.  You may, however, "
    "import data from this file using the import function.");

}  // namespace

bool MakeNewDB(const QString& path, const MessageSink& tell) {
    if (QFileInfo::exists(path) && DBaseInUse(path)) {
        if (tell) tell(QStringLiteral("Error"), inUseMessage(path));
        return false;
    }
    engine::Table::create(path.toStdString(), stampTableFieldDefs());
    return QFileInfo::exists(path);
}

void RemoveMDXByte(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) return;
    if (f.size() > 28 && f.seek(28)) f.write("\0", 1);
}

bool CheckDBaseFormat(const QString& path, const MessageSink& tell) {
    const QString full = QFileInfo(path).absoluteFilePath();
    const std::string mdx = engine::companionPath(full.toStdString(), ".MDX");
    if (!engine::fileExists(mdx)) RemoveMDXByte(full);
    bool ok = false;
    {
        engine::Table check;
        check.open(full.toStdString(), engine::OpenMode::Shared);
        const auto& fields = check.fields();
        ok = fields.size() == std::size_t(kFieldCount);
        for (std::size_t i = 0; ok && i < fields.size(); ++i)
            ok = schemaFieldNumber(fields[i].name) == int(i) + 1;
    }
    if (!ok && tell) tell(QStringLiteral("Error"), kNotCreatedWith);
    return ok;
}

bool DBaseInUse(const QString& path) {
    engine::Table check;
    try {
        check.open(QFileInfo(path).absoluteFilePath().toStdString(), engine::OpenMode::Exclusive);
    } catch (const engine::EngineError&) {
        return true;
    }
    return false;
}

}  // namespace collection
