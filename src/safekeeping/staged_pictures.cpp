#include "safekeeping/staged_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "pictures/folder_swap.h"
#include "pictures/picture_store.h"

namespace safekeeping {

namespace {

const QString kPrefix = QStringLiteral(".tess-pictures-");

QString withoutSlash(QString folder) {
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

void removeLeftovers(const QString& folder) {
    QDir dir(folder);
    for (const QString& name :
         dir.entryList({kPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(dir.filePath(name)).removeRecursively();
}

}  // namespace

StagedPictures::StagedPictures(const QString& fromTable, const QString& toTable)
    : target_(withoutSlash(pictures::storeFolder(toTable))) {
    const QString source = withoutSlash(pictures::storeFolder(fromTable));
    if (!QFileInfo(source).isDir()) return;
    const QString parent = QFileInfo(target_).absolutePath();
    removeLeftovers(parent);
    QTemporaryDir staging(parent + u'/' + kPrefix + QStringLiteral("XXXXXX"));
    if (!staging.isValid()) {
        failure_ = QStringLiteral("The pictures cannot be copied into \"") + parent +
                   QStringLiteral("\": ") + staging.errorString() + u'.';
        return;
    }
    try {
        pictures::copyStoreFolder(fromTable, staging.path());
    } catch (const pictures::PictureError& e) {
        failure_ = e.message();
        return;
    }
    staging.setAutoRemove(false);
    staged_ = staging.path();
}

StagedPictures::~StagedPictures() {
    if (!staged_.isEmpty()) QDir(staged_).removeRecursively();
}

bool StagedPictures::putInPlace() {
    if (staged_.isEmpty()) return failure_.isEmpty();
    const bool exists = QFileInfo(target_).isDir();
    if (!pictures::putFolderInPlace(staged_, target_)) {
        failure_ = QStringLiteral("The pictures could not be put in place in \"") + target_ +
                   QStringLiteral("\".");
        return false;
    }
    // After an exchange the hidden name holds the old store, deleted with the object; after a
    // rename nothing is left there.
    if (!exists) staged_.clear();
    return true;
}

}  // namespace safekeeping
