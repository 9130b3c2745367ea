// Index keys that go into the index together: an append run's slice and an
// edit run gather the keys their posts add and remove, and apply them sorted
// when the slice or run ends, or before anything else reads or stamps the
// index. Sorted keys reach neighbouring leaves one after another, and keys of
// appended records go after every equal key without their record numbers
// being looked up.
#include <algorithm>

#include "engine/table.h"
#include "engine/table_impl.h"

namespace engine {

void Table::Impl::queueKeys(const char* newRecord, const char* oldRecord, std::uint32_t recno) {
    if (pendingAdds.size() != exprs.size()) {
        pendingAdds.clear();
        pendingRemoves.clear();
        for (const auto& e : exprs) {
            pendingAdds.emplace_back(e->keyLength());
            pendingRemoves.emplace_back(e->keyLength());
        }
    }
    for (std::size_t i = 0; i < exprs.size(); ++i) {
        const KeyExpression& e = *exprs[i];
        keyNew.resize(std::size_t(e.keyLength()));
        e.evaluate(newRecord, keyNew.data());
        if (oldRecord != nullptr) {
            keyOld.resize(std::size_t(e.keyLength()));
            e.evaluate(oldRecord, keyOld.data());
            if (keyNew == keyOld) continue;
            pendingRemoves[i].add(keyOld.data(), recno);
            pendingAllNewest = false;
        }
        pendingAdds[i].add(keyNew.data(), recno);
        keysPending = true;
    }
}

void Table::Impl::applyPendingKeys() {
    if (!keysPending) return;
    keysPending = false;
    const bool newest = pendingAllNewest && appendedKeysAreNewest();
    pendingAllNewest = true;
    try {
        for (std::size_t i = 0; i < pendingAdds.size() && mdx; ++i) {
            KeyBatch::netOut(pendingAdds[i], pendingRemoves[i]);
            for (const char* entry : pendingRemoves[i].sorted())
                mdx->removeKey(int(i), entry, pendingRemoves[i].recnoOf(entry));
            for (const char* entry : pendingAdds[i].sorted())
                mdx->insertKey(int(i), entry, pendingAdds[i].recnoOf(entry), newest);
        }
    } catch (...) {
        // The index stays marked as changing (MdxFile notes the failure) and
        // is rebuilt from the records at the next open.
        discardPendingKeys();
        throw;
    }
    discardPendingKeys();
}

bool Table::Impl::appendedKeysAreNewest() const {
    // Only an index this engine keeps and that agrees with the table holds no
    // record number past the end; in any other, appended keys look at record
    // numbers like any other key.
    return mdx && indexTrusted && mdx->stamped();
}

void Table::Impl::discardPendingKeys() {
    for (KeyBatch& b : pendingAdds) b.clear();
    for (KeyBatch& b : pendingRemoves) b.clear();
    keysPending = false;
    pendingAllNewest = true;
}

void Table::Impl::finishEditRun() {
    editRun = false;
    applyPendingKeys();
    if (editRunUnstamped && mdx) endIndexChange(deletedCount);
    editRunUnstamped = false;
}

void Table::beginEditRun() {
    Impl& t = *impl_;
    t.requireWritable();
    if (t.mode != OpenMode::Exclusive) return;
    if (t.state != EditState::Browse) post();
    t.closeSlice();
    t.editRun = true;
}

void Table::endEditRun() {
    Impl& t = *impl_;
    if (!t.editRun) return;
    if (t.state != EditState::Browse) post();
    t.finishEditRun();
}

}  // namespace engine
