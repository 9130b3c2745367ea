#include "editing/undo_history.h"

#include <functional>
#include <string_view>

namespace editing {
namespace {

std::size_t fingerprint(std::string_view bytes) {
    return std::hash<std::string_view>{}(bytes);
}

}  // namespace

UndoHistory::~UndoHistory() {
    detach();
}

void UndoHistory::attach(engine::Table* table) {
    detach();
    table_ = table;
    if (table_)
        table_->setChangeObserver([this](const engine::RecordChange& c) {
            record(c);
            if (listener_) listener_(c);
        });
}

void UndoHistory::detach() {
    if (table_) table_->setChangeObserver({});
    table_ = nullptr;
    clear();
}

void UndoHistory::clear() {
    steps_.clear();
    bytes_ = 0;
    gathering_ = false;
    overflowed_ = false;
    notify();
}

void UndoHistory::beginStep(const QString& name) {
    steps_.push_back(Step{name, {}, 0});
    gathering_ = true;
    overflowed_ = false;
}

void UndoHistory::endStep() {
    if (!gathering_) return;
    gathering_ = false;
    if (overflowed_) {
        clear();
        return;
    }
    if (steps_.back().changes.empty()) steps_.pop_back();  // the command changed nothing
    trim();
    notify();
}

QString UndoHistory::nextStepName() const {
    return steps_.empty() ? QString() : steps_.back().name;
}

QString UndoHistory::catalogOf(std::string_view bytes, std::uint32_t recno) const {
    const engine::RecordView view(bytes.data(), &table_->fields(), table_->codePage(), recno);
    const QString catalog = QString::fromStdString(view.text(0)).trimmed();
    return catalog.isEmpty() ? QStringLiteral("record %1").arg(recno) : catalog;
}

QString UndoHistory::describe(const engine::RecordChange& change) const {
    const QString stamp = catalogOf(change.after, change.recno);
    if (change.before.empty()) return QStringLiteral("Add of %1").arg(stamp);
    if (change.after[0] == '*' && change.before[0] != '*')
        return QStringLiteral("Delete of %1").arg(stamp);
    if (change.after[0] != '*' && change.before[0] == '*')
        return QStringLiteral("Recall of %1").arg(stamp);
    return QStringLiteral("Update of %1").arg(stamp);
}

void UndoHistory::record(const engine::RecordChange& change) {
    if (undoing_ || overflowed_) return;
    if (!gathering_) steps_.push_back(Step{describe(change), {}, 0});
    Step& step = steps_.back();
    step.changes.push_back(
        Change{change.recno, std::string(change.before), fingerprint(change.after)});
    const std::size_t size = change.before.size() + sizeof(Change);
    step.bytes += size;
    bytes_ += size;
    if (step.bytes > kMaxBytes) {
        // Too big to keep: stop recording; endStep (or now, for a lone change) clears all.
        if (gathering_) {
            overflowed_ = true;
            step.changes = {};
        } else {
            clear();
        }
        return;
    }
    if (!gathering_) {
        trim();
        notify();
    }
}

void UndoHistory::trim() {
    while (!steps_.empty() && (int(steps_.size()) > kMaxSteps || bytes_ > kMaxBytes)) {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
    }
}

QString UndoHistory::undo() {
    if (steps_.empty() || !table_ || gathering_) return {};
    Step step = std::move(steps_.back());
    steps_.pop_back();
    bytes_ -= step.bytes;
    notify();

    // Every record must still be as this program left it; otherwise nothing is touched.
    table_->refresh();
    for (const Change& c : step.changes) {
        if (c.recno > table_->physicalCount() ||
            fingerprint(table_->recordBytes(c.recno)) != c.afterPrint) {
            const QString stamp = c.recno > table_->physicalCount()
                                      ? QStringLiteral("record %1").arg(c.recno)
                                      : catalogOf(table_->recordBytes(c.recno), c.recno);
            return QStringLiteral(
                       "%1 has been changed by another program since, so \"%2\" "
                       "cannot be undone. It is taken off the list.")
                .arg(stamp, step.name);
        }
    }
    undoing_ = true;
    try {
        for (auto c = step.changes.rbegin(); c != step.changes.rend(); ++c) {
            if (c->before.empty()) {
                std::string deleted = table_->recordBytes(c->recno);
                deleted[0] = '*';
                table_->restoreRecord(c->recno, deleted);
            } else {
                table_->restoreRecord(c->recno, c->before);
            }
        }
    } catch (...) {
        undoing_ = false;
        throw;
    }
    undoing_ = false;
    return {};
}

}  // namespace editing
