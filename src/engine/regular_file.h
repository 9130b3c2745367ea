// Opening the files a table consists of without ever blocking on something
// that is not a file.
//
// Contract: openRegularFile() opens `path` like ::open(path, flags, mode) but
// never waits (a FIFO without a writer, a device), and accepts only a regular
// file: anything else (FIFO, folder, device, socket) is closed again and
// refused with an EngineError naming the path and what it is. A failure of
// the open itself returns -1 with errno set, as ::open does, so callers keep
// their own messages for a missing or unreadable file.
#pragma once

#include <string>

namespace engine {

int openRegularFile(const std::string& path, int flags, unsigned mode = 0644);

// "a FIFO", "a folder", ...: what the file at `path` is when it exists and is
// not a regular file; empty otherwise.
std::string nonRegularKind(const std::string& path);

}  // namespace engine
