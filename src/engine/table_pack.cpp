// Pack of engine::Table, all or nothing, and the stamp that tells whether the
// index's count of deleted records can still be believed.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>

#include "engine/regular_file.h"
#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/table.h"
#include "engine/table_impl.h"

namespace engine {

namespace {

void syncFile(const std::string& path) {
    int fd = openRegularFile(path, O_RDONLY);
    bool ok = fd >= 0 && ::fsync(fd) == 0;
    const std::string why = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    if (!ok) throw EngineError("Cannot write \"" + path + "\": " + why);
}

std::string upperBaseName(const std::string& path) {
    std::string name = tableBaseName(path);
    for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

// The index of the packed table at `path`: the tags `tags` of the open index,
// each built from the kept records of `dbf` (`kept[i]` is the old number of
// new record i + 1) with its expression in `exprs`.
std::unique_ptr<MdxFile> buildPackedIndex(const std::string& path, const std::string& tableName,
                                          const DbfFile& dbf, const std::vector<TagInfo>& tags,
                                          const std::vector<std::optional<KeyExpression>>& exprs,
                                          const std::vector<std::uint32_t>& kept) {
    auto index = MdxFile::create(path, tableName, dbf.layout().languageDriver);
    for (std::size_t i = 0; i < exprs.size(); ++i) {
        const KeyExpression& e = *exprs[i];
        index->addTag(tags[i].name, tags[i].expression, e.keyLength(),
                      std::uint32_t(kept.size()), [&dbf, &e, &kept](std::uint32_t recno, char* out) {
                          e.evaluate(dbf.record(kept[recno - 1]), out);
                      });
    }
    return index;
}

bool newer(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

}  // namespace

void removePackLeftovers(const std::string& tablePath) {
    ::unlink(packTempPath(tablePath).c_str());
    ::unlink(packTempPath(companionPath(tablePath, ".MDX")).c_str());
}

PackResult Table::pack() {
    Impl& t = *impl_;
    t.requireWritable();
    t.closeSlice();
    if (t.mode != OpenMode::Exclusive)
        throw EngineError("Packing \"" + t.path + "\" needs exclusive use.");
    if (t.state != EditState::Browse) cancel();
    // The packed records get new numbers: nothing is written unless every
    // tag can be rebuilt.
    if (t.mdx) {
        t.compileTagExpressions();
        t.requireMaintainableTags();
    }
    DbfFile::PackedCopy copy = t.dbf.beginPackedCopy();
    PackResult result;
    result.kept = std::uint32_t(copy.kept.size());
    result.removed = copy.examined - result.kept;
    result.recovered = copy.recovered;
    result.newNumbers.assign(std::size_t(copy.examined) + 1, 0);
    for (std::size_t i = 0; i < copy.kept.size(); ++i)
        result.newNumbers[copy.kept[i]] = std::uint32_t(i + 1);

    // The new index is built beside the old one with the same tags, on a
    // thread of its own while this one writes the records (both only read the
    // table), and stays marked as changing until the table is in place too: a
    // pack killed between the two renames leaves an index that the next open
    // rebuilds, never one that names the wrong records.
    std::unique_ptr<MdxFile> index;
    std::string indexTmp;
    try {
        if (t.mdx) {
            const std::string indexTarget = realFilePath(t.mdxPath);
            indexTmp = packTempPath(t.mdxPath);
            std::exception_ptr indexFailure;
            {
                const auto build = [&] {
                    try {
                        index = buildPackedIndex(indexTmp, upperBaseName(t.path), t.dbf,
                                                 t.mdx->tags(), t.exprs, copy.kept);
                    } catch (...) {
                        indexFailure = std::current_exception();
                    }
                };
                std::jthread builder;
                try {
                    builder = std::jthread(build);
                } catch (const std::system_error&) {
                    build();  // no thread to be had: one after the other
                }
                t.dbf.writePackedCopy(copy);
            }  // the builder is joined here, also when the writing failed
            if (indexFailure) std::rethrow_exception(indexFailure);
            // Both files are on disk before either is put in place.
            syncFile(indexTmp);
            t.dbf.syncPackedCopy(copy);
            if (::rename(indexTmp.c_str(), indexTarget.c_str()) != 0)
                throw EngineError("Cannot replace the index \"" + t.mdxPath +
                                  "\": " + std::strerror(errno));
        } else {
            t.dbf.writePackedCopy(copy);
            t.dbf.syncPackedCopy(copy);
        }
        t.dbf.replaceWithPackedCopy(copy);
    } catch (...) {
        index.reset();
        if (!indexTmp.empty()) ::unlink(indexTmp.c_str());
        t.dbf.discardPackedCopy(copy);
        throw;
    }
    t.mdx.reset();
    t.exprs.clear();
    if (index) {
        index->endChange(t.dbf.count(), 0);
        index.reset();
        t.mdx = MdxFile::open(t.mdxPath, /*writable=*/true, /*checkEveryPage=*/false);
        t.compileTagExpressions();
        t.indexChanged();
    }
    t.deletedCount = 0;
    t.indexTrusted = true;
    t.updateFieldIndexFlags();
    t.resolveSelected();
    t.cur = 0;
    t.invalidateOrder();
    first();
    return result;
}

void Table::Impl::beginIndexChange() {
    // Another program may have deleted records since the count was read; with
    // exclusive use nobody has since the open, which checked.
    if (mode != OpenMode::Exclusive) distrustStaleDeletedCount();
    mdx->beginChange();
}

void Table::Impl::endIndexChange(std::uint32_t deleted) {
    applyPendingKeys();
    editRunUnstamped = false;
    mdx->endChange(dbf.count(), deleted);
    indexChanged();
}

void Table::Impl::indexChanged() {
    // With exclusive use nobody else looks until close(), which touches once.
    if (mode == OpenMode::Exclusive)
        stampPending = true;
    else
        touchIndex();
}

void Table::Impl::touchIndex() {
    stampPending = false;
    if (mdx && dbf.writable()) ::utimensat(AT_FDCWD, mdxPath.c_str(), nullptr, 0);
}

bool Table::Impl::indexOlderThanTable() const {
    struct stat table {
    }, index{};
    if (::stat(path.c_str(), &table) != 0 || ::stat(mdxPath.c_str(), &index) != 0) return true;
    return newer(table.st_mtim, index.st_mtim);
}

void Table::Impl::distrustStaleDeletedCount() {
    // This engine stamps the index after every change of the table; a table
    // changed later was changed by a program that does not keep the stamp.
    if (deletedCount != kUnknownCount && mdx && indexOlderThanTable()) deletedCount = kUnknownCount;
}

}  // namespace engine
