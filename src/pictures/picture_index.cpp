#include "pictures/picture_index.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <optional>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pictures {

namespace {

const QByteArray kHeader = QByteArrayLiteral("Tessellon pictures 1");

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

namespace {

// The parts of one line, split at tabs, without copying.
std::vector<QByteArrayView> splitTabs(QByteArrayView line) {
    std::vector<QByteArrayView> parts;
    qsizetype from = 0;
    for (qsizetype tab; (tab = line.indexOf('\t', from)) >= 0; from = tab + 1)
        parts.push_back(line.sliced(from, tab - from));
    parts.push_back(line.sliced(from));
    return parts;
}

std::optional<std::uint32_t> hexWord(QByteArrayView digits) {
    if (digits.size() != 8) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
        int v = -1;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        if (v < 0) return std::nullopt;
        value = value << 4 | std::uint32_t(v);
    }
    return value;
}

// "xxxxxxxx-xxxxxxxx-xxxxxxxx-xxxxxxxx" (as Fingerprint::toText writes it).
bool parseFingerprint(QByteArrayView text, Fingerprint& out) {
    if (text.size() != 35) return false;
    Fingerprint f;
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && text[i * 9 - 1] != '-') return false;
        const auto word = hexWord(text.sliced(i * 9, 8));
        if (!word) return false;
        f.parts[std::size_t(i)] = *word;
    }
    out = f;
    return true;
}

}  // namespace

// Read with views into the file's bytes: an index of 20,000 links is read while the main
// window opens, so no line is copied or split into lists of its own.
IndexContents parseIndex(const QByteArray& text) {
    IndexContents out;
    out.links.reserve(std::size_t(text.count('\n')) + 1);
    QByteArrayView rest(text);
    bool first = true;
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (line.endsWith('\r')) line.chop(1);
        if (first) {
            first = false;
            if (line == kHeader) continue;
        }
        if (line.isEmpty()) continue;
        const std::vector<QByteArrayView> parts = splitTabs(line);
        IndexLink link;
        bool ok = parts.size() >= 3;
        if (ok) link.recno = parts[0].toUInt(&ok);
        if (ok) ok = link.recno > 0;
        if (ok) link.file = QString::fromUtf8(parts[1]);
        if (ok) ok = isPlainFileName(link.file);
        if (ok) ok = parseFingerprint(parts[2], link.fingerprint);
        if (!ok) {
            ++out.damagedLines;
            continue;
        }
        if (parts.size() >= 4) {
            const QByteArrayView name = parts[3];
            link.originalName = name.contains('%')
                                    ? QUrl::fromPercentEncoding(name.toByteArray())
                                    : QString::fromUtf8(name);
        }
        if (link.originalName.isEmpty()) link.originalName = link.file;
        out.links.push_back(std::move(link));
    }
    return out;
}

QByteArray formatIndex(const std::vector<IndexLink>& links) {
    QByteArray out = kHeader;
    out += '\n';
    out.reserve(out.size() + static_cast<qsizetype>(links.size()) * 120);
    for (const IndexLink& link : links) {
        out += QByteArray::number(link.recno);
        out += '\t';
        out += link.file.toUtf8();
        out += '\t';
        out += link.fingerprint.toText().toLatin1();
        out += '\t';
        out += QUrl::toPercentEncoding(link.originalName, " ()[]&'+,;=!~@$");
        out += '\n';
    }
    return out;
}

IndexContents readIndex(const QString& path) {
    QFile file(path);
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly))
        throw PictureError(QStringLiteral("The picture index \"%1\" cannot be read: %2")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    return parseIndex(file.readAll());
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral(".%1.tmp").arg(::getpid());
    const QByteArray tempName = QFile::encodeName(temp);
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0;
    QString why;
    if (ok) {
        ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
        if (!ok) why = systemError();
        ::close(fd);
    } else {
        why = systemError();
    }
    if (ok && ::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0) {
        ok = false;
        why = systemError();
    }
    if (!ok) {
        ::unlink(tempName.constData());
        throw PictureError(QStringLiteral("\"%1\" cannot be written: %2")
                               .arg(QDir::toNativeSeparators(path), why));
    }
    syncFolder(info.absolutePath());
}

StoreLock::StoreLock(const QString& folder) {
    if (!QDir().mkpath(folder))
        throw PictureError(QStringLiteral("The picture folder \"%1\" cannot be created.")
                               .arg(QDir::toNativeSeparators(folder)));
    const QByteArray name = QFile::encodeName(QDir(folder).filePath(QStringLiteral("pictures.lock")));
    fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw PictureError(QStringLiteral("The picture folder \"%1\" cannot be written: %2")
                               .arg(QDir::toNativeSeparators(folder), systemError()));
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

StoreLock::~StoreLock() {
    if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
}

}  // namespace pictures
