// One open dBase table (.DBF) with its production index (.MDX).
//
// Contract:
//  - A Table object owns its file descriptors and mappings. Copying is not
//    allowed; open() and close() may be repeated on the same object.
//  - Shared opens hold a shared advisory lock (flock) on the .DBF; exclusive
//    opens need an exclusive lock and fail at once with EngineError while
//    anyone else, another process or another Table of this process, has the
//    table open. Both also take the POSIX (fcntl/lockf) lock that other dBase
//    programs use, so an exclusive open is refused while another program
//    holds such a lock on the table or its index, and such programs see ours.
//  - Text crosses this interface as UTF-8; inside the file it is in the
//    table's code page.
//  - Navigation visits the visible records: not deleted and accepted by the
//    filter, in the order of the selected tag (record order when none).
//  - post() writes the record, then the record count, then the index; a
//    process killed at any instant leaves a table that opens with every record
//    posted before and an index that agrees with it (a half-updated index is
//    noticed on open, left unused, and rebuilt by an exclusive open or before
//    the next change).
//  - An append run (beginAppendRun .. endAppendRun, for imports) posts new
//    records in slices of up to 50 ms: the write lock, the look for other
//    programs' changes and the index's stamp are taken once a slice rather
//    than once a record. Other writers wait at most one slice; a process
//    killed within one leaves every record posted and an index marked as
//    changing, handled as after any cut-short post. Any other change, and
//    close(), ends the slice first. The keys of a slice's records go into
//    the index together, in key order, when the slice ends.
//  - The production index is derived data: an index that is damaged, or was
//    left half-changed by a program that stopped, never keeps the table from
//    opening. Such an index is not used (record order, or the tag's order
//    worked out in memory) and indexNotice() says so; an exclusive open
//    rebuilds it at once when that loses no tag, and regenerateIndexes()
//    always rebuilds it from the tags it can build.
//  - An index another program wrote is used as it stands. Tags this engine
//    cannot keep up to date (an expression it cannot evaluate, numeric or
//    date keys, descending, unique or FOR tags) are never changed: posting a
//    record while one exists is refused with a message naming it.
//  - Every failure raises EngineError with a message fit for the user.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/codepage.h"
#include "engine/field.h"
#include "engine/mdx_file.h"

namespace engine {

// ReadOnly is a shared open that never writes to the table or its index.
enum class OpenMode { Shared, Exclusive, ReadOnly };
enum class EditState { Browse, Insert, Edit };

// What pack() did.
struct PackResult {
    std::uint32_t removed = 0;    // records marked deleted, dropped
    std::uint32_t kept = 0;       // records in the packed table
    std::uint32_t recovered = 0;  // of those, complete records the header did not count
    // newNumbers[old] is the new number of old record `old` (index 0 unused),
    // 0 for a record the pack removed; it covers every record examined.
    std::vector<std::uint32_t> newNumbers;
};

// Read-only view of one record's raw bytes. Valid until the table changes.
class RecordView {
public:
    RecordView(const char* data, const std::vector<FieldInfo>* fields, CodePage cp,
               std::uint32_t recno)
        : data_(data), fields_(fields), cp_(cp), recno_(recno) {}

