#include "collection/collection_own_files.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <array>

namespace collection {

namespace {

struct Companion {
    const char* extension;
    const char* role;
};

constexpr std::array<Companion, 13> kCompanions = {{
    {"DBF", "the table"},
    {"MDX", "the index"},
    {"DBT", "the memo file"},
    {"INI", "the settings file"},
    {"001", "a data list"},
    {"002", "a data list"},
    {"003", "a data list"},
    {"004", "a data list"},
    {"005", "a data list"},
    {"006", "a data list"},
    {"007", "a data list"},
    {"008", "a data list"},
    {"009", "a data list"},
}};

bool statOf(const QString& path, struct stat& st) {
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

// Looks in `folder` for companions of the table named `tableName` that are the file `target`.
std::optional<OwnFile> findIn(const QString& folder, const QString& tableName,
                              const struct stat& target) {
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& name : names) {
        if (name.size() != tableName.size() + 4 || name[tableName.size()] != QLatin1Char('.') ||
            !name.startsWith(tableName, Qt::CaseInsensitive))
            continue;
        const QString extension = name.right(3);
        for (const Companion& c : kCompanions) {
            if (extension.compare(QLatin1String(c.extension), Qt::CaseInsensitive) != 0) continue;
            const QString path = folder + QLatin1Char('/') + name;
            struct stat st {};
            if (statOf(path, st) && st.st_dev == target.st_dev && st.st_ino == target.st_ino)
                return OwnFile{path, QString::fromLatin1(c.role)};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<OwnFile> collectionFileAt(const QString& tablePath, const QString& target) {
    struct stat targetStat {};
    if (!statOf(target, targetStat)) return std::nullopt;  // a new file harms nothing
    struct stat tableStat {};
    const QFileInfo table(tablePath);
    if (statOf(tablePath, tableStat) && tableStat.st_dev == targetStat.st_dev &&
        tableStat.st_ino == targetStat.st_ino)
        return OwnFile{table.absoluteFilePath(), QStringLiteral("the table")};
    const QString tableName = table.completeBaseName();
    if (auto found = findIn(table.absolutePath(), tableName, targetStat)) return found;
    // A table opened through a link keeps companions beside the file the link names too.
    const QFileInfo real(table.canonicalFilePath());
    if (!real.filePath().isEmpty() && real.absolutePath() != table.absolutePath())
        return findIn(real.absolutePath(), real.completeBaseName(), targetStat);
    return std::nullopt;
}

QString ownFileRefusal(const QString& target, const OwnFile& file, const QString& tablePath) {
    return QStringLiteral(
               "\"%1\" is %2 of the open collection \"%3\"; writing there would destroy it.  "
               "Choose another file.")
        .arg(QDir::toNativeSeparators(target), file.role,
             QDir::toNativeSeparators(QFileInfo(tablePath).absoluteFilePath()));
}

}  // namespace collection
