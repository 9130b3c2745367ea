// A profile ("INI") file of sections and keys, read and written in place.
//
// The file is loaded whole when the object is made and kept as its lines, so
// that writing a key changes only that key's line: comments, blank lines,
// unknown sections and the order of keys stay as they were. Section and key
// names are compared without regard to letter case; the first matching
// section and, within it, the first matching key count.
//
// A line "name=value" holds a key: the name is trimmed, the value is every
// character after the first "=" exactly as written (no quoting, no escaping,
// spaces kept). A line whose first non-blank character is ";" is a comment.
// Lines may end in LF or CR LF; a file written again keeps CR LF when it had
// them. Reading takes UTF-8 when the bytes are valid UTF-8, else Windows-1252;
// writing is always UTF-8.
//
// Failures: a missing or unreadable file reads as empty. save() writes to a
// temporary file in the same folder and renames it over the file, so the file
// is either the old or the new text; when the file or its folder cannot be
// written (or the file is marked read-only) save() writes nothing, leaves the
// file alone and returns false. Callers of the settings ignore that result.
#pragma once

#include <QString>
#include <QStringList>

class QFileInfo;

namespace collection {

// True when the file or folder exists and cannot be written: the system refuses it (a read-only
// mount, no permission), or it carries no write permission bit at all, which counts as marked
// read-only even for a user (root) whom the system would let write it.
bool markedReadOnly(const QFileInfo& info);

class ProfileFile {
  public:
    explicit ProfileFile(QString path);

    const QString& path() const { return path_; }

    // The value of `key` in `section`, cut to `maxChars` characters (negative:
    // no limit), or `defaultValue` when the section or key is missing.
    QString read(const QString& section, const QString& key, const QString& defaultValue = {},
                 int maxChars = -1) const;
    bool contains(const QString& section, const QString& key) const;

    // Sets `key` in `section`, adding the section (at the end) and the key (after
    // the section's last key) when missing. Line breaks in `value` become blanks
    // so that a value can never add lines of its own. Names must not contain
    // "=", "[" or "]" or line breaks.
    void write(const QString& section, const QString& key, const QString& value);

    // Writes the current text to disk; see the failure rules above.
    bool save() const;

    // The file's lines as they would be saved (without line ends).
    const QStringList& lines() const { return lines_; }

  private:
    struct KeyLine {
        qsizetype line = -1;
        qsizetype sectionEnd = -1;  // index after the section's last key line
    };
    KeyLine find(const QString& section, const QString& key) const;

    QString path_;
    QStringList lines_;
    bool crlf_ = false;
};

}  // namespace collection
