// Search and replace over a whole collection: one field of every record whose value equals a
// search value is set to a replacement value. No widgets: the window (TSearchAndReplace) and the
// command-line tool run the same code.
//
// Field classes follow the field's type: text fields compare their text without regard to case
// (trailing blanks ignored) and take the replacement as text; numeric fields compare their value
// exactly with the search number and take the replacement text, which the field converts; the
// date field compares dates and takes the replacement date.
//
// `SearchAndReplaceRun::run`, on the stamp table its caller keeps open:
//   1. closes the table; when another program holds the file it re-opens it shared as it was,
//      re-applies the view, tells the in-use message and stops (nothing changed);
//   2. opens the table exclusively and clears the index selection, so records are visited in
//      physical order and cannot move under the scan;
//   3. suspends a running search so every record is visited;
//   4. visits every record not marked deleted in an edit run of the table; on a match asks
//      `confirm` (when given) and changes the record (edit, set, post) on Yes; the counters
//      follow each record; when the run ends the changed records' keys are replaced in the
//      index (the tag "NewIndex" is never dropped, so a process killed on the way leaves it,
//      marked to be rebuilt at the next opening);
//   5. resumes the search, builds "NewIndex" on the sort expression when the tag is missing or
//      on another expression (beside the old index, moved over it when complete), selects it
//      (record order when the expression is empty), and re-opens the table shared.
// A failure during steps 2-4 stops the scan: an edit in progress is cancelled (no record is ever
// half-changed), the records changed before stay changed, steps 5 still run (the index is
// rebuilt over the table as it now is), and the failure message, saying how many records were
// changed, is told. On every path the table ends open shared and `reapplyViewer` has run before
// any message is told. Only a failure of the final shared re-open itself escapes, as
// engine::EngineError.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "collection/collection_file.h"
#include "engine/field.h"

namespace collection {
class DateFormat;
}
namespace engine {
class Table;
}

namespace editing {

enum class FieldClass { Text, Numeric, Date };
FieldClass fieldClassOf(int fieldNumber);
// The edit mask of the entry boxes for a field's class: none for text, "99/99/0000;1" for the
// date, "ccccccccc;1" for numbers.
QString replaceEditMask(FieldClass fieldClass);

inline const QString kNoFieldSelected = QStringLiteral("No field has been selected.");
inline const QString kBadSearchValue =
    QStringLiteral("Invalid search value entered.  Please correct.");
inline const QString kBadReplaceValue =
    QStringLiteral("Invalid replacement value entered.  Please correct.");
inline const QString kBadSearchDate =
    QStringLiteral("Invalid search date entered.  Please correct.");
inline const QString kBadReplaceDate =
    QStringLiteral("Invalid replacement date entered.  Please correct.");
inline const QString kReplaceInUse = QStringLiteral(
    "Search and Replace requires exclusive use of the DBase File.  Make sure that the DBase File "
    "is not in use by another program  or that no other users are running the software or that "
    "no other copies of the software are in use.");
inline const QString kReplaceFailed =
    QStringLiteral("Error in running search and replace.  Search and replace will be aborted.");
inline const QString kReplaceComplete = QStringLiteral("Global Search and Replace Complete.");

// The failure message with the number of records changed before the failure.
QString replaceFailedMessage(int changed);

struct ReplaceRequest {
    int field = 0;  // 1..25; 0 when none is chosen
    QString searchText;
    QString replaceText;
};

enum class ReplaceEntry { FieldList, Search, Replace };

struct ReplaceRefusal {
    QString message;
    ReplaceEntry focus;
};

// The checks in their order (field chosen; numbers; dates in `dates`); nothing when the request
// may run. Texts are taken with blanks removed from both ends.
std::optional<ReplaceRefusal> validateReplace(const ReplaceRequest& request,
                                              const collection::DateFormat& dates);

struct ReplaceCounters {
    int processed = 0;
    int found = 0;
    int changed = 0;
    bool operator==(const ReplaceCounters&) const = default;
};

struct ReplaceHooks {
    // Asked for each match with the record's Catalog text; unset: every match is changed.
    std::function<bool(const QString& catalog)> confirm;
    std::function<void(const ReplaceCounters&)> progress;  // after each record
    std::function<void()> reapplyViewer;                   // after each re-open
    // Ends a running search for the run; true when one was running (then `resumeSearch` follows).
    std::function<bool()> suspendSearch;
    std::function<void()> resumeSearch;
    collection::MessageSink tell;  // in-use and failure messages, titled "Error"
};

enum class ReplaceResult { Done, InUse, Failed };

class SearchAndReplaceRun {
  public:
    // `collectionPath` is the table's .DBF; `sortExpression` the expression "NewIndex" is
    // rebuilt on (empty: record order). `dates` reads a date request.
    SearchAndReplaceRun(engine::Table& table, QString collectionPath, QString sortExpression,
                        const collection::DateFormat& dates, ReplaceHooks hooks = {});

    // Runs a request that passed validateReplace().
    ReplaceResult run(const ReplaceRequest& request);
    const ReplaceCounters& counters() const { return counters_; }

  private:
    void scan(const ReplaceRequest& request);
    void reapply();

    engine::Table& table_;
    QString path_;
    QString sortExpression_;
    const collection::DateFormat& dates_;
    ReplaceHooks hooks_;
    ReplaceCounters counters_;
};

}  // namespace editing
