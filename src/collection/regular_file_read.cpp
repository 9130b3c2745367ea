#include "collection/regular_file_read.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QtGlobal>

#include "engine/error.h"
#include "engine/regular_file.h"

namespace collection {

std::optional<QByteArray> readRegularFile(const QString& path) {
    int fd = -1;
    try {
        fd = engine::openRegularFile(QFile::encodeName(path).toStdString(), O_RDONLY);
    } catch (const engine::EngineError& e) {
        qWarning("%s", e.what());
        return std::nullopt;
    }
    if (fd < 0) return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return file.readAll();
}

}  // namespace collection
