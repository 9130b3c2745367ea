// Index tags and maintenance of engine::Table: opening the production index,
// trusting it only when it agrees with the table, adding and deleting tags,
// pack and regenerate.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/table.h"
#include "engine/table_impl.h"

namespace engine {

namespace {
std::string upper(std::string_view s) {
    std::string r(s);
    for (auto& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
    return r;
}
}  // namespace

ExclusiveUse::ExclusiveUse(DbfFile& f) : f_(f) {
    if (!f_.tryExclusive())
        throw EngineError("The table \"" + f_.path() +
                          "\" is in use by another program; this needs exclusive use.");
}
ExclusiveUse::~ExclusiveUse() { f_.restoreShared(); }

KeyProducer Table::Impl::producerFor(const KeyExpression& e) {
    return [this, &e](std::uint32_t recno, char* out) { e.evaluate(dbf.record(recno), out); };
}

void Table::Impl::compileTagExpressions() {
    exprs.clear();
    if (!mdx) return;
    for (const TagInfo& tag : mdx->tags()) {
        try {
            KeyExpression e =
                KeyExpression::compile(tag.expression, dbf.layout().fields, dbf.layout().codePage);
            if (e.keyLength() == tag.keyLength && tag.keyType == 'C')
                exprs.emplace_back(std::move(e));
            else
                exprs.emplace_back(std::nullopt);
        } catch (const EngineError&) {
            exprs.emplace_back(std::nullopt);
        }
    }
}

void Table::Impl::openIndex() {
    mdx.reset();
    exprs.clear();
    indexTrusted = true;
    deletedCount = kUnknownCount;
    mdxPath = companionPath(path, ".MDX");
    // Without the production flag the index is not the table's (dBase rule):
    // it is ignored, and replaced when a tag is next added.
    if (dbf.layout().mdxFlag == 0) return;
    if (!fileExists(mdxPath)) {
        dbf.setMdxFlag(false);
        return;
    }
    mdx = MdxFile::open(mdxPath, dbf.writable(), /*checkEveryPage=*/false);
    compileTagExpressions();
    if (!mdx->consistentWith(dbf.count())) {
        if (dbf.writable()) {
            WriteLock lock(dbf);
            rebuildIndex();
        } else {
            indexTrusted = false;
        }
    }
    if (mdx->consistentWith(dbf.count())) deletedCount = mdx->stampedDeletedCount();
    resolveSelected();
}

std::uint64_t Table::Impl::indexFileSize() const {
    struct stat st {};
    return ::stat(mdxPath.c_str(), &st) == 0 ? std::uint64_t(st.st_size) : 0;
}

void Table::Impl::reloadIndex() {
    if (!mdx || dbf.exclusive()) return;  // exclusive: nobody else changes it
    mdx.reset();
    exprs.clear();
    mdx = MdxFile::open(mdxPath, dbf.writable(), /*checkEveryPage=*/false);
    compileTagExpressions();
    indexTrusted = true;
    if (!mdx->consistentWith(dbf.count())) {
        // Another program died while changing it.
        if (dbf.writable())
            rebuildIndex();
        else
            indexTrusted = false;
    }
    deletedCount =
        mdx->consistentWith(dbf.count()) ? mdx->stampedDeletedCount() : kUnknownCount;
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
    for (std::size_t i = 0; i < exprs.size(); ++i)
        if (!exprs[i])
            throw EngineError("The index \"" + mdxPath + "\" has the tag " + mdx->tags()[i].name +
                              " with an expression this program cannot build: " +
                              mdx->tags()[i].expression);
    mdx->beginChange();
    mdx->rebuildAll(dbf.count(), [this](const TagInfo& tag) {
        return producerFor(*exprs[std::size_t(mdx->findTag(tag.name))]);
    });
    compileTagExpressions();
    mdx->endChange(dbf.count(), countDeleted());
    indexTrusted = true;
    updateFieldIndexFlags();
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
}  // namespace

void Table::Impl::collectTagOrder(std::vector<std::uint32_t>& out) {
    const std::uint32_t n = dbf.count();
    if (indexTrusted) {
        mdx->collectOrder(selectedTag, out);
        if (isPermutation(out, n)) return;
        // The tag does not hold exactly one key for each record.
        out.clear();
        if (dbf.writable()) {
            {
                WriteLock lock(dbf);
                rebuildIndex();
            }
            resolveSelected();
            mdx->collectOrder(selectedTag, out);
            if (isPermutation(out, n)) return;
            out.clear();
        }
        indexTrusted = false;
    }
    // A read-only table whose index cannot be trusted: order in memory.
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
    ExclusiveUse hold(t.dbf);
    if (!t.mdx) {
        t.mdxPath = companionPath(t.path, ".MDX");
        t.mdx = MdxFile::create(t.mdxPath, upper(tableBaseName(t.path)),
                                t.dbf.layout().languageDriver);
    }
    t.mdx->beginChange();
    t.mdx->addTag(tagName, expression, e.keyLength(), t.dbf.count(), t.producerFor(e));
    t.compileTagExpressions();
    t.mdx->endChange(t.dbf.count(), t.countDeleted());
    t.dbf.setMdxFlag(true);
    t.updateFieldIndexFlags();
    t.resolveSelected();
    t.invalidateOrder();
}

void Table::deleteIndexTag(std::string_view name) {
    Impl& t = *impl_;
    t.requireWritable();
    if (!t.mdx || t.mdx->findTag(name) < 0) return;
    ExclusiveUse hold(t.dbf);
    t.mdx->beginChange();
    t.mdx->deleteTag(name);
    t.mdx->endChange(t.dbf.count(), t.deletedCount);
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

void Table::pack() {
    Impl& t = *impl_;
    t.requireWritable();
    if (t.mode != OpenMode::Exclusive)
        throw EngineError("Packing \"" + t.path + "\" needs exclusive use.");
    if (t.state != EditState::Browse) cancel();
    t.dbf.packDeleted();
    t.deletedCount = 0;
    t.rebuildIndex();
    t.resolveSelected();
    t.cur = 0;
    t.invalidateOrder();
    first();
}

void Table::regenerateIndexes() {
    Impl& t = *impl_;
    t.requireWritable();
    if (t.mode != OpenMode::Exclusive)
        throw EngineError("Rebuilding the indexes of \"" + t.path + "\" needs exclusive use.");
    if (t.state != EditState::Browse) post();
    t.rebuildIndex();
    t.resolveSelected();
    t.invalidateOrder();
}

}  // namespace engine
