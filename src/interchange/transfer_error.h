// The one error type of import and export runs: a source that cannot be read, a target that
// cannot be written (a full disk, a vanished folder). Its message is meant for the user as it
// stands. Table-engine failures keep their own type (engine::EngineError).
#pragma once

#include <stdexcept>
#include <string>

namespace interchange {

class TransferError : public std::runtime_error {
  public:
    explicit TransferError(const std::string& message) : std::runtime_error(message) {}
};

// "<what> <path>: <the system's reason>" for a failed system call (errno as left by it).
[[noreturn]] void throwSystemError(const std::string& what, const std::string& path);

}  // namespace interchange
