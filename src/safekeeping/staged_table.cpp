#include "safekeeping/staged_table.h"

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "collection/sort_order.h"
#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/table.h"

namespace safekeeping {

namespace {

const QString kFolderPrefix = QStringLiteral(".tess-staged-");

QString indexOf(const QString& table) {
    return QString::fromStdString(engine::companionPath(table.toStdString(), ".MDX"));
}

bool renameOver(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) ==
           0;
}

// Folders of restores that never finished (a killed process) in `folder`.
void removeLeftovers(const QString& folder) {
    QDir dir(folder);
    const QStringList names =
        dir.entryList({kFolderPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : names) QDir(dir.filePath(name)).removeRecursively();
}

}  // namespace

bool setIndexFlag(const QString& table, bool on) {
    QFile f(table);
    if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) return false;
    const char flag = on ? 1 : 0;
    return f.size() > 28 && f.seek(28) && f.write(&flag, 1) == 1 && f.flush();
}

StagedTable::StagedTable(const QString& destination) : target_(resolvedTarget(destination)) {
    const QString folder = QFileInfo(target_).absolutePath();
    removeLeftovers(folder);
    folder_ = std::make_unique<QTemporaryDir>(folder + u'/' + kFolderPrefix + QStringLiteral("XXXXXX"));
    if (folder_->isValid()) staged_ = folder_->filePath(QFileInfo(target_).fileName());
}

StagedTable::~StagedTable() = default;

CopyOutcome StagedTable::copyFrom(const QString& source) {
    if (staged_.isEmpty()) return CopyOutcome::DestinationUnwritable;
    const CopyOutcome outcome = copyFileSafely(source, staged_);
    // A backup made with its index carries the flag; its index is made here.
    if (outcome == CopyOutcome::Copied && !setIndexFlag(staged_, false))
        return CopyOutcome::WriteFailed;
    return outcome;
}

void StagedTable::buildIndex(const QString& sortExpression) {
    if (sortExpression.isEmpty()) return;
    engine::Table table;
    table.open(staged_.toStdString(), engine::OpenMode::Exclusive);
    collection::buildSortTag(table, sortExpression);
    table.close();
}

bool StagedTable::putInPlace() {
    const QString stagedIndex = indexOf(staged_);
    const QString targetIndex = indexOf(target_);
    const bool indexed = QFileInfo::exists(stagedIndex);
    // The table goes first, without its flag: the old index beside it is no longer its own.
    if (indexed && !setIndexFlag(staged_, false)) return false;
    if (!renameOver(staged_, target_)) return false;
    // From here on the new table is in place. Should its index not follow, the table keeps its
    // flag cleared and the next open builds the index afresh.
    if (indexed && renameOver(stagedIndex, targetIndex))
        setIndexFlag(target_, true);
    else
        QFile::remove(targetIndex);
    folder_.reset();  // the emptied hidden folder goes at once
    return true;
}

void addRecordsAllOrNothing(const QString& table, const QString& sortExpression,
                            const std::function<void(engine::Table&)>& fill) {
    StagedTable staged(table);
    const CopyOutcome copy = staged.copyFrom(table);
    if (copy == CopyOutcome::NoRoom)
        throw engine::EngineError("There is not enough room beside \"" + table.toStdString() +
                                  "\" for a working copy of the collection.");
    if (copy != CopyOutcome::Copied)
        throw engine::EngineError("A working copy of \"" + table.toStdString() +
                                  "\" could not be made beside it.");
    {
        engine::Table target;
        target.open(staged.path().toStdString(), engine::OpenMode::Exclusive);
        fill(target);
        target.close();
    }
    staged.buildIndex(sortExpression);
    if (!staged.putInPlace())
        throw engine::EngineError("The collection \"" + table.toStdString() +
                                  "\" could not be replaced by its completed copy.");
}

}  // namespace safekeeping
