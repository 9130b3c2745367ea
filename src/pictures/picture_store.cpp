#include "pictures/picture_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>

#include <sys/stat.h>

#include "collection/collection_paths.h"
#include "engine/table.h"
#include "pictures/picture_incoming.h"
#include "pictures/picture_index.h"

namespace pictures {

namespace {

const QString kIndexName = QStringLiteral("pictures.idx");
const QString kThumbnailFolder = QStringLiteral("thumbnails");

// What identifies one version of the index file: a new version is a new file renamed in.
struct FileStamp {
    bool exists = false;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return {true, st.st_ino, static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// One version of an index as read, with where each record's links are in it. Never changed
// once made, so the store objects of one process share it across threads.
struct IndexSnapshot {
    IndexContents contents;
    FileStamp stamp;
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> byRecord;
};

// The last version of each index read or written in this process, by index path: the pane,
// the grid's column, the editor's strip and the main window each hold a store of the same
// collection, and a changed index of 20,000 links is then read once, not once by each.
std::mutex sharedMutex;
std::map<QString, std::shared_ptr<const IndexSnapshot>> sharedSnapshots;

std::shared_ptr<const IndexSnapshot> sharedSnapshot(const QString& index, const FileStamp& stamp) {
    const std::lock_guard hold(sharedMutex);
    const auto it = sharedSnapshots.find(index);
    if (it == sharedSnapshots.end() || !(it->second->stamp == stamp)) return nullptr;
    return it->second;
}

void publishSnapshot(const QString& index, std::shared_ptr<const IndexSnapshot> snapshot) {
    if (!snapshot->stamp.exists) return;
    const std::lock_guard hold(sharedMutex);
    sharedSnapshots[index] = std::move(snapshot);
}

}  // namespace

void forgetReadIndexes() {
    const std::lock_guard hold(sharedMutex);
    sharedSnapshots.clear();
}

QString storeFolderName(const QString& tablePath) {
    return collection::collectionPaths(tablePath).tableName + QStringLiteral("-pictures");
}

QString storeFolder(const QString& tablePath) {
    return collection::collectionPaths(tablePath).basePath + QStringLiteral("-pictures/");
}

struct PictureStore::Impl {
    QString table;
    QString folder;
    QString index;
    // The index as last read, and where each record's links are in it.
    mutable std::shared_ptr<const IndexSnapshot> snap;

    void setContents(IndexContents contents, const FileStamp& stamp) const {
        auto made = std::make_shared<IndexSnapshot>();
        made->contents = std::move(contents);
        made->stamp = stamp;
        for (std::size_t i = 0; i < made->contents.links.size(); ++i)
            made->byRecord[made->contents.links[i].recno].push_back(i);
        snap = made;
        publishSnapshot(index, snap);
    }

    const IndexContents& current() const {
        const FileStamp stamp = stampOf(index);
        if (!snap || !(stamp == snap->stamp)) {
            if (auto known = sharedSnapshot(index, stamp))
                snap = std::move(known);
            else  // stamp first: a change landing between the stat and the read is seen next time
                setContents(stamp.exists ? readIndex(index) : IndexContents{}, stamp);
        }
        return snap->contents;
    }
    const std::unordered_map<std::uint32_t, std::vector<std::size_t>>& byRecord() const {
        current();
        return snap->byRecord;
    }

    Picture pictureOf(const IndexLink& link, int position) const {
        Picture p;
        p.recno = link.recno;
        p.position = position;
        p.file = link.file;
        p.path = folder + link.file;
        p.originalName = link.originalName;
        p.fingerprint = link.fingerprint;
        return p;
    }

    // Stores `bytes` under `file` unless a complete file of that name is there. Call locked.
    void storeFile(const QString& file, const QByteArray& bytes) const {
        const QString path = folder + file;
        if (QFileInfo(path).size() == bytes.size() && QFileInfo::exists(path)) return;
        writeFileAtomically(path, bytes);
    }

    // Runs `change` on the links read afresh under the lock, writes them back when `change`
    // returns true, and deletes the files no link names any more.
    void change(const std::function<bool(std::vector<IndexLink>&)>& apply,
                const std::function<void()>& beforeIndex = {}) {
        StoreLock lock(folder);
        if (beforeIndex) beforeIndex();
        IndexContents contents = readIndex(index);
        std::set<QString> before;
        for (const IndexLink& l : contents.links) before.insert(l.file);
        if (!apply(contents.links)) return;
        contents.damagedLines = 0;
        writeFileAtomically(index, formatIndex(contents.links));
        std::set<QString> after;
        for (const IndexLink& l : contents.links) after.insert(l.file);
        for (const QString& file : before)
            if (!after.count(file)) deleteStoredFile(file);
        setContents(std::move(contents), stampOf(index));
    }

