#include "collection/settings_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace collection {

QString globalSettingsFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/tessellon"));
}

QString globalSettingsPath() {
    return globalSettingsFolder() + u'/' + QLatin1String(kGlobalSettingsFileName);
}

QString programDirectory() {
    const QString overridden = qEnvironmentVariable("TESSELLON_PROGRAM_DIR");
    if (!overridden.isEmpty()) return QDir::cleanPath(QDir(overridden).absolutePath());
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QFileInfo(exe).absolutePath();
}

}  // namespace collection
