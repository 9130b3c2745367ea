// Where a collection's files are, given the path of its table.
//
// A collection is addressed by its folder (with a trailing "/") and its table name, the file
// name without its last extension; the base path is the two together, and every companion hangs
// off it: the index base + ".MDX" (the table engine names it the same way), the settings file
// base + ".INI", the data lists base + ".001" ... So "stamps.2023.DBF" and "stamps.2024.DBF"
// keep apart ("stamps.2023.INI", "stamps.2024.INI"), and a name with one dot ("MASTER.DBF" ->
// "MASTER") is addressed as ever. A companion that already exists with its extension in another
// letter case is found as it is. Pure path arithmetic on the absolute form of the path; nothing
// here touches the table.
#pragma once

#include <QString>

namespace collection {

// Text of the refusal when a chosen file does not end in ".DBF".
inline const QString kInvalidFileType = QStringLiteral("Invalid file type selected.");

struct CollectionPaths {
    QString table;         // absolute path of the .DBF
    QString folder;        // with trailing "/"
    QString tableName;     // file name without its last extension
    QString basePath;      // folder + table name
    QString indexPath;     // base + ".MDX"
    QString settingsPath;  // base + ".INI"
};

CollectionPaths collectionPaths(const QString& tablePath);

// `base` + `extension`, or an existing file of that name whose extension differs only in case.
QString companionFile(const QString& basePath, const QString& extension);

// True when both paths name the same file (through links and "..", when it exists).
bool sameFile(const QString& a, const QString& b);

// True when the last four characters, upper-cased, are ".DBF" (the test of Open and New).
bool hasDbfExtension(const QString& path);

}  // namespace collection