    std::uint32_t recNo() const { return recno_; }
    bool deleted() const { return data_[0] == '*'; }
    const char* data() const { return data_; }
    CodePage codePage() const { return cp_; }
    // Field bytes as stored (code page, padded); `field` is 0-based.
    std::string_view raw(int field) const;
    // Field as UTF-8 text: C trimmed of trailing blanks, N/F trimmed of
    // leading blanks, D as YYYYMMDD or empty, L as "T"/"F"/"".
    std::string text(int field) const;
    // The same text written into `out` (its capacity is reused: no allocation
    // once it has grown), for loops over many records.
    void textInto(int field, std::string& out) const;
    std::optional<std::int64_t> integer(int field) const;  // nullopt when blank or not a number
    std::optional<double> number(int field) const;         // nullopt when blank or not a number
    Date date(int field) const;                            // blank when blank or invalid
    bool isBlank(int field) const;

private:
    const char* data_;
    const std::vector<FieldInfo>* fields_;
    CodePage cp_;
    std::uint32_t recno_;
};

// Returns true to accept the record.
using RecordFilter = std::function<bool(const RecordView&)>;

// One record added, changed or deleted through a Table: its stored bytes
// before (empty for a new record) and after. Valid during the call only.
struct RecordChange {
    std::uint32_t recno = 0;
    std::string_view before;
    std::string_view after;
};
using ChangeObserver = std::function<void(const RecordChange&)>;

class Table {
public:
    Table();
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Creates an empty table at `path`, replacing any file of that name (and
    // removing a stale .MDX of the same base name). Throws EngineError on bad
    // definitions or when the file is in use.
    static void create(const std::string& path, const std::vector<FieldDef>& fields,
                       CodePage cp = CodePage::Cp1252);

    void open(const std::string& path, OpenMode mode);
    void close();  // flushes; no-op when closed
    bool isOpen() const;
    const std::string& path() const;
    OpenMode mode() const;
    CodePage codePage() const;

    // Fields.
    const std::vector<FieldInfo>& fields() const;
    int fieldCount() const;
    int fieldIndex(std::string_view name) const;  // case-insensitive; -1 when absent

    // Records.
    std::uint32_t physicalCount() const;  // records in the file, deleted included
    std::uint32_t recordCount() const;    // visible records
    RecordView record(std::uint32_t recno) const;  // 1-based physical number
    // The visible record at 0-based position `ordinal` (for grids).
    RecordView visibleAt(std::uint32_t ordinal) const;

    // Cursor over the visible records.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const;  // moved past the last (or nothing visible)
    bool bof() const;  // moved before the first (or nothing visible)
    std::uint32_t recNo() const;     // current physical record, 0 when none
    std::uint32_t position() const;  // 0-based ordinal of the current record
    void moveTo(std::uint32_t ordinal);
    // Makes physical record `recno` current; returns false when it is not visible.
    bool goToRecord(std::uint32_t recno);
    void refresh();  // re-reads the file header and rebuilds the visible order

    // Field access on the current record (or the edit buffer while editing).
    RecordView current() const;
    std::string text(int field) const;
    std::optional<std::int64_t> integer(int field) const;
    std::optional<double> number(int field) const;
    Date date(int field) const;
    bool isBlank(int field) const;
    std::string text(std::string_view name) const { return text(requireField(name)); }

    // Editing. insert() and append() both add a record at the end of the file
    // when posted. Setters require Insert or Edit state.
    EditState state() const;
    void insert();
    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord();  // marks the current record deleted and moves to the next
    // Record `recno` as stored (deletion flag first, then the fields in the
    // code page), whether deleted or not; for undo and recall.
    std::string recordBytes(std::uint32_t recno) const;
    // Writes `bytes` (a whole stored record of this table) over record
    // `recno`, deletion flag included, and moves its keys. Refused while a
    // record is being edited. The cursor stays on its record when it can.
    void restoreRecord(std::uint32_t recno, std::string_view bytes);
    // Told of every record this object posts, deletes or restores once it is
    // written (not of other programs' changes); empty: nobody.
    void setChangeObserver(ChangeObserver observer);
    // An append run (see the contract above). endAppendRun() stamps the index
    // and lets the write lock go; close() does the same.
    void beginAppendRun();
    void endAppendRun();
    // An edit run (exclusive use only; a no-op otherwise), for changes of
    // many records such as search and replace: posted edits write their
    // records at once, while the index keys they change are removed and added
    // together, in key order, when the run ends (or before anything reads the
    // index). Meanwhile the index is marked as changing, so a process killed
    // within the run leaves an index that the next open rebuilds.
    void beginEditRun();
    void endEditRun();
    // C: cut at the width; N/F: must be a number. Text with characters the
    // table's code page cannot hold is refused with EngineError naming the
    // field and the characters; a caller that stores what it can (import)
    // turns stand-ins on to have '?' written for them, and is told so by the
    // result (true when the text held such a character, also past the width).
    bool setText(int field, std::string_view utf8);
    void setStandIns(bool on);
    void setInteger(int field, std::int64_t value);
    void setNumber(int field, double value);
    void setDate(int field, const Date& value);
    void setBlank(int field);
    bool setText(std::string_view name, std::string_view utf8) {
        return setText(requireField(name), utf8);
    }

    // Filter.
    void setFilter(RecordFilter filter);
    void clearFilter();

    // Index tags of the production index.
    std::vector<TagInfo> tags() const;
    void addIndexTag(const std::string& name, const std::string& expression);
    void deleteIndexTag(std::string_view name);
    void selectIndex(std::string_view name);  // empty: record order
    std::string selectedIndex() const;

    // What the user should be told about the index found at open() (damaged
    // or half-changed, and whether it was rebuilt); empty when nothing.
    const std::string& indexNotice() const;

    // Maintenance (exclusive use required).
    // Removes the records marked deleted and rebuilds the index. All or
    // nothing: the new table and index are built beside the old ones and
    // replace them only when both are complete (through a symbolic link, the
    // file it names is replaced). Records complete in the file past the
    // header's count are kept and counted in `recovered`.
    PackResult pack();
    // Rebuilds every tag this engine can build from its expression; returns
    // the tags it had to drop (see the contract above), which are gone.
    std::vector<TagInfo> regenerateIndexes();

    int requireField(std::string_view name) const;  // throws EngineError when absent

private:
    struct Impl;
    friend class WriteLock;
    friend class ExclusiveUse;
    std::unique_ptr<Impl> impl_;
};

}  // namespace engine
