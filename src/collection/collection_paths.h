// Where a collection's files are, given the path of its table.
//
// A collection is addressed by its folder (with a trailing "/") and its table name, the file
// name up to its first "."; the base path is the two together, and the companions hang off it:
// the index base + ".MDX", the settings file base + ".INI". A companion that already exists with
// its extension in another letter case is found as it is. Pure path arithmetic on the absolute
// form of the path; nothing here touches the table.
#pragma once

#include <QString>

namespace collection {

// Text of the refusal when a chosen file does not end in ".DBF".
inline const QString kInvalidFileType = QStringLiteral("Invalid file type selected.");

struct CollectionPaths {
    QString table;         // absolute path of the .DBF
    QString folder;        // with trailing "/"
    QString tableName;     // file name up to its first "."
    QString basePath;      // folder + table name
    QString indexPath;     // base + ".MDX"
    QString settingsPath;  // base + ".INI"
};

CollectionPaths collectionPaths(const QString& tablePath);

// `base` + `extension`, or an existing file of that name whose extension differs only in case.
QString companionFile(const QString& basePath, const QString& extension);

// True when the last four characters, upper-cased, are ".DBF" (the test of Open and New).
bool hasDbfExtension(const QString& path);

}  // namespace collection
