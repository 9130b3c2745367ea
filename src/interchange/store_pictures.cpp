#include "interchange/store_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <stdexcept>

#include "collection/collection_paths.h"
#include "collection/stamp_schema.h"
#include "engine/table.h"
#include "pictures/folder_swap.h"
#include "pictures/picture_index.h"

namespace interchange {

namespace {

QString withoutSlash(QString folder) {
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

}  // namespace

QString textExportPictureFolder(const QString& exportPath) {
    const QFileInfo info(exportPath);
    // The separator of the picture column never appears in the folder's name.
    QString base = info.completeBaseName();
    base.replace(QLatin1Char(kPictureSeparator), QLatin1Char('_'));
    const QString dir = info.absolutePath() + u'/';
    const QString plain = dir + base + QStringLiteral("-pictures");
    // A collection of that name keeps its store there: its files come and go with its links.
    const bool storeThere =
        QFileInfo::exists(plain + QStringLiteral("/pictures.idx")) ||
        QFileInfo::exists(collection::companionFile(dir + base, QStringLiteral(".DBF")));
    return storeThere ? dir + base + QStringLiteral("-text-pictures") : plain;
}

StoreExportPictures::StoreExportPictures(const QString& sourceTable, const QString& target,
                                         ExportKind kind)
    : store_(sourceTable), kind_(kind), target_(QFileInfo(target).absoluteFilePath()) {
    if (kind_ == ExportKind::Text) {
        folder_ = textExportPictureFolder(target_);
        folderName_ = QFileInfo(folder_).fileName();
    }
}

StoreExportPictures::~StoreExportPictures() {
    if (!staged_.isEmpty()) QDir(staged_).removeRecursively();
    if (done_) return;
    for (const QString& file : created_) QFile::remove(file);
    if (madeFolder_) QDir().rmdir(folder_);
}

bool StoreExportPictures::readable(const pictures::Picture& p) {
    if (QFileInfo(p.path).isReadable()) return true;
    if (missingFiles_.insert(p.file).second) {
        ++outcome_.missing;
        if (outcome_.missingNames.size() < kMissingPicturesNamed)
            outcome_.missingNames.push_back(QDir::toNativeSeparators(p.path).toStdString());
    }
    return false;
}

std::string StoreExportPictures::column(std::uint32_t recno) {
    QStringList names;
    for (const pictures::Picture& p : store_.pictures(recno)) {
        if (!readable(p)) continue;
        const QString to = folder_ + u'/' + p.file;
        if (copied_.insert(p.file).second) {
            QFile from(p.path);
            if (!from.open(QIODevice::ReadOnly))
                fail(QStringLiteral("The picture \"%1\" cannot be read: %2")
                         .arg(QDir::toNativeSeparators(p.path), from.errorString()));
            const QByteArray bytes = from.readAll();
            // Named by content: a file of that name and size is this picture already.
            if (QFileInfo(to).size() != bytes.size() || !QFileInfo::exists(to)) {
                if (!QFileInfo(folder_).isDir()) {
                    if (!QDir().mkpath(folder_))
                        fail(QStringLiteral("The folder \"%1\" cannot be created.")
                                 .arg(QDir::toNativeSeparators(folder_)));
                    madeFolder_ = true;
                }
                try {
                    pictures::writeFileAtomically(to, bytes);
                } catch (const pictures::PictureError& e) {
                    fail(e.message());
                }
                created_.push_back(to);
            }
        }
        names.append(folderName_ + u'/' + p.file);
    }
    return names.join(QLatin1Char(kPictureSeparator)).toStdString();
}

void StoreExportPictures::carried(std::uint32_t recno, std::uint32_t newRecno) {
    bool any = false;
    for (const pictures::Picture& p : store_.pictures(recno)) any = readable(p) || any;
    if (any) carried_.emplace_back(recno, newRecno);
}

std::vector<ExportedPicture> StoreExportPictures::pictures(std::uint32_t recno) {
    std::vector<ExportedPicture> out;
    for (const pictures::Picture& p : store_.pictures(recno)) {
        if (!readable(p)) continue;
        ExportedPicture picture;
        picture.path = p.path;
        picture.extension = QFileInfo(p.file).suffix().toLower();
        picture.size = QImageReader(p.path).size();
        out.push_back(std::move(picture));
    }
    return out;
}

int StoreExportPictures::mostPictures() {
    int most = 0;
    for (std::uint32_t recno : store_.records()) most = std::max(most, store_.count(recno));
    return most;
}

void StoreExportPictures::stage(engine::Table* written) {
    if (kind_ != ExportKind::Dbase) return;
    // Checked before the table is put in place: the store could not follow it there.
    const QString place = withoutSlash(pictures::storeFolder(target_));
    if (QFileInfo::exists(place) && !QFileInfo(place).isDir())
        fail(QStringLiteral("\"%1\" is in the way of the table's picture folder.")
                 .arg(QDir::toNativeSeparators(place)));
    if (!written || carried_.empty()) return;
    const QString temporaryTable = QString::fromStdString(written->path());
    staged_ = withoutSlash(pictures::storeFolder(temporaryTable));
    QDir(staged_).removeRecursively();
    pictures::PictureStore target(temporaryTable);
    // Fingerprints are read by the stamp table's field places: a table of other fields keeps
    // the source records' own.
    bool stampLayout = written->fieldCount() == collection::kFieldCount;
    for (int f = 0; stampLayout && f < collection::kFieldCount; ++f)
        stampLayout =
            QString::fromStdString(written->fields()[std::size_t(f)].name)
                .compare(QLatin1String(collection::schemaField(f + 1).name.data(),
                                       qsizetype(collection::schemaField(f + 1).name.size())),
                         Qt::CaseInsensitive) == 0;
    try {
        store_.copyRecordsTo(target, carried_, stampLayout ? written : nullptr);
    } catch (const pictures::PictureError& e) {
        fail(e.message());
    }
}

void StoreExportPictures::putInPlace() {
    done_ = true;
    if (kind_ != ExportKind::Dbase) return;
    const QString place = withoutSlash(pictures::storeFolder(target_));
    if (staged_.isEmpty()) {
        // The replaced table's store names records of a table that is gone.
        if (QFileInfo(place).isDir()) QDir(place).removeRecursively();
        return;
    }
    if (!pictures::putFolderInPlace(staged_, place))
        fail(QStringLiteral("The pictures could not be put in place in \"%1\".")
                 .arg(QDir::toNativeSeparators(place)));
    // After a swap the staged name holds the old store (removed with this object); after a
    // rename nothing is left there.
    if (!QFileInfo(staged_).isDir()) staged_.clear();
}

StoreImportPictures::StoreImportPictures(const QString& tablePath, const QString& sourcePath)
    : store_(tablePath), sourceFolder_(QFileInfo(sourcePath).absolutePath()) {}

void StoreImportPictures::link(const engine::Table& table, std::uint32_t recno, const QString& file,
                               const QString& name) {
    // The same picture twice for one stamp is one of its pictures.
    for (auto it = links_.rbegin(); it != links_.rend() && it->recno == recno; ++it)
        if (it->file == file) return;
    links_.push_back({recno, file, name, pictures::fingerprintOf(table.record(recno))});
    ++outcome_.added;
}

void StoreImportPictures::addNamed(const engine::Table& table, std::uint32_t recno,
                                   std::string_view column) {
    const QString text = QString::fromUtf8(column.data(), qsizetype(column.size()));
    for (const QString& part : text.split(QLatin1Char(kPictureSeparator))) {
        const QString name = part.trimmed();
        if (name.isEmpty()) continue;
        const QString path = QDir(sourceFolder_).absoluteFilePath(name);
        try {
            link(table, recno, store_.storeFile(path), QFileInfo(path).fileName());
        } catch (const pictures::PictureError&) {
            missed(name.toStdString());
        }
    }
}

void StoreImportPictures::addBytes(const engine::Table& table, std::uint32_t recno,
                                   const QByteArray& bytes, const QString& name) {
    try {
        link(table, recno, store_.storeBytes(bytes, name), name);
    } catch (const pictures::PictureError&) {
        missed(name.toStdString());
    }
}

void StoreImportPictures::missed(const std::string& name) {
    ++outcome_.missing;
    if (outcome_.missingNames.size() < kMissingPicturesNamed) outcome_.missingNames.push_back(name);
}

void StoreImportPictures::finish() {
    std::vector<pictures::PictureStore::NewLink> links;
    links.swap(links_);
    try {
        store_.linkAll(links);
    } catch (const pictures::PictureError& e) {
        fail(e.message());
    }
}

}  // namespace interchange
