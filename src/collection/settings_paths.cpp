#include "collection/settings_paths.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace collection {

namespace {

// An XDG base folder from the environment, or `fallback` under the home folder when the variable
// is unset, empty or relative (the XDG rule: relative values are ignored).
QString xdgFolder(const char* variable, const QString& fallback) {
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + u'/' + fallback;
    return QDir::cleanPath(base + QStringLiteral("/tessellon"));
}

bool writableFolder(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

}  // namespace

QString globalSettingsFolder() {
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString globalSettingsPath() {
    return globalSettingsFolder() + u'/' + QLatin1String(kGlobalSettingsFileName);
}

QString userDataDirectory() {
    return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString executableDirectory() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QFileInfo(exe).absolutePath();
}

QString sharedDataDirectory() {
    const QString shared =
        QDir::cleanPath(executableDirectory() + QStringLiteral("/../share/tessellon"));
    return QFileInfo(shared).isDir() ? shared : QString();
}

QString programDirectory() {
    const QString overridden = qEnvironmentVariable("TESSELLON_PROGRAM_DIR");
    if (!overridden.isEmpty()) return QDir::cleanPath(QDir(overridden).absolutePath());
    if (!sharedDataDirectory().isEmpty()) return userDataDirectory();
    const QString exeDir = executableDirectory();
    return writableFolder(exeDir) ? exeDir : userDataDirectory();
}

QString fileDialogStartFolder(const QString& collectionPath) {
    const QString folder = QFileInfo(collectionPath).absolutePath();
    const QDir here(folder);
    const bool dataFolder = here == QDir(userDataDirectory()) ||
                            (here == QDir(programDirectory()) &&
                             QDir(programDirectory()) != QDir(executableDirectory()));
    if (!collectionPath.isEmpty() && !dataFolder) return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

bool prepareProgramDirectory(QString* error) {
    const QString folder = programDirectory();
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("Cannot create the folder %1.").arg(folder);
        return false;
    }
    const QString shared = sharedDataDirectory();
    if (shared.isEmpty() || QDir(shared) == QDir(folder)) return true;
    const QDir source(shared);
    for (const QString& name : source.entryList(QDir::Files)) {
        const QString target = folder + u'/' + name;
        if (!QFileInfo::exists(target)) QFile::copy(source.filePath(name), target);
    }
    return true;
}

}  // namespace collection
