// Index tags and maintenance of engine::Table: opening the production index,
// trusting it only when it agrees with the table, getting past an index that
// is damaged or was left half-changed, adding and deleting tags, pack and
// regenerate.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/posix_locks.h"
#include "engine/regular_file.h"
#include "engine/table.h"
#include "engine/table_impl.h"

namespace engine {

namespace {
std::string upper(std::string_view s) {
    std::string r(s);
    for (auto& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

// A rebuilt index is written here first and moved over the old one when complete.
std::string rebuildPath(const std::string& mdxPath) {
    return realFilePath(mdxPath) + ".reindex-tmp";
}
}  // namespace

ExclusiveUse::ExclusiveUse(Table::Impl& t) : f_(t.dbf) {
    t.closeSlice();
    bool held = f_.tryExclusive();
    // A program may lock the index rather than the table.
    if (held && othersHoldPosixLocks(companionPath(f_.path(), ".MDX"))) {
        f_.restoreShared();
        held = false;
    }
    if (!held)
        throw EngineError("The table \"" + f_.path() +
                          "\" is in use by another program; this needs exclusive use.");
}
ExclusiveUse::~ExclusiveUse() { f_.restoreShared(); }

KeyProducer Table::Impl::producerFor(const KeyExpression& e) {
    return [this, &e](std::uint32_t recno, char* out) { e.evaluate(dbf.record(recno), out); };
}

std::optional<KeyExpression> Table::Impl::buildable(const TagInfo& tag) const {
    if (tag.keyType != 'C' || tag.descending || tag.unique || !tag.forExpression.empty() ||
        tag.expression.empty())
        return std::nullopt;
    try {
        return KeyExpression::compile(tag.expression, dbf.layout().fields, dbf.layout().codePage);
    } catch (const EngineError&) {
        return std::nullopt;
    }
}

void Table::Impl::compileTagExpressions() {
    // The tags may have changed: keys gathered for the old ones are dropped
    // (the callers rebuild the index, or have applied them).
    discardPendingKeys();
    pendingAdds.clear();
    pendingRemoves.clear();
    exprs.clear();
    if (!mdx) return;
    for (const TagInfo& tag : mdx->tags()) {
        std::optional<KeyExpression> e = buildable(tag);
        if (e && e->keyLength() != tag.keyLength) e.reset();
        exprs.push_back(std::move(e));
    }
}

void Table::Impl::requireMaintainableTags() const {
    for (std::size_t i = 0; i < exprs.size(); ++i) {
        if (exprs[i]) continue;
        const TagInfo& tag = mdx->tags()[i];
        throw EngineError("The index tag " + tag.name + " (" + tag.expression + ") of \"" +
                          mdxPath +
                          "\" is one this program cannot keep up to date, so the table cannot "
                          "be changed. Rebuild Indexes drops that tag.");
    }
}

void Table::Impl::openIndex() {
    mdx.reset();
    exprs.clear();
    indexTrusted = true;
    indexDamaged = false;
    salvagedTags.clear();
    indexNotice.clear();
    deletedCount = kUnknownCount;
    mdxPath = companionPath(path, ".MDX");
    // Without the production flag the index is not the table's (dBase rule):
    // it is ignored, and replaced when a tag is next added.
    if (dbf.layout().mdxFlag == 0) return;
    if (!fileExists(mdxPath)) {
        // Something that is not a file in the index's place (a FIFO would block) is not read,
        // and is said so; the table goes without its index.
        const std::string kind = nonRegularKind(mdxPath);
        if (!kind.empty()) {
            indexNotice = "The index \"" + mdxPath + "\" is " + kind +
                          ", not a regular file: the records are shown in record order.";
            return;
        }
        dbf.setMdxFlag(false);
        return;
    }
    const bool mayRebuild = dbf.exclusive() && dbf.writable();
    if (mayRebuild) ::unlink(rebuildPath(mdxPath).c_str());  // left by a rebuild cut short
    try {
        // A shared open holds no write lock: another writer may be growing the file.
        mdx = MdxFile::open(mdxPath, dbf.writable(), /*checkEveryPage=*/false,
                            /*trimTail=*/dbf.exclusive());
    } catch (const EngineError& e) {
        // The index is derived data: the table opens without it.
        indexDamaged = true;
        salvagedTags = MdxFile::salvageTags(mdxPath);
        const bool lossless =
            !salvagedTags.empty() &&
            std::all_of(salvagedTags.begin(), salvagedTags.end(),
                        [this](const TagInfo& tag) { return buildable(tag).has_value(); });
        indexNotice = e.what();
        if (mayRebuild && lossless && tryRebuild([this] { rebuildBeside(salvagedTags); })) {
            indexNotice += ". It has been rebuilt.";
        } else {
            indexNotice +=
                ". The records are shown in record order until the index is rebuilt (Rebuild "
                "Indexes).";
        }
        resolveSelected();
        return;
    }
    compileTagExpressions();
    if (mdx->interrupted(dbf.count())) {
        const std::string what = "The index \"" + mdxPath +
                                 "\" is out of date: a program stopped while changing it, or "
                                 "changed the table without it.";
        if (mayRebuild &&
            std::all_of(exprs.begin(), exprs.end(), [](const auto& e) { return e.has_value(); }) &&
            tryRebuild([this] { rebuildIndex(); })) {
            indexNotice = what + " It has been rebuilt.";
        } else {
            indexTrusted = false;
            indexNotice = what +
                          " Until it is rebuilt (Rebuild Indexes) the records are shown without "
                          "it.";
        }
    }
    if (mdx && mdx->consistentWith(dbf.count())) deletedCount = mdx->stampedDeletedCount();
    distrustStaleDeletedCount();
    resolveSelected();
}

bool Table::Impl::tryRebuild(const std::function<void()>& rebuild) {
    try {
        rebuild();
        return true;
    } catch (const EngineError&) {
        // No room for the new index, say: the old one stays, unused.
        return false;
    }
}

std::uint64_t Table::Impl::indexFileSize() const {
    struct stat st {};
    return ::stat(mdxPath.c_str(), &st) == 0 ? std::uint64_t(st.st_size) : 0;
}

void Table::Impl::reloadIndex(bool forWrite) {
    if (!mdx || dbf.exclusive()) return;  // exclusive: nobody else changes it
    mdx.reset();
    exprs.clear();
    indexTrusted = true;
    mdxSizeSeen = indexFileSize();
    try {
        mdx = MdxFile::open(mdxPath, dbf.writable(), /*checkEveryPage=*/false);
    } catch (const EngineError&) {
        indexDamaged = true;
        salvagedTags = MdxFile::salvageTags(mdxPath);
        deletedCount = kUnknownCount;
        resolveSelected();
        return;
    }
    compileTagExpressions();
    if (mdx->interrupted(dbf.count())) {
        // Another program died while changing it.
        if (forWrite && dbf.writable())
            rebuildIndex();
        else
            indexTrusted = false;
    }
    deletedCount =
        mdx->consistentWith(dbf.count()) ? mdx->stampedDeletedCount() : kUnknownCount;
    distrustStaleDeletedCount();
    mdxSizeSeen = indexFileSize();
    resolveSelected();
}

std::uint32_t Table::Impl::countDeleted() {
    dbf.prepareScan();
    std::uint32_t deleted = 0;
    for (std::uint32_t r = 1, n = dbf.count(); r <= n; ++r)
        if (dbf.record(r)[0] == '*') ++deleted;
    deletedCount = deleted;
    return deleted;
}

void Table::Impl::rebuildIndex() {
    if (!mdx) return;
    compileTagExpressions();
    requireMaintainableTags();
    if (dbf.exclusive()) {
        const std::vector<TagInfo> defs = mdx->tags();  // rebuildBeside replaces mdx
        return rebuildBeside(defs);
    }
    // Others sharing the table keep the file mapped: rebuild it in place.
    beginIndexChange();
    mdx->rebuildAll(dbf.count(), [this](const TagInfo& tag) {
        return producerFor(*exprs[std::size_t(mdx->findTag(tag.name))]);
    });
    compileTagExpressions();
    endIndexChange(countDeleted());
    indexTrusted = true;
    updateFieldIndexFlags();
}

void Table::Impl::rebuildBeside(const std::vector<TagInfo>& defs) {
    const std::string target = realFilePath(mdxPath);
    const std::string tmp = rebuildPath(mdxPath);
    std::vector<std::pair<const TagInfo*, KeyExpression>> build;
    for (const TagInfo& tag : defs)
        if (std::optional<KeyExpression> e = buildable(tag))
            build.emplace_back(&tag, std::move(*e));
    if (build.empty()) {
        // Nothing left to index: the table goes without one.
        mdx.reset();
        ::unlink(target.c_str());
        dbf.setMdxFlag(false);
    } else {
        try {
            std::unique_ptr<MdxFile> fresh =
                MdxFile::create(tmp, upper(tableBaseName(path)), dbf.layout().languageDriver);
            for (const auto& [tag, e] : build)
                fresh->addTag(tag->name, tag->expression, e.keyLength(), dbf.count(),
                              producerFor(e));
            fresh->endChange(dbf.count(), countDeleted());
        } catch (...) {
            ::unlink(tmp.c_str());
            throw;
        }
        if (::rename(tmp.c_str(), target.c_str()) != 0) {
            const std::string why = std::strerror(errno);
            ::unlink(tmp.c_str());
            throw EngineError("Cannot replace the index \"" + mdxPath + "\": " + why);
        }
        mdx.reset();
        mdx = MdxFile::open(mdxPath, true, /*checkEveryPage=*/false);
        dbf.setMdxFlag(true);
        indexChanged();
    }
    indexDamaged = false;
    salvagedTags.clear();
    indexTrusted = true;
    compileTagExpressions();
    updateFieldIndexFlags();
    resolveSelected();
}

void Table::Impl::prepareIndexForChange() {
    if (indexDamaged)
        rebuildBeside(salvagedTags);
    else if (mdx && !indexTrusted)
        rebuildIndex();
}

void Table::Impl::resolveSelected() {
    selectedTag = -1;
    if (selectedName.empty() || !mdx) {
        selectedName.clear();
        return;
    }
    selectedTag = mdx->findTag(selectedName);
    if (selectedTag < 0) selectedName.clear();
}

void Table::Impl::updateFieldIndexFlags() {
    const int n = int(dbf.layout().fields.size());
    std::vector<bool> flag(std::size_t(n), false);
    for (const auto& e : exprs)
        if (e && e->bareField()) flag[std::size_t(*e->bareField())] = true;
    for (int i = 0; i < n; ++i) dbf.setFieldIndexFlag(i, flag[std::size_t(i)]);
}

namespace {
// True when `order` names every record 1..n exactly once. A damaged index can
// hold record numbers past the end of the table, which must never be read.
bool isPermutation(const std::vector<std::uint32_t>& order, std::uint32_t n) {
    if (order.size() != n) return false;
    std::vector<bool> seen(n + std::size_t(1), false);
    for (std::uint32_t r : order) {
        if (r < 1 || r > n || seen[r]) return false;
        seen[r] = true;
    }
    return true;
}

// Keeps the first appearance of each record number that exists.
void keepRecordsOnce(std::vector<std::uint32_t>& order, std::uint32_t n) {
    std::vector<bool> seen(n + std::size_t(1), false);
    order.erase(std::remove_if(order.begin(), order.end(),
                               [&](std::uint32_t r) {
                                   if (r < 1 || r > n || seen[r]) return true;
                                   seen[r] = true;
                                   return false;
                               }),
                order.end());
}
}  // namespace

void Table::Impl::collectTagOrder(std::vector<std::uint32_t>& out) {
    applyPendingKeys();
    const std::uint32_t n = dbf.count();
    if (indexTrusted) {
        bool walked = true;
        try {
            mdx->collectOrder(selectedTag, out);
        } catch (const EngineError&) {
            walked = false;  // a damaged page deep in the tree
        }
        if (walked && isPermutation(out, n)) return;
        // Another program's tag that this one does not build (a FOR tag holds
        // only some records): its order is used as it stands.
        if (walked && !exprs[std::size_t(selectedTag)]) return keepRecordsOnce(out, n);
        // The tag does not hold exactly one key for each record.
        out.clear();
        if (dbf.writable()) {
            try {
                WriteLock lock(*this);
                rebuildIndex();
            } catch (const EngineError&) {
                // Another tag cannot be rebuilt: order in memory instead.
            }
            resolveSelected();
            if (selectedTag >= 0 && indexTrusted) {
                try {
                    mdx->collectOrder(selectedTag, out);
                    if (isPermutation(out, n)) return;
                } catch (const EngineError&) {
                }
            }
            out.clear();
        }
        indexTrusted = false;
    }
    if (selectedTag < 0 || !mdx) {
        out.resize(n);
        for (std::uint32_t i = 0; i < n; ++i) out[i] = i + 1;
        return;
    }
    // An index that cannot be trusted: the tag's order worked out in memory.
    const auto& e = exprs[std::size_t(selectedTag)];
    out.resize(n);
    for (std::uint32_t i = 0; i < n; ++i) out[i] = i + 1;
    if (!e) return;
    const std::size_t len = std::size_t(e->keyLength());
    std::string keys(std::size_t(n) * len, ' ');
    for (std::uint32_t r = 1; r <= n; ++r) e->evaluate(dbf.record(r), &keys[(r - 1) * len]);
    std::stable_sort(out.begin(), out.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::memcmp(&keys[(a - 1) * len], &keys[(b - 1) * len], len) < 0;
    });
}

std::vector<TagInfo> Table::tags() const {
    if (!impl_->mdx) return {};
    return impl_->mdx->tags();
}

const std::string& Table::indexNotice() const {
    return impl_->indexNotice;
}

void Table::addIndexTag(const std::string& name, const std::string& expression) {
    Impl& t = *impl_;
    t.requireWritable();
    if (t.state != EditState::Browse) post();
    std::string tagName = upper(name);
    if (tagName.empty() || tagName.size() > 10)
        throw EngineError("Invalid index tag name \"" + name + "\".");
    if (expression.size() > 255)
        throw EngineError("The index expression is longer than 255 characters.");
    KeyExpression e = KeyExpression::compile(expression, fields(), codePage());
    ExclusiveUse hold(t);
    t.prepareIndexForChange();
    // When every other tag can be built again, the whole index is written
    // beside the old one and moved over it: a process killed on the way, or
    // a disk that fills, leaves the old index as it was. Another program's
    // tags this engine cannot build are kept by changing the file in place.
    std::vector<TagInfo> defs = t.mdx ? t.mdx->tags() : std::vector<TagInfo>{};
    const bool rebuildable = std::all_of(defs.begin(), defs.end(), [&](const TagInfo& tag) {
        return upper(tag.name) == tagName || t.buildable(tag).has_value();
    });
    if (rebuildable) {
        TagInfo added;
        added.name = tagName;
        added.expression = expression;
        added.keyLength = e.keyLength();
        const auto same = std::find_if(defs.begin(), defs.end(), [&](const TagInfo& tag) {
            return upper(tag.name) == tagName;
        });
        if (same != defs.end())
            *same = added;
        else
            defs.push_back(added);
        t.rebuildBeside(defs);
        t.invalidateOrder();
        return;
    }
    if (!t.mdx) {
        t.mdxPath = companionPath(t.path, ".MDX");
        t.mdx = MdxFile::create(t.mdxPath, upper(tableBaseName(t.path)),
                                t.dbf.layout().languageDriver);
    }
    t.beginIndexChange();
    t.mdx->addTag(tagName, expression, e.keyLength(), t.dbf.count(), t.producerFor(e));
    t.compileTagExpressions();
    t.endIndexChange(t.countDeleted());
    t.dbf.setMdxFlag(true);
    t.updateFieldIndexFlags();
    t.resolveSelected();
    t.invalidateOrder();
}

void Table::deleteIndexTag(std::string_view name) {
    Impl& t = *impl_;
    t.requireWritable();
    if (!t.mdx || t.mdx->findTag(name) < 0) return;
    ExclusiveUse hold(t);
    t.prepareIndexForChange();
    if (!t.mdx || t.mdx->findTag(name) < 0) return;
    t.beginIndexChange();
    t.mdx->deleteTag(name);
    t.endIndexChange(t.deletedCount);
    if (t.mdx->tags().empty()) {
        t.mdx.reset();
        ::unlink(t.mdxPath.c_str());
        t.dbf.setMdxFlag(false);
    }
    t.compileTagExpressions();
    t.updateFieldIndexFlags();
    t.resolveSelected();
    t.invalidateOrder();
}

void Table::selectIndex(std::string_view name) {
    Impl& t = *impl_;
    t.requireOpen();
    if (name.empty()) {
        t.selectedName.clear();
        t.selectedTag = -1;
    } else {
        int i = t.mdx ? t.mdx->findTag(name) : -1;
        if (i < 0)
            throw EngineError("The index tag " + upper(name) + " does not exist for \"" + t.path +
                              "\".");
        t.selectedName = upper(name);
        t.selectedTag = i;
    }
    t.invalidateOrder();
}

std::string Table::selectedIndex() const { return impl_->selectedName; }

std::vector<TagInfo> Table::regenerateIndexes() {
    Impl& t = *impl_;
    t.requireWritable();
    t.closeSlice();
    if (t.mode != OpenMode::Exclusive)
        throw EngineError("Rebuilding the indexes of \"" + t.path + "\" needs exclusive use.");
    if (t.state != EditState::Browse) post();
    std::vector<TagInfo> dropped;
    if (t.mdx || t.indexDamaged) {
        const std::vector<TagInfo> defs = t.mdx ? t.mdx->tags() : t.salvagedTags;
        for (const TagInfo& tag : defs)
            if (!t.buildable(tag)) dropped.push_back(tag);
        t.rebuildBeside(defs);
    }
    t.invalidateOrder();
    return dropped;
}

}  // namespace engine
