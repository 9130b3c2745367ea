#include "collection/collection_paths.h"

#include <QDir>
#include <QFileInfo>

namespace collection {

CollectionPaths collectionPaths(const QString& tablePath) {
    const QFileInfo info(tablePath);
    CollectionPaths p;
    p.table = info.absoluteFilePath();
    p.folder = info.absolutePath();
    if (!p.folder.endsWith(QLatin1Char('/'))) p.folder += QLatin1Char('/');
    p.tableName = info.completeBaseName();
    p.basePath = p.folder + p.tableName;
    p.indexPath = companionFile(p.basePath, QStringLiteral(".MDX"));
    p.settingsPath = companionFile(p.basePath, QStringLiteral(".INI"));
    return p;
}

QString companionFile(const QString& basePath, const QString& extension) {
    const QString wanted = basePath + extension;
    if (QFileInfo(wanted).isFile()) return wanted;
    const QFileInfo base(basePath);
    const QString prefix = base.fileName() + QLatin1Char('.');
    const QStringList names = QDir(base.absolutePath()).entryList(QDir::Files);
    for (const QString& name : names) {
        if (name.startsWith(prefix) && name.size() == prefix.size() + extension.size() - 1 &&
            name.endsWith(extension, Qt::CaseInsensitive))
            return base.absolutePath() + QLatin1Char('/') + name;
    }
    return wanted;
}

bool sameFile(const QString& a, const QString& b) {
    const QFileInfo first(a), second(b);
    const QString canonical = first.canonicalFilePath();
    if (!canonical.isEmpty()) return canonical == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

bool hasDbfExtension(const QString& path) {
    return path.right(4).toUpper() == QLatin1String(".DBF");
}

}  // namespace collection
