#include "pictures/folder_swap.h"

#include <fcntl.h>
#include <stdio.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace pictures {

namespace {

bool exchange(const QString& staged, const QString& target) {
    const QByteArray from = QFile::encodeName(staged), to = QFile::encodeName(target);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return false;
    const QByteArray aside = QFile::encodeName(staged + QStringLiteral("-old"));
    if (::rename(to.constData(), aside.constData()) != 0) return false;
    if (::rename(from.constData(), to.constData()) != 0) {
        ::rename(aside.constData(), to.constData());
        return false;
    }
    // The old folder now goes where the caller clears it.
    return ::rename(aside.constData(), from.constData()) == 0 ||
           QDir(QFile::decodeName(aside)).removeRecursively();
}

}  // namespace

bool putFolderInPlace(const QString& staged, const QString& target) {
    if (QFileInfo(target).isDir()) return exchange(staged, target);
    return ::rename(QFile::encodeName(staged).constData(), QFile::encodeName(target).constData()) ==
           0;
}

}  // namespace pictures
