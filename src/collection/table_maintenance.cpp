#include "collection/table_maintenance.h"

#include <QFileInfo>
#include <exception>

#include "collection/sort_order.h"
#include "engine/table.h"

namespace collection {

namespace {

std::string absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath().toStdString();
}

bool hasTag(const engine::Table& table, const std::string& tag) {
    for (const engine::TagInfo& info : table.tags())
        if (QString::fromStdString(info.name).compare(QString::fromStdString(tag),
                                                      Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Runs `operation` on the table opened exclusively, then re-opens it shared with its selection.
MaintenanceResult runExclusive(engine::Table& table, const QString& path,
                               const std::function<void(engine::Table&)>& operation,
                               const QString& failure, const ReopenHooks& hooks) {
    const std::string tag = table.selectedIndex();
    bool ok = true;
    try {
        table.close();
        table.open(absolute(path), engine::OpenMode::Exclusive);
        operation(table);
        reopenShared(table, path, tag);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok) reopenShared(table, path, tag);
    if (hooks.reapplyViewer) hooks.reapplyViewer();
    if (!ok && hooks.tell) hooks.tell(QStringLiteral("Error"), failure);
    return ok ? MaintenanceResult::Done : MaintenanceResult::Failed;
}

}  // namespace

void reopenShared(engine::Table& table, const QString& path, const std::string& tag) {
    table.close();
    table.open(absolute(path), engine::OpenMode::Shared);
    if (!tag.empty() && hasTag(table, tag)) table.selectIndex(tag);
}

QString packRecoveredMessage(std::uint32_t recovered) {
    return QStringLiteral("Kept %1 complete records past the record count in the table's header.")
        .arg(recovered);
}

MaintenanceResult packCollection(engine::Table& table, const QString& path,
                                 const ReopenHooks& hooks, const PackCarry& carry) {
    std::uint32_t recovered = 0;
    const MaintenanceResult result = runExclusive(
        table, path,
        [&recovered, &carry](engine::Table& t) {
            const engine::PackResult packed = t.pack();
            recovered = packed.recovered;
            if (carry) carry(packed.newNumbers);
        },
        kPackFailed, hooks);
    if (result == MaintenanceResult::Done && recovered && hooks.tell)
        hooks.tell(QStringLiteral("Notice"), packRecoveredMessage(recovered));
    return result;
}

MaintenanceResult packCollection(engine::Table& table, const QString& path,
                                 const ReopenHooks& hooks) {
    return packCollection(table, path, hooks, PackCarry());
}

MaintenanceResult rebuildCollectionIndexes(engine::Table& table, const QString& path,
                                           const ReopenHooks& hooks,
                                           const QString& sortExpression) {
    return runExclusive(
        table, path,
        [&sortExpression](engine::Table& t) {
            t.regenerateIndexes();
            restoreSortTag(t, sortExpression);
        },
        kReindexFailed, hooks);
}

MaintenanceResult rebuildCollectionIndexes(engine::Table& table, const QString& path,
                                           const ReopenHooks& hooks) {
    return rebuildCollectionIndexes(table, path, hooks, QString());
}

}  // namespace collection
