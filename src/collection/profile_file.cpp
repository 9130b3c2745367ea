#include "collection/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

#include "collection/regular_file_read.h"
#include "collection/text_decoding.h"

namespace collection {

namespace {

std::optional<QString> sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'[')) return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    return t.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

bool isComment(const QString& line) {
    return line.trimmed().startsWith(u';');
}

// Position of the "=" of a key line, or -1 for any other line.
qsizetype equalsSign(const QString& line) {
    if (isComment(line) || sectionName(line)) return -1;
    return line.indexOf(u'=');
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

// WriteUser is left out of the bits: it reports what the current user may do, not how the file
// is marked.
bool markedReadOnly(const QFileInfo& info) {
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.exists() && (!(info.permissions() & anyWrite) || !info.isWritable());
}

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {
    const QByteArray bytes = readRegularFile(path_).value_or(QByteArray());
    if (bytes.isEmpty()) return;
    crlf_ = bytes.contains("\r\n");
    lines_ = decodeTextFile(bytes).split(u'\n');
    for (QString& line : lines_)
        if (line.endsWith(u'\r')) line.chop(1);
    // A final line end leaves an empty last element that is not a line.
    if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();
}

ProfileFile::KeyLine ProfileFile::find(const QString& section, const QString& key) const {
    KeyLine found;
    bool inSection = false;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QString& line = lines_[i];
        if (const auto name = sectionName(line)) {
            if (inSection) break;  // only the first matching section counts
            inSection = sameName(*name, section);
            if (inSection) found.sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        const qsizetype eq = equalsSign(line);
        if (eq < 0) continue;
        found.sectionEnd = i + 1;
        if (found.line < 0 && sameName(line.left(eq).trimmed(), key)) found.line = i;
    }
    return found;
}

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int maxChars) const {
    const KeyLine found = find(section, key);
    if (found.line < 0) return defaultValue;
    const QString& line = lines_[found.line];
    return cutToChars(line.mid(equalsSign(line) + 1), maxChars);
}

bool ProfileFile::contains(const QString& section, const QString& key) const {
    return find(section, key).line >= 0;
}

void ProfileFile::write(const QString& section, const QString& key, const QString& value) {
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    const KeyLine found = find(section, key);
    if (found.line >= 0) {
        QString& line = lines_[found.line];
        line = line.left(equalsSign(line) + 1) + oneLine;
        return;
    }
    const QString newLine = key + u'=' + oneLine;
    if (found.sectionEnd >= 0) {
        lines_.insert(found.sectionEnd, newLine);
        return;
    }
    if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty()) lines_.append(QString());
    lines_.append(u'[' + section + u']');
    lines_.append(newLine);
}

bool ProfileFile::save() const {
    const QFileInfo info(path_);
    if (markedReadOnly(info)) return false;
    const QString eol = crlf_ ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const QString& line : lines_) text += line + eol;

    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace collection
