// Reading a small text file of a collection (a list, a settings file) without
// ever waiting on something that is not a file.
//
// Contract: readRegularFile() gives the whole content of `path` when it is a
// regular file. A missing or unreadable file gives nothing, as before; a FIFO,
// folder, device or socket is not opened for reading at all (a FIFO without a
// writer would block the program forever): it gives nothing and a warning
// naming it goes to the error stream.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace collection {

std::optional<QByteArray> readRegularFile(const QString& path);

}  // namespace collection
