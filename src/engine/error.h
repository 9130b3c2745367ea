// The one error type of the table engine.
//
// Every failure inside the engine (bad file, damaged header, refused lock, bad
// expression, value that does not fit a field) is raised as EngineError whose
// message is meant to be shown to the user as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace engine {

class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace engine
