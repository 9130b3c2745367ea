#include "collection/sort_order.h"

#include <QFileInfo>
#include <exception>

#include "collection/collection_settings.h"
#include "collection/sort_expression.h"
#include "collection/table_maintenance.h"
#include "engine/table.h"

namespace collection {

namespace {

std::string tagFor(const QString& expression) {
    return expression.isEmpty() ? std::string() : kSortTagName.toStdString();
}

void tell(const SortOrderHooks& hooks, const QString& text) {
    if (hooks.tell) hooks.tell(QStringLiteral("Error"), text);
}

void reapply(const SortOrderHooks& hooks) {
    if (hooks.reapplyViewer) hooks.reapplyViewer();
}

// After a failed change: the old tag back where the table is still held exclusively (it was
// deleted before the new one failed), and the old levels back in the settings file.
void undoChange(engine::Table& table, const QString& oldExpression, bool written,
                const SortOrderHooks& hooks) {
    if (table.isOpen() && table.mode() == engine::OpenMode::Exclusive) {
        try {
            buildSortTag(table, oldExpression);
        } catch (const std::exception&) {
            // The table is still usable in record order; the tag is rebuilt at the next opening.
        }
    }
    if (written && hooks.writeSettings) hooks.writeSettings();
}

}  // namespace

void buildSortTag(engine::Table& table, const QString& expression) {
    table.selectIndex({});
    if (expression.isEmpty()) return;
    // Adding a tag of the same name replaces it, and the new index is moved
    // over the old one only when complete: the collection is never without one.
    const std::string tag = kSortTagName.toStdString();
    table.addIndexTag(tag, expression.toStdString());
    table.selectIndex(tag);
}

bool restoreSortTag(engine::Table& table, const QString& expression) {
    if (expression.isEmpty()) return false;
    for (const engine::TagInfo& tag : table.tags())
        if (QString::fromStdString(tag.name).compare(kSortTagName, Qt::CaseInsensitive) == 0)
            return false;
    buildSortTag(table, expression);
    return true;
}

SortLevels levelsLedBy(const SortLevels& levels, int field) {
    SortLevels led{field, 0, 0, 0};
    std::size_t next = 1;
    for (int level : levels)
        if (level != 0 && level != field && next < led.size()) led[next++] = level;
    return led;
}

SortOrderResult applySortOrder(engine::Table& table, const QString& path, SortLevels& levels,
                               const SortLevels& chosen, const SortOrderHooks& hooks) {
    const std::string selected = table.selectedIndex();
    table.close();
    if (DBaseInUse(path)) {
        reopenShared(table, path, selected);
        reapply(hooks);
        tell(hooks, kSortInUse);
        return SortOrderResult::InUse;
    }
    const SortLevels old = levels;
    bool written = false;
    try {
        table.open(QFileInfo(path).absoluteFilePath().toStdString(), engine::OpenMode::Exclusive);
        levels = chosen;
        const QString expression = BuildSortString(levels);
        buildSortTag(table, expression);
        if (hooks.writeSettings) hooks.writeSettings();
        written = true;
        reopenShared(table, path, tagFor(expression));
    } catch (const std::exception&) {
        levels = old;
        const QString oldExpression = BuildSortString(old);
        undoChange(table, oldExpression, written, hooks);
        reopenShared(table, path, tagFor(oldExpression));
        reapply(hooks);
        tell(hooks, kSortFailed);
        return SortOrderResult::Failed;
    }
    reapply(hooks);
    return SortOrderResult::Applied;
}

bool rebuildSortTagOnOpen(engine::Table& table, const QString& path, const QString& expression,
                          bool testInUse) {
    // A collection that cannot be written (opened in browse mode) keeps its tag as it is too.
    const bool inUse = (testInUse && DBaseInUse(path)) || collectionReadOnly(path);
    reopenShared(table, path, inUse ? tagFor(expression) : std::string());
    if (inUse) return false;
    buildSortTag(table, expression);
    return true;
}

void writeSortLevels(const QString& settingsPath, const SortLevels& levels) {
    CollectionSettings settings = readCollection(settingsPath);
    settings.sortLevels = levels;
    writeCollection(settingsPath, settings);
}

}  // namespace collection
