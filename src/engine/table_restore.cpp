// Reading and putting back a record's stored bytes: what undo and recall work with.
#include <string>

#include "engine/error.h"
#include "engine/table_impl.h"

namespace engine {

std::string Table::recordBytes(std::uint32_t recno) const {
    const Impl& t = *impl_;
    t.requireOpen();
    if (recno == 0 || recno > t.dbf.count())
        throw EngineError("Record " + std::to_string(recno) + " is not in the table.");
    return std::string(t.dbf.record(recno), t.dbf.layout().recordLength);
}

void Table::restoreRecord(std::uint32_t recno, std::string_view bytes) {
    Impl& t = *impl_;
    t.requireWritable();
    t.settle();
    if (t.state != EditState::Browse)
        throw EngineError("A record is being edited; finish it before putting another back.");
    if (bytes.size() != t.dbf.layout().recordLength || (bytes[0] != ' ' && bytes[0] != '*'))
        throw EngineError("The record to put back does not fit this table.");
    {
        WriteLock lock(t);
        t.syncWithDisk(true);
        if (recno == 0 || recno > t.dbf.count())
            throw EngineError("Record " + std::to_string(recno) + " is no longer in the table.");
        if (t.mdx) t.requireMaintainableTags();
        if (t.mdx) t.beginIndexChange();
        const char* old = t.dbf.record(recno);
        const bool wasDeleted = old[0] == '*';
        const bool nowDeleted = bytes[0] == '*';
        // Deleted records keep their keys, so only changed keys move, whatever the flag.
        for (std::size_t i = 0; i < t.exprs.size(); ++i) {
            const KeyExpression& e = *t.exprs[i];
            t.keyNew.resize(std::size_t(e.keyLength()));
            t.keyOld.resize(std::size_t(e.keyLength()));
            e.evaluate(bytes.data(), t.keyNew.data());
            e.evaluate(old, t.keyOld.data());
            if (t.keyNew == t.keyOld) continue;
            t.mdx->removeKey(int(i), t.keyOld.data(), recno);
            t.mdx->insertKey(int(i), t.keyNew.data(), recno);
        }
        std::string before;
        if (t.observer) before.assign(old, bytes.size());
        t.dbf.writeRecord(recno, bytes.data());
        if (t.observer) t.observer(RecordChange{recno, before, bytes});
        if (wasDeleted != nowDeleted && t.deletedCount != kUnknownCount)
            t.deletedCount += nowDeleted ? 1 : -1;
        if (t.mdx) {
            t.endIndexChange(t.deletedCount);
            if (!t.dbf.exclusive()) t.mdxSizeSeen = t.indexFileSize();
        }
    }
    t.invalidateOrder();
    t.atStart = false;
}

void Table::setChangeObserver(ChangeObserver observer) {
    impl_->observer = std::move(observer);
}

}  // namespace engine
