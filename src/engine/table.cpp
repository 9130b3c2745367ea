#include "engine/regular_file.h"
#include "engine/table.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/field_codec.h"
#include "engine/posix_locks.h"
#include "engine/table_impl.h"

namespace engine {

namespace {


bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

Table::Table() : impl_(std::make_unique<Impl>()) {}
Table::~Table() {
    try {
        close();
    } catch (...) {
    }
}

void Table::create(const std::string& path, const std::vector<FieldDef>& fields, CodePage cp) {
    validateFieldDefs(fields);
    int fd = openRegularFile(path, O_RDWR | O_CREAT);
    if (fd < 0)
        throw EngineError("Cannot create the table \"" + path + "\": " + std::strerror(errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !takePosixLock(fd, true, true)) {
        ::close(fd);
        throw EngineError("The table \"" + path + "\" is in use by another program.");
    }
    int y, m, d;
    todayDate(y, m, d);
    std::string bytes = buildDbfHeader(fields, languageDriverFor(cp), y, m, d);
    bytes.push_back(0x1A);
    bool ok = ::ftruncate(fd, 0) == 0 &&
              ::pwrite(fd, bytes.data(), bytes.size(), 0) == ssize_t(bytes.size());
    std::string why = std::strerror(errno);
    // A stale index of an earlier table of that name would not match the new one.
    std::string mdx = companionPath(path, ".MDX");
    if (ok && fileExists(mdx)) ::unlink(mdx.c_str());
    ::close(fd);
    if (!ok) throw EngineError("Cannot write the table \"" + path + "\": " + why);
}

void Table::open(const std::string& path, OpenMode mode) {
    close();
    Impl& t = *impl_;
    t.dbf.open(path, mode == OpenMode::Exclusive, mode == OpenMode::ReadOnly);
    t.mode = mode;
    t.stampPending = false;
    t.damageRechecked = false;
    t.path = path;
    try {
        if (mode == OpenMode::Exclusive) {
            // A program may lock the index rather than the table.
            if (othersHoldPosixLocks(companionPath(path, ".MDX")))
                throw EngineError("The table \"" + path + "\" is in use by another program.");
            if (t.dbf.writable()) removePackLeftovers(path);
            t.dbf.trimToExactSize();
        }
        t.openIndex();
    } catch (...) {
        t.mdx.reset();
        t.dbf.close();
        throw;
    }
    t.invalidateOrder();
    t.cur = 0;
    t.eof = t.bof = true;
    // The cursor goes to the first record when it is first used, so an open
    // costs nothing in proportion to the table (counting or reading rows by
    // ordinal never needs the cursor).
    t.atStart = true;
}

void Table::close() {
    Impl& t = *impl_;
    if (!t.dbf.isOpen()) return;
    t.appendRun = false;
    try {
        t.closeSlice();
        t.finishEditRun();
    } catch (const EngineError&) {
        // The index keeps its mark and is rebuilt from the records when the
        // table is next opened; closing goes on.
        t.discardPendingKeys();
        t.editRun = t.editRunUnstamped = false;
    }
    t.state = EditState::Browse;
    t.buffer.clear();
    if (t.mode == OpenMode::Exclusive) {
        t.dbf.trimToExactSize();
        // Changes made with exclusive use mark the index as current only here.
        if (t.stampPending) t.touchIndex();
    }
    if (t.mdx && t.dbf.writable() && !t.dbf.exclusive()) {
        // Closing the index cuts its file to the pages in use, which must not
        // happen while another program sharing the table is growing it.
        try {
            WriteLock lock(t);
            t.mdx.reset();
        } catch (const EngineError&) {
        }
    }
    t.mdx.reset();
    t.exprs.clear();
    t.dbf.close();
    t.order.clear();
    t.order.shrink_to_fit();
    t.deletedCount = kUnknownCount;
    t.invalidateOrder();
    t.selectedTag = -1;
    t.selectedName.clear();
    t.cur = 0;
    t.eof = t.bof = true;
}

bool Table::isOpen() const { return impl_->dbf.isOpen(); }
const std::string& Table::path() const { return impl_->path; }
OpenMode Table::mode() const { return impl_->mode; }
CodePage Table::codePage() const { return impl_->dbf.layout().codePage; }
const std::vector<FieldInfo>& Table::fields() const { return impl_->dbf.layout().fields; }
int Table::fieldCount() const { return int(fields().size()); }

int Table::fieldIndex(std::string_view name) const {
    const auto& f = fields();
    for (std::size_t i = 0; i < f.size(); ++i)
        if (sameNoCase(f[i].name, name)) return int(i);
    return -1;
}

int Table::requireField(std::string_view name) const {
    int i = fieldIndex(name);
    if (i < 0) throw EngineError("The table has no field named " + std::string(name) + ".");
    return i;
}

std::uint32_t Table::physicalCount() const { return impl_->dbf.count(); }

RecordView Table::record(std::uint32_t recno) const {
    impl_->requireOpen();
    if (recno < 1 || recno > impl_->dbf.count())
        throw EngineError("Record " + std::to_string(recno) + " does not exist.");
    return RecordView(impl_->dbf.record(recno), &fields(), codePage(), recno);
}

bool Table::Impl::accepted(std::uint32_t recno) const {
    const char* rec = dbf.record(recno);
    if (rec[0] == '*') return false;
    if (!filter) return true;
    return filter(RecordView(rec, &dbf.layout().fields, dbf.layout().codePage, recno));
}

bool Table::Impl::lazyRowsPossible() const {
    return !filter && deletedCount == 0 && indexTrusted;
}

void Table::Impl::ensureOrder() {
    if (orderValid) return;
    if (selectedTag >= 0) applyPendingKeys();
    order.clear();
    walk = OrderCursor{};
    const std::uint32_t n = dbf.count();
    lazyRows = lazyRowsPossible();
    if (lazyRows) {
        // Nothing deleted, nothing filtered: the visible rows are the tag's
        // order (or record order) as it stands, read from the index only as
        // far as rows are asked for.
        if (selectedTag >= 0) {
            mdx->beginOrder(selectedTag, walk);
            walkSeen.assign(std::size_t(n) + 1, false);
        }
        walkDone = selectedTag < 0;
    } else {
        // Every record is tested in file order, where the reads are sequential; the tag's
        // order, which visits the records by key, then only looks the answers up.
        dbf.prepareScan();
        std::vector<char> visible(std::size_t(n) + 1, 0);
        std::uint32_t deleted = 0;
        const std::uint32_t len = dbf.layout().recordLength;
        constexpr std::uint32_t kAhead = 16;
        for (std::uint32_t r = 1; r <= n; ++r) {
            if (r + kAhead <= n) {
                const char* ahead = dbf.record(r + kAhead);
                for (std::uint32_t off = 0; off < len; off += 64) __builtin_prefetch(ahead + off);
            }
            if (dbf.record(r)[0] == '*')
                ++deleted;
            else
                visible[r] = accepted(r) ? 1 : 0;
        }
        if (selectedTag >= 0) {
            collectTagOrder(order);
            order.erase(std::remove_if(order.begin(), order.end(),
                                       [&visible, n](std::uint32_t r) {
                                           return r == 0 || r > n || !visible[r];
                                       }),
                        order.end());
        } else {
            order.reserve(n);
            for (std::uint32_t r = 1; r <= n; ++r)
                if (visible[r]) order.push_back(r);
        }
        deletedCount = deleted;
        walkDone = true;
    }
    orderValid = true;
    pos = -1;
    curGone = false;
    if (cur != 0) pos = rowOf(cur);
    if (pos < 0 && !moveCursor([] { return std::int64_t(0); })) {
        cur = 0;
        eof = bof = true;
    }
}

// The rows no longer match the file: another program deleted records since
// they were built, or the lazy view (the index's order, its deleted count) was
// wrong. Builds them again and finds the cursor's place in the new rows; when
// its own record is gone the cursor stands where it was, so that next() goes
// on to the record that followed it.
void Table::Impl::rebuildRows() {
    const std::uint32_t keep = cur;
    const std::int64_t oldPos = pos;
    std::int64_t vanishedBefore = 0;
    for (std::int64_t i = 0; keep != 0 && i < oldPos; ++i) {
        std::uint32_t r = 0;
        if (lazyRows && selectedTag < 0)
            r = std::uint32_t(i + 1);
        else if (std::size_t(i) < order.size())
            r = order[std::size_t(i)];
        if (r == 0 || r > dbf.count() || !accepted(r)) ++vanishedBefore;
    }
    deletedCount = kUnknownCount;
    lazyRows = false;
    orderValid = false;
    cur = 0;
    ensureOrder();
    ++generation;
    if (keep == 0 || oldPos < 0) return;
    const std::int64_t at = rowOf(keep);
    cur = keep;
    if (at >= 0) {
        pos = at;
    } else {
        pos = oldPos - vanishedBefore;
        curGone = true;
    }
}

bool Table::Impl::moveCursor(const std::function<std::int64_t()>& target) {
    for (;;) {
        const std::int64_t rows = rowCount();  // first: it places the cursor in new rows
        const std::int64_t i = target();
        if (i < 0 || i >= rows) return false;
        const std::uint64_t before = generation;
        const std::uint32_t recno = rowAt(std::uint32_t(i));
        if (before != generation) continue;  // rebuilt: the target moved with the rows
        cur = recno;
        pos = i;
        curGone = false;
        return true;
    }
}

void Table::Impl::extendRows(std::size_t wanted) {
    while (order.size() < wanted && !walkDone) {
        const std::size_t from = order.size();
        try {
            walkDone =
                !mdx->continueOrder(walk, order, std::max<std::size_t>(wanted - order.size(), 512));
        } catch (const EngineError&) {
            // A damaged page deep in the tree: the order is worked out without the index.
            indexTrusted = false;
            return rebuildRows();
        }
        // Each record once: a damaged tag can name one twice (and so miss another).
        for (std::size_t i = from; i < order.size(); ++i) {
            const std::uint32_t r = order[i];
            if (r == 0 || r >= walkSeen.size() || walkSeen[r]) return rebuildRows();
            walkSeen[r] = true;
        }
        if (walkDone && order.size() != dbf.count()) return rebuildRows();
    }
}

std::uint32_t Table::Impl::rowCount() {
    ensureOrder();
    return lazyRows ? dbf.count() : std::uint32_t(order.size());
}

std::uint32_t Table::Impl::fullRowAt(std::uint32_t i) const {
    if (i >= order.size())
        throw EngineError("Row " + std::to_string(i + 1) + " does not exist.");
    return order[i];
}

std::uint32_t Table::Impl::rowAt(std::uint32_t i) {
    ensureOrder();
    std::uint32_t recno = 0;
    if (!lazyRows) {
        recno = fullRowAt(i);
    } else if (selectedTag < 0) {
        recno = i + 1;
    } else {
        extendRows(std::size_t(i) + 1);
        if (!lazyRows) return rowAt(i);
        // Past the end: the tag holds fewer keys than the table has records.
        if (i < order.size()) recno = order[i];
    }
    // A record deleted since the rows were built (by another program, or
    // behind an index stamp that did not count it), or an index naming a
    // record that does not exist: build the rows again.
    if (recno == 0 || recno > dbf.count() || dbf.record(recno)[0] == '*') {
        rebuildRows();
        return i < order.size() ? order[i] : 0;
    }
    return recno;
}

std::int64_t Table::Impl::rowOf(std::uint32_t recno) {
    ensureOrder();
    if (lazyRows && selectedTag < 0)
        return recno >= 1 && recno <= dbf.count() ? std::int64_t(recno) - 1 : -1;
    std::size_t from = 0;
    for (;;) {
        auto it = std::find(order.begin() + std::ptrdiff_t(from), order.end(), recno);
        if (it != order.end()) return it - order.begin();
        if (!lazyRows || walkDone) return -1;
        from = order.size();
        extendRows(order.size() + 4096);
        if (!lazyRows) return rowOf(recno);
    }
}

// Catches up with what other programs sharing the table changed since we last
// looked: the record count and the index pages (an index mapped earlier may
// know neither the other program's new pages nor the file's current size).
// Writers call this holding the write lock, with `forWrite`.
void Table::Impl::syncWithDisk(bool forWrite) {
    if (dbf.reloadCount()) invalidateOrder();
    // An index that looked damaged at a shared open may have been caught in
    // the middle of another program's change: under the write lock nobody is
    // changing it, so the first look then is the one that counts.
    if (!mdx && indexDamaged && !damageRechecked && dbf.writable() && !dbf.exclusive()) {
        damageRechecked = true;
        openIndex();
        if (mdx) mdxSizeSeen = indexFileSize();
        invalidateOrder();
    }
    if (mdx && !dbf.exclusive() &&
        (indexFileSize() != mdxSizeSeen || mdx->interrupted(dbf.count()))) {
        reloadIndex(forWrite);
        invalidateOrder();
    }
}

std::uint32_t Table::recordCount() const {
    Impl& t = *impl_;
    if (!t.dbf.isOpen()) return 0;
    if (t.orderValid) return t.rowCount();
    if (t.lazyRowsPossible()) return t.dbf.count();
    // Counting needs no order: one pass over the records in file order.
    t.dbf.prepareScan();
    std::uint32_t count = 0, deleted = 0;
    const std::uint32_t n = t.dbf.count();
    const std::uint32_t len = t.dbf.layout().recordLength;
    constexpr std::uint32_t kAhead = 16;
    for (std::uint32_t r = 1; r <= n; ++r) {
        // The filter may read any field: have the whole record on its way
        // a few records ahead.
        if (r + kAhead <= n) {
            const char* ahead = t.dbf.record(r + kAhead);
            for (std::uint32_t off = 0; off < len; off += 64) __builtin_prefetch(ahead + off);
        }
        if (t.dbf.record(r)[0] == '*')
            ++deleted;
        else if (t.accepted(r))
            ++count;
    }
    t.deletedCount = deleted;
    return count;
}

RecordView Table::visibleAt(std::uint32_t ordinal) const {
    Impl& t = *impl_;
    t.requireOpen();
    for (;;) {
        if (ordinal >= t.rowCount())
            throw EngineError("Row " + std::to_string(ordinal + 1) + " does not exist.");
        const std::uint64_t before = t.generation;
        const std::uint32_t recno = t.rowAt(ordinal);
        if (before == t.generation) return record(recno);
    }
}

void Table::first() {
    Impl& t = *impl_;
    t.requireOpen();
    t.atStart = false;
    if (t.state != EditState::Browse) post();
    t.placeFirst();
}

void Table::last() {
    Impl& t = *impl_;
    t.requireOpen();
    t.atStart = false;
    if (t.state != EditState::Browse) post();
    if (!t.moveCursor([&t] { return std::int64_t(t.rowCount()) - 1; })) {
        t.cur = 0;
        t.pos = -1;
        t.eof = t.bof = true;
        return;
    }
    t.eof = true;
    t.bof = false;
}

void Table::next() {
    Impl& t = *impl_;
    t.requireOpen();
    t.settle();
    if (t.state != EditState::Browse) post();
    if (t.moveCursor([&t] { return t.curGone ? t.pos : t.pos + 1; })) {
        t.prefetchAhead();
        t.bof = false;
        t.eof = false;
    } else {
        t.eof = true;
        if (t.rowCount() == 0) t.bof = true;
    }
}

void Table::prior() {
    Impl& t = *impl_;
    t.requireOpen();
    t.settle();
    if (t.state != EditState::Browse) post();
    if (t.moveCursor([&t] { return t.pos - 1; })) {
        t.eof = false;
        t.bof = false;
    } else {
        t.bof = true;
        if (t.rowCount() == 0) t.eof = true;
    }
}

void Table::Impl::prefetchAhead() {
    // In tag order the next records are scattered through the file: ask for
    // one a few steps ahead so its bytes arrive while this one is read.
    constexpr std::int64_t kAhead = 10;
    constexpr std::int64_t kWalkingThreshold = 2048;
    const std::int64_t ahead = pos + kAhead;
    std::uint32_t recno = 0;
    if (lazyRows && selectedTag < 0)
        recno = std::uint32_t(ahead + 1);
    else if (ahead < std::int64_t(order.size()))
        recno = order[std::size_t(ahead)];
    if (recno == 0 || recno > dbf.count()) return;
    // A prefetch of a page not yet mapped is dropped: once the cursor is
    // clearly walking the whole table, map all record pages in one call.
    if (pos == kWalkingThreshold) dbf.prepareScan();
    const char* rec = dbf.record(recno);
    const std::uint32_t len = dbf.layout().recordLength;
    for (std::uint32_t off = 0; off < len; off += 64) __builtin_prefetch(rec + off);
}

void Table::Impl::placeFirst() {
    if (moveCursor([] { return std::int64_t(0); })) {
        bof = true;
        eof = false;
    } else {
        cur = 0;
        pos = -1;
        eof = bof = true;
    }
}

void Table::Impl::settle() {
    if (!atStart) return;
    atStart = false;
    placeFirst();
}

bool Table::eof() const {
    impl_->settle();
    return impl_->eof;
}
bool Table::bof() const {
    impl_->settle();
    return impl_->bof;
}
std::uint32_t Table::recNo() const {
    impl_->settle();
    return impl_->state == EditState::Insert ? 0 : impl_->cur;
}

std::uint32_t Table::position() const {
    Impl& t = *impl_;
    t.settle();
    t.ensureOrder();
    return t.pos < 0 ? 0 : std::uint32_t(t.pos);
}

void Table::moveTo(std::uint32_t ordinal) {
    Impl& t = *impl_;
    t.requireOpen();
    t.atStart = false;
    if (t.state != EditState::Browse) post();
    if (!t.moveCursor([&t, ordinal] {
            return std::min<std::int64_t>(ordinal, std::int64_t(t.rowCount()) - 1);
        }))
        return first();
    t.eof = t.bof = false;
}

bool Table::goToRecord(std::uint32_t recno) {
    Impl& t = *impl_;
    t.requireOpen();
    t.atStart = false;
    if (t.state != EditState::Browse) post();
    const std::int64_t at = t.rowOf(recno);
    if (at < 0) return false;
    if (t.dbf.record(recno)[0] == '*') {  // deleted since the rows were built
        t.rebuildRows();
        return false;
    }
    t.pos = at;
    t.cur = recno;
    t.curGone = false;
    t.eof = t.bof = false;
    return true;
}

void Table::refresh() {
    Impl& t = *impl_;
    t.requireOpen();
    t.atStart = false;
    if (t.dbf.writable()) {
        WriteLock lock(t);
        t.syncWithDisk(false);
    } else {
        t.syncWithDisk(false);
    }
    t.distrustStaleDeletedCount();
    t.invalidateOrder();
    t.ensureOrder();
    t.eof = t.bof = t.rowCount() == 0;
}

void Table::setFilter(RecordFilter filter) {
    impl_->filter = std::move(filter);
    impl_->invalidateOrder();
}

void Table::clearFilter() { setFilter(nullptr); }

// ---- field access -------------------------------------------------------

void Table::Impl::requireOpen() const {
    if (!dbf.isOpen()) throw EngineError("The table is not open.");
}

void Table::Impl::requireEditing() const {
    requireOpen();
    if (state == EditState::Browse)
        throw EngineError("The table is not in insert or edit mode.");
}

void Table::Impl::requireWritable() const {
    requireOpen();
    if (!dbf.writable()) throw EngineError("The table \"" + path + "\" is read-only.");
}

int Table::Impl::checkField(int field) const {
    if (field < 0 || std::size_t(field) >= dbf.layout().fields.size())
        throw EngineError("Field number " + std::to_string(field + 1) + " does not exist.");
    return field;
}

char* Table::Impl::fieldPtr(int field) {
    return buffer.data() + dbf.layout().fields[std::size_t(checkField(field))].offset;
}

RecordView Table::current() const {
    const Impl& t = *impl_;
    t.requireOpen();
    impl_->settle();
    if (t.state != EditState::Browse)
        return RecordView(t.buffer.data(), &fields(), codePage(), t.editRecno);
    if (t.cur == 0 || t.cur > t.dbf.count()) throw EngineError("There is no current record.");
    return RecordView(t.dbf.record(t.cur), &fields(), codePage(), t.cur);
}

std::string Table::text(int f) const { return current().text(impl_->checkField(f)); }
std::optional<std::int64_t> Table::integer(int f) const {
    return current().integer(impl_->checkField(f));
}
std::optional<double> Table::number(int f) const { return current().number(impl_->checkField(f)); }
Date Table::date(int f) const { return current().date(impl_->checkField(f)); }
bool Table::isBlank(int f) const { return current().isBlank(impl_->checkField(f)); }

bool Table::setText(int f, std::string_view utf8) {
    impl_->requireEditing();
    char* p = impl_->fieldPtr(f);
    bool standInsUsed = false;
    encodeText(fields()[std::size_t(f)], utf8, codePage(), p, impl_->standIns, &standInsUsed);
    return standInsUsed;
}
void Table::setStandIns(bool on) { impl_->standIns = on; }
void Table::setInteger(int f, std::int64_t v) {
    impl_->requireEditing();
    char* p = impl_->fieldPtr(f);
    encodeInteger(fields()[std::size_t(f)], v, codePage(), p);
}
void Table::setNumber(int f, double v) {
    impl_->requireEditing();
    char* p = impl_->fieldPtr(f);
    encodeNumber(fields()[std::size_t(f)], v, codePage(), p);
}
void Table::setDate(int f, const Date& v) {
    impl_->requireEditing();
    char* p = impl_->fieldPtr(f);
    encodeDate(fields()[std::size_t(f)], v, p);
}
void Table::setBlank(int f) {
    impl_->requireEditing();
    char* p = impl_->fieldPtr(f);
    encodeBlank(fields()[std::size_t(f)], p);
}

// ---- editing --------------------------------------------------------------

EditState Table::state() const { return impl_->state; }

void Table::insert() { append(); }

void Table::append() {
    Impl& t = *impl_;
    t.requireWritable();
    if (t.state != EditState::Browse) post();
    t.buffer.assign(t.dbf.layout().recordLength, ' ');
    t.state = EditState::Insert;
    t.editRecno = 0;
}

void Table::edit() {
    Impl& t = *impl_;
    t.requireWritable();
    t.settle();
    if (t.state == EditState::Edit) return;
    if (t.state == EditState::Insert) post();
    if (t.cur == 0) throw EngineError("There is no current record to edit.");
    t.buffer.assign(t.dbf.record(t.cur), t.dbf.layout().recordLength);
    t.state = EditState::Edit;
    t.editRecno = t.cur;
}

void Table::cancel() {
    impl_->state = EditState::Browse;
    impl_->buffer.clear();
}

// Adds the record in the buffer to the table and its keys to the index; the
// caller holds the write lock and has begun the index change.
void Table::Impl::appendBuffered() {
    const std::uint32_t recno = dbf.appendRecord(buffer.data());
    if (observer) observer(RecordChange{recno, {}, buffer});
    // The record is stored and counted: should the index fail now, the
    // insert is still over, so a second post cannot add the record again.
    state = EditState::Browse;
    cur = recno;
    invalidateOrder();
    if (sliceOpen) return queueKeys(buffer.data(), nullptr, recno);
    for (std::size_t i = 0; i < exprs.size(); ++i) {
        const KeyExpression& e = *exprs[i];
        keyNew.resize(std::size_t(e.keyLength()));
        e.evaluate(buffer.data(), keyNew.data());
        mdx->insertKey(int(i), keyNew.data(), recno, appendedKeysAreNewest());
    }
}

void Table::Impl::openSlice() {
    dbf.lockForWrite();
    try {
        syncWithDisk(true);
        if (mdx) requireMaintainableTags();
        if (mdx) beginIndexChange();
    } catch (...) {
        dbf.unlockForWrite();
        throw;
    }
    dbf.beginAppendSpan();
    sliceOpen = true;
    sliceStart = std::chrono::steady_clock::now();
}

void Table::Impl::closeSlice() {
    // Whatever writes next, or looks at the index, finds every key in it.
    if (!sliceOpen) return applyPendingKeys();
    sliceOpen = false;
    struct Unlock {
        DbfFile& f;
        ~Unlock() {
            f.endAppendSpan();
            f.unlockForWrite();
        }
    } unlock{dbf};
    if (mdx) {
        endIndexChange(deletedCount);
        if (!dbf.exclusive()) mdxSizeSeen = indexFileSize();
    }
}

void Table::Impl::abandonSlice() {
    if (!sliceOpen) return;
    sliceOpen = false;
    // The index stays marked as changing: the slice's keys are not put in.
    discardPendingKeys();
    dbf.endAppendSpan();
    dbf.unlockForWrite();
}

void Table::Impl::postInRun() {
    if (!sliceOpen) openSlice();
    try {
        // Marks the index as changing again should a change between two
        // posts of the slice have stamped it (a no-op otherwise).
        if (mdx) {
            requireMaintainableTags();
            try {
                mdx->reserveForChange();  // room for every key of the slice so far
            } catch (const EngineError&) {
                // Nothing of this post was written: the slice ends as a
                // complete one, its keys in and stamped, and the post is refused.
                closeSlice();
                throw;
            }
            mdx->beginChange();
        }
        appendBuffered();
    } catch (...) {
        abandonSlice();
        throw;
    }
    if (std::chrono::steady_clock::now() - sliceStart >= kSliceLength) closeSlice();
}

void Table::beginAppendRun() {
    impl_->requireWritable();
    impl_->appendRun = true;
}

void Table::endAppendRun() {
    Impl& t = *impl_;
    t.appendRun = false;
    t.closeSlice();
}

void Table::post() {
    Impl& t = *impl_;
    if (t.state == EditState::Browse) return;
    t.requireWritable();
    if (t.state == EditState::Insert && t.appendRun) {
        t.postInRun();
    } else if (t.state == EditState::Edit && t.editRun && t.mdx) {
        // Exclusive use: no lock to take, nobody else to look for. The index
        // is marked as changing until the run's keys are in.
        t.requireMaintainableTags();
        t.mdx->reserveForChange();  // room for every key of the run so far
        t.beginIndexChange();
        t.editRunUnstamped = true;
        const char* old = t.dbf.record(t.editRecno);
        std::string before;
        if (t.observer) before.assign(old, t.buffer.size());
        t.queueKeys(t.buffer.data(), old, t.editRecno);
        t.dbf.writeRecord(t.editRecno, t.buffer.data());
        t.cur = t.editRecno;
        if (t.observer) t.observer(RecordChange{t.editRecno, before, t.buffer});
    } else {
        WriteLock lock(t);
        t.syncWithDisk(true);
        if (t.mdx) t.requireMaintainableTags();
        // A full disk refuses the post here, before the record or the index changes.
        if (t.mdx) t.mdx->reserveForChange();
        if (t.mdx) t.beginIndexChange();
        if (t.state == EditState::Insert) {
            t.appendBuffered();
        } else {
            const char* old = t.dbf.record(t.editRecno);
            std::string before;
            if (t.observer) before.assign(old, t.buffer.size());
            for (std::size_t i = 0; i < t.exprs.size(); ++i) {
                const KeyExpression& e = *t.exprs[i];
                t.keyNew.resize(std::size_t(e.keyLength()));
                t.keyOld.resize(std::size_t(e.keyLength()));
                e.evaluate(t.buffer.data(), t.keyNew.data());
                e.evaluate(old, t.keyOld.data());
                if (t.keyNew == t.keyOld) continue;
                t.mdx->removeKey(int(i), t.keyOld.data(), t.editRecno);
                t.mdx->insertKey(int(i), t.keyNew.data(), t.editRecno);
            }
            t.dbf.writeRecord(t.editRecno, t.buffer.data());
            t.cur = t.editRecno;
            if (t.observer) t.observer(RecordChange{t.editRecno, before, t.buffer});
        }
        if (t.mdx) {
            t.endIndexChange(t.deletedCount);
            if (!t.dbf.exclusive()) t.mdxSizeSeen = t.indexFileSize();
        }
    }
    t.state = EditState::Browse;
    t.buffer.clear();
    t.invalidateOrder();
    t.atStart = false;
    t.eof = t.bof = false;
}

void Table::deleteRecord() {
    Impl& t = *impl_;
    t.requireWritable();
    t.settle();
    if (t.state == EditState::Insert) return cancel();
    t.state = EditState::Browse;
    if (t.cur == 0) throw EngineError("There is no current record to delete.");
    // Find the record's place in the visible order while it is still in it,
    // so the cursor can move on to the record after it.
    const std::uint32_t deleted = t.cur;
    const std::int64_t at = t.rowOf(deleted);
    {
        WriteLock lock(t);
        // dBase keeps the keys of deleted records: the index changes only in
        // its stamp, which an index that is not ours or not trusted goes without.
        const bool stamp = t.mdx && t.indexTrusted && t.mdx->stamped();
        if (stamp) t.beginIndexChange();
        std::string before;
        if (t.observer) before = recordBytes(deleted);
        t.dbf.setDeletedFlag(deleted, true);
        if (t.observer) t.observer(RecordChange{deleted, before, recordBytes(deleted)});
        if (t.deletedCount != kUnknownCount) ++t.deletedCount;
        if (stamp) t.endIndexChange(t.deletedCount);
    }
    // The rows are now those of a table with a deleted record: rebuild them
    // and stay at the same ordinal, which now holds the next record.
    t.invalidateOrder();
    t.cur = 0;
    t.ensureOrder();
    const std::uint32_t n = t.rowCount();
    if (n == 0) {
        t.cur = 0;
        t.pos = -1;
        t.eof = t.bof = true;
        return;
    }
    t.moveCursor([&t, at] {
        return std::min<std::int64_t>(at < 0 ? 0 : at, std::int64_t(t.rowCount()) - 1);
    });
}

}  // namespace engine
