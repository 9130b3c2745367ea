// Small text helpers the companion's verbs share: a value quoted as dump prints it, and a path
// made absolute.
#pragma once

#include <QFileInfo>
#include <QString>
#include <string>

namespace cli {

// `s` in double quotes, its own double quotes doubled.
inline std::string quoted(const std::string& s) {
    std::string r = "\"";
    for (char c : s) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

inline std::string absolute(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}

}  // namespace cli
