#include "safekeeping/safe_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace safekeeping {

namespace {

constexpr std::size_t kBlock = 1 << 16;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString tempPrefix(const QString& target) {
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() +
           QStringLiteral(".tess-copy-");
}

// Temporary files of earlier copies of this name that never finished (a killed process).
void removeLeftovers(const QString& target) {
    const QFileInfo info(target);
    const QString pattern = QStringLiteral(".") + info.fileName() + QStringLiteral(".tess-copy-*");
    QDir folder(info.absolutePath());
    for (const QString& name : folder.entryList({pattern}, QDir::Files | QDir::Hidden))
        folder.remove(name);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

void syncFolder(const QString& folder) {
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A failed write, flush or close: out of room, or any other failure.
CopyOutcome writeFailure() {
    return errno == ENOSPC || errno == EDQUOT ? CopyOutcome::NoRoom : CopyOutcome::WriteFailed;
}

}  // namespace

QString resolvedTarget(const QString& destination) {
    const QFileInfo info(destination);
    if (!info.isSymLink()) return destination;
    char resolved[PATH_MAX];
    if (::realpath(native(destination).constData(), resolved)) return QFile::decodeName(resolved);
    // A dangling link: write where it points.
    return info.symLinkTarget();
}

CopyOutcome copyFileSafely(const QString& source, const QString& destination) {
    const int in = ::open(native(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return CopyOutcome::SourceUnreadable;
    struct stat sourceStat {};
    ::fstat(in, &sourceStat);

    const QString target = resolvedTarget(destination);
    removeLeftovers(target);
    QByteArray temp = native(tempPrefix(target)) + "XXXXXX";
    const int out = ::mkostemp(temp.data(), O_CLOEXEC);
    if (out < 0) {
        ::close(in);
        return CopyOutcome::DestinationUnwritable;
    }
    ::fchmod(out, sourceStat.st_mode & 0666);

    CopyOutcome outcome = CopyOutcome::Copied;
    std::vector<char> buffer(kBlock);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            outcome = CopyOutcome::SourceUnreadable;
            break;
        }
        if (n == 0) break;
        if (!writeAll(out, buffer.data(), std::size_t(n))) {
            outcome = writeFailure();
            break;
        }
    }
    ::close(in);
    if (outcome == CopyOutcome::Copied && ::fsync(out) != 0) outcome = writeFailure();
    if (::close(out) != 0 && outcome == CopyOutcome::Copied) outcome = writeFailure();
    if (outcome == CopyOutcome::Copied &&
        ::rename(temp.constData(), native(target).constData()) != 0)
        outcome = CopyOutcome::WriteFailed;
    if (outcome != CopyOutcome::Copied) {
        ::unlink(temp.constData());
        return outcome;
    }
    syncFolder(QFileInfo(target).absolutePath());
    return outcome;
}

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    if (::stat(native(a).constData(), &sa) != 0 || ::stat(native(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

qint64 fileSize(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.size() : 0;
}

bool roomForCopy(qint64 sourceSize, qint64 freeBytes) {
    return freeBytes < 0 || freeBytes >= sourceSize;
}

}  // namespace safekeeping