    void deleteStoredFile(const QString& file) const {
        QFile::remove(folder + file);
        const QString stem = QFileInfo(file).completeBaseName();
        QDir thumbs(folder + kThumbnailFolder);
        if (!thumbs.exists()) return;
        for (const QString& t :
             thumbs.entryList({stem + QStringLiteral("-*")}, QDir::Files))
            thumbs.remove(t);
    }

    // Appends links for `incoming` to `recno`, skipping content it already has.
    static std::vector<std::size_t> appendLinks(std::vector<IndexLink>& links, std::uint32_t recno,
                                                const std::vector<Incoming>& incoming,
                                                const Fingerprint& fingerprint) {
        std::vector<std::size_t> added;
        for (const Incoming& in : incoming) {
            const bool has = std::any_of(links.begin(), links.end(), [&](const IndexLink& l) {
                return l.recno == recno && l.file == in.file;
            });
            if (has) continue;
            links.push_back({recno, in.file, fingerprint, in.originalName});
            added.push_back(links.size() - 1);
        }
        return added;
    }

    std::vector<Picture> addIncoming(std::uint32_t recno, const std::vector<Incoming>& incoming,
                                     const Fingerprint& fingerprint) {
        std::vector<IndexLink> addedLinks;
        change(
            [&](std::vector<IndexLink>& links) {
                for (std::size_t i : appendLinks(links, recno, incoming, fingerprint))
                    addedLinks.push_back(links[i]);
                return !addedLinks.empty();
            },
            [&] {
                for (const Incoming& in : incoming) storeFile(in.file, in.bytes);
            });
        std::vector<Picture> out;
        const auto found = snap->byRecord.find(recno);
        if (found == snap->byRecord.end()) return out;
        const auto& mine = found->second;
        for (const IndexLink& link : addedLinks)
            for (std::size_t k = 0; k < mine.size(); ++k)
                if (snap->contents.links[mine[k]].file == link.file)
                    out.push_back(pictureOf(snap->contents.links[mine[k]], static_cast<int>(k)));
        return out;
    }
};

PictureStore::PictureStore(const QString& tablePath) : impl_(std::make_unique<Impl>()) {
    impl_->table = QFileInfo(tablePath).absoluteFilePath();
    impl_->folder = storeFolder(tablePath);
    impl_->index = impl_->folder + kIndexName;
}

PictureStore::~PictureStore() = default;

std::vector<Picture> PictureStore::addIncoming(std::uint32_t recno,
                                               const std::vector<Incoming>& incoming,
                                               const Fingerprint& fingerprint) {
    return impl_->addIncoming(recno, incoming, fingerprint);
}

QString PictureStore::tablePath() const { return impl_->table; }
QString PictureStore::folder() const { return impl_->folder; }
QString PictureStore::indexPath() const { return impl_->index; }

std::vector<Picture> PictureStore::pictures(std::uint32_t recno) const {
    const IndexContents& c = impl_->current();
    std::vector<Picture> out;
    const auto& byRecord = impl_->snap->byRecord;
    const auto it = byRecord.find(recno);
    if (it == byRecord.end()) return out;
    out.reserve(it->second.size());
    for (std::size_t k = 0; k < it->second.size(); ++k)
        out.push_back(impl_->pictureOf(c.links[it->second[k]], static_cast<int>(k)));
    return out;
}

int PictureStore::count(std::uint32_t recno) const {
    const auto& byRecord = impl_->byRecord();
    const auto it = byRecord.find(recno);
    return it == byRecord.end() ? 0 : static_cast<int>(it->second.size());
}

std::vector<std::uint32_t> PictureStore::records() const {
    const auto& byRecord = impl_->byRecord();
    std::vector<std::uint32_t> out;
    out.reserve(byRecord.size());
    for (const auto& [recno, links] : byRecord) out.push_back(recno);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<Picture> PictureStore::all() const {
    std::vector<Picture> out;
    for (std::uint32_t recno : records()) {
        std::vector<Picture> some = pictures(recno);
        out.insert(out.end(), some.begin(), some.end());
    }
    return out;
}

bool PictureStore::empty() const { return impl_->current().links.empty(); }

int PictureStore::damagedLines() const { return impl_->current().damagedLines; }

namespace {

// Positions (in `links`) of the links of `recno`, in order.
std::vector<std::size_t> linksOf(const std::vector<IndexLink>& links, std::uint32_t recno) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < links.size(); ++i)
        if (links[i].recno == recno) out.push_back(i);
    return out;
}

}  // namespace

void PictureStore::remove(std::uint32_t recno, int position) {
    if (count(recno) == 0) return;
    impl_->change([&](std::vector<IndexLink>& links) {
        const auto mine = linksOf(links, recno);
        if (position < 0 || position >= static_cast<int>(mine.size())) return false;
        links.erase(links.begin() + static_cast<std::ptrdiff_t>(mine[position]));
        return true;
    });
}

void PictureStore::removeAll(std::uint32_t recno) {
    if (count(recno) == 0) return;
    impl_->change([&](std::vector<IndexLink>& links) {
        const auto size = links.size();
        std::erase_if(links, [recno](const IndexLink& l) { return l.recno == recno; });
        return links.size() != size;
    });
}

void PictureStore::moveToFirst(std::uint32_t recno, int position) {
    if (position <= 0 || position >= count(recno)) return;
    impl_->change([&](std::vector<IndexLink>& links) {
        const auto mine = linksOf(links, recno);
        if (position >= static_cast<int>(mine.size())) return false;
        // Rotate the record's first..chosen links so the chosen one takes the first place.
        IndexLink chosen = links[mine[position]];
        for (int k = position; k > 0; --k) links[mine[k]] = links[mine[k - 1]];
        links[mine[0]] = chosen;
        return true;
    });
}

void PictureStore::setFingerprint(std::uint32_t recno, const Fingerprint& fingerprint) {
    const auto mine = pictures(recno);
    if (std::all_of(mine.begin(), mine.end(),
                    [&](const Picture& p) { return p.fingerprint == fingerprint; }))
        return;
    impl_->change([&](std::vector<IndexLink>& links) {
        for (IndexLink& l : links)
            if (l.recno == recno) l.fingerprint = fingerprint;
        return true;
    });
}

void PictureStore::followChanges(const std::vector<FingerprintChange>& changes) {
    if (changes.empty() || empty()) return;
    // A record changed more than once in one run goes from its first state to its last.
    std::map<std::uint32_t, FingerprintChange> byRecord;
    for (const FingerprintChange& c : changes) {
        const auto [it, fresh] = byRecord.emplace(c.recno, c);
        if (!fresh) it->second.after = c.after;
    }
    impl_->change([&](std::vector<IndexLink>& links) {
        bool changed = false;
        for (IndexLink& l : links) {
            const auto it = byRecord.find(l.recno);
            if (it == byRecord.end() || l.fingerprint == it->second.after) continue;
            if (l.fingerprint.agreement(it->second.before) < kFingerprintKeeps) continue;
            l.fingerprint = it->second.after;
            changed = true;
        }
        return changed;
    });
}

void PictureStore::carryAcrossPack(const std::vector<std::uint32_t>& newNumbers) {
    if (empty()) return;
    std::uint32_t removed = 0;
    for (std::size_t i = 1; i < newNumbers.size(); ++i) removed += newNumbers[i] == 0 ? 1 : 0;
    impl_->change([&](std::vector<IndexLink>& links) {
        std::vector<IndexLink> kept;
        kept.reserve(links.size());
        for (IndexLink& l : links) {
            if (l.recno < newNumbers.size()) {
                if (newNumbers[l.recno] == 0) continue;
                l.recno = newNumbers[l.recno];
            } else {
                l.recno -= removed;
            }
            kept.push_back(std::move(l));
        }
        // Order by new number, keeping each record's pictures in their order.
        std::stable_sort(kept.begin(), kept.end(),
                         [](const IndexLink& a, const IndexLink& b) { return a.recno < b.recno; });
        links = std::move(kept);
        return true;
    });
}

std::vector<MovedPicture> PictureStore::checkLinks(const engine::Table& table) const {
    std::vector<MovedPicture> moved;
    const std::uint32_t count = table.physicalCount();
    for (const Picture& p : all()) {
        if (p.recno <= count &&
            fingerprintOf(table.record(p.recno)).agreement(p.fingerprint) >= kFingerprintKeeps)
            continue;
        moved.push_back({p, 0});
    }
    if (moved.empty()) return moved;
    // Every record's fingerprint once, to find the one that matches each moved link.
    std::unordered_map<QString, std::vector<std::uint32_t>> byPrint;
    for (std::uint32_t r = 1; r <= count; ++r)
        byPrint[fingerprintOf(table.record(r)).toText()].push_back(r);
    for (MovedPicture& m : moved) {
        const auto it = byPrint.find(m.picture.fingerprint.toText());
        if (it != byPrint.end() && it->second.size() == 1) m.candidate = it->second.front();
    }
    return moved;
}

void PictureStore::relink(std::uint32_t from, std::uint32_t to, const Fingerprint& fingerprint,
                          const QString& file) {
    if (from == to || to == 0) return;
    impl_->change([&](std::vector<IndexLink>& links) {
        std::vector<IndexLink> moving;
        std::vector<IndexLink> staying;
        for (IndexLink& l : links) {
            if (l.recno == from && (file.isEmpty() || l.file == file)) {
                l.recno = to;
                l.fingerprint = fingerprint;
                moving.push_back(std::move(l));
            } else {
                staying.push_back(std::move(l));
            }
        }
        if (moving.empty()) return false;
        for (IndexLink& l : moving) {
            const bool has = std::any_of(staying.begin(), staying.end(), [&](const IndexLink& s) {
                return s.recno == to && s.file == l.file;
            });
            if (!has) staying.push_back(std::move(l));
        }
        std::stable_sort(staying.begin(), staying.end(),
                         [](const IndexLink& a, const IndexLink& b) { return a.recno < b.recno; });
        links = std::move(staying);
        return true;
    });
}

std::vector<QString> PictureStore::copyRecordsTo(
    PictureStore& target, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& records,
    const engine::Table* targetTable) const {
    // One picture in memory at a time: each is written into the target as it is read, and the
    // links all go in with one write of the target's index.
    std::vector<QString> skipped;
    std::vector<NewLink> links;
    for (const auto& [here, there] : records) {
        for (const Picture& p : pictures(here)) {
            QFile file(p.path);
            if (!file.open(QIODevice::ReadOnly)) {
                skipped.push_back(p.path);
                continue;
            }
            target.storeIncoming({file.readAll(), p.file, p.originalName});
            links.push_back(
                {there, p.file, p.originalName,
                 targetTable ? fingerprintOf(targetTable->record(there)) : p.fingerprint});
        }
    }
    target.linkAll(links);
    return skipped;
}

QString PictureStore::storeIncoming(const Incoming& incoming) {
    StoreLock lock(impl_->folder);
    impl_->storeFile(incoming.file, incoming.bytes);
    return incoming.file;
}

void PictureStore::linkAll(const std::vector<NewLink>& add) {
    if (add.empty()) return;
    impl_->change([&](std::vector<IndexLink>& links) {
        std::set<std::pair<std::uint32_t, QString>> linked;
        for (const IndexLink& l : links) linked.emplace(l.recno, l.file);
        bool changed = false;
        for (const NewLink& n : add) {
            if (!linked.emplace(n.recno, n.file).second) continue;
            links.push_back({n.recno, n.file, n.fingerprint, n.originalName});
            changed = true;
        }
        std::stable_sort(links.begin(), links.end(), [](const IndexLink& a, const IndexLink& b) {
            return a.recno < b.recno;
        });
        return changed;
    });
}

void copyStoreFolder(const QString& fromTable, const QString& toFolder) {
    const QString from = storeFolder(fromTable);
    const QString index = from + kIndexName;
    if (!QFileInfo::exists(index)) return;
    const QString to = toFolder.endsWith(QLatin1Char('/')) ? toFolder : toFolder + QLatin1Char('/');
    StoreLock lock(from);  // no change of the source while it is copied
    if (!QDir().mkpath(to))
        throw PictureError(QStringLiteral("The picture folder \"%1\" cannot be created.")
                               .arg(QDir::toNativeSeparators(to)));
    const IndexContents contents = readIndex(index);
    std::set<QString> files;
    for (const IndexLink& l : contents.links) files.insert(l.file);
    for (const QString& file : files) {
        QFile source(from + file);
        if (!source.open(QIODevice::ReadOnly)) continue;  // a missing picture stays missing
        writeFileAtomically(to + file, source.readAll());
    }
    writeFileAtomically(to + kIndexName, formatIndex(contents.links));
}

}  // namespace pictures
