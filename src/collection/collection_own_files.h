// The files that make up an open collection, which nothing the program writes for the user (an
// export, a report file) may ever replace: the table itself, its index (.MDX), memo file (.DBT),
// settings (.INI) and data lists (.001 ... .009), each found in any letter case.
//
// A target is one of them when it is the same file on disk (the same device and inode), so a
// different spelling of the path, a symbolic link or a hard link is caught as well as the name
// itself. A target that does not exist yet is none of them.
#pragma once

#include <QString>
#include <optional>

namespace collection {

struct OwnFile {
    QString path;  // the collection's file the target is
    QString role;  // "the table", "the index", "the settings file", ...
};

// The file of the collection whose table is at `tablePath` that `target` is, if any.
std::optional<OwnFile> collectionFileAt(const QString& tablePath, const QString& target);

// The refusal naming the target and what it is: ""s.MDX" is the index of the open collection
// "s.DBF"; writing there would destroy it.  Choose another file."
QString ownFileRefusal(const QString& target, const OwnFile& file, const QString& tablePath);

}  // namespace collection
