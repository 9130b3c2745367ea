// The session's undo history of one stamp table: every record the table adds, changes or
// deletes is recorded as it is written, and taken back one step at a time, newest first.
//
// A step is one change (named after what happened to which stamp: "Update of AU-0003", "Add
// of AU-0003", "Delete of AU-0003") or, between beginStep and endStep, every change of one
// command (a search and replace, an import) under the command's name. Up to kMaxSteps steps
// are kept; older ones fall off. A step keeps the bytes each record had before (nothing for an
// added record) and a fingerprint of the bytes it had after, so undo can see whether anyone
// changed the record since: such a step is refused whole, told, and dropped, since it can never
// be taken back. Undo of an add marks the record deleted (Recall can bring it back).
//
// The record numbers of a step hold until the table is packed, restored from a backup or
// another collection is opened: the window clears the history then. Memory is bounded: the
// stored bytes of all steps stay under kMaxBytes; a command that changes more clears the
// history (it cannot be undone, nor can what came before it).
//
// Ownership: attach() installs the table's change observer; the history must outlive that
// attachment (detach() or destruction removes it).
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/table.h"

namespace editing {

class UndoHistory {
  public:
    static constexpr int kMaxSteps = 50;
    static constexpr std::size_t kMaxBytes = std::size_t(256) << 20;

    UndoHistory() = default;
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    void attach(engine::Table* table);
    // Called whenever the list of steps changes (to keep the Undo command's caption).
    void setChangedCallback(std::function<void()> callback) { changed_ = std::move(callback); }
    // Also told of every change the table reports (undo's own included), after it is recorded:
    // the table has one observer, and the history is it.
    void setChangeListener(std::function<void(const engine::RecordChange&)> listener) {
        listener_ = std::move(listener);
    }
    void detach();
    void clear();

    // Gathers every change until endStep into one step called `name` ("Search and Replace").
    void beginStep(const QString& name);
    void endStep();

    bool canUndo() const { return !steps_.empty(); }
    int stepCount() const { return int(steps_.size()); }
    // What the next undo takes back, e.g. "Delete of AU-0003"; empty when nothing.
    QString nextStepName() const;

    // Takes back the newest step. Returns an empty text when done, otherwise the reason it was
    // refused (the step is then dropped). Engine failures propagate.
    QString undo();

  private:
    struct Change {
        std::uint32_t recno = 0;
        std::string before;  // empty: the record was added
        std::size_t afterPrint = 0;
    };
    struct Step {
        QString name;
        std::vector<Change> changes;
        std::size_t bytes = 0;
    };

    void record(const engine::RecordChange& change);
    QString describe(const engine::RecordChange& change) const;
    QString catalogOf(std::string_view bytes, std::uint32_t recno) const;
    void trim();
    void notify() const {
        if (changed_) changed_();
    }

    engine::Table* table_ = nullptr;
    std::deque<Step> steps_;
    std::size_t bytes_ = 0;
    bool gathering_ = false;
    bool overflowed_ = false;  // the gathered step grew past kMaxBytes
    bool undoing_ = false;
    std::function<void()> changed_;
    std::function<void(const engine::RecordChange&)> listener_;
};

// Gathers the changes of one command into one step for the life of the scope.
class UndoStepScope {
  public:
    UndoStepScope(UndoHistory& history, const QString& name) : history_(history) {
        history_.beginStep(name);
    }
    ~UndoStepScope() { history_.endStep(); }
    UndoStepScope(const UndoStepScope&) = delete;
    UndoStepScope& operator=(const UndoStepScope&) = delete;

  private:
    UndoHistory& history_;
};

}  // namespace editing
