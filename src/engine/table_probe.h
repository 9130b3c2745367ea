// Looking at a table file from outside, without changing it.
//
// Validation and the in-use test must be able to look at any file the user picks (a text file
// named .DBF, another program's table, a damaged copy) without writing a byte into it and without
// keeping it open. Both open the file read-only and take the advisory lock a Table would take only
// for as long as they look: a shared lock to read the header (refused while another open holds the
// table exclusively), an exclusive one to test whether anyone holds it at all.
#pragma once

#include <string>

#include "engine/dbf_header.h"
#include "engine/error.h"

namespace engine {

// Raised when another open of the table (another program, or another Table of this process) holds
// it exclusively, so that even a shared open is refused.
class TableInUseError : public EngineError {
  public:
    explicit TableInUseError(const std::string& path)
        : EngineError("The table \"" + path + "\" is in use by another program.") {}
};

// The header and field list of the table at `path`. Throws TableInUseError while another open
// holds it exclusively, EngineError when the file is missing, unreadable, damaged or not a dBase
// table.
DbfLayout readTableLayout(const std::string& path);

// True when an exclusive open of `path` would be refused because another open holds the table
// (shared or exclusive), or another program holds a POSIX lock on it or its index. False when
// nobody holds it, and also when the file cannot be opened at all: whatever comes next (an open, a
// replacement) reports that failure for what it is.
bool tableHeld(const std::string& path);

}  // namespace engine
