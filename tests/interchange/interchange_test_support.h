// Shared helpers of the interchange tests: a scratch folder, files written byte for byte, a
// collection made as the program makes one, and Python run on a script.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

namespace engine {
class Table;
}

namespace interchange::testing {

class Scratch {
  public:
    std::string file(const std::string& name) const {
        return dir_.path().toStdString() + "/" + name;
    }
    // Writes `bytes` to `name` and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;

  private:
    QTemporaryDir dir_;
};

std::string readBytes(const std::string& path);

// Creates an empty collection at `path` (the 25 stamp fields, as the program creates them).
void makeCollection(const std::string& path);

// Every visible record of the open `table` in its order, each field's text joined by "|".
std::vector<std::string> rows(engine::Table& table);

struct PythonResult {
    int exitCode = -1;
    std::string output;  // standard output and error together
};
// Runs `script` with /usr/bin/python3 and `args`; exitCode -1 when Python cannot be started.
PythonResult runPython(const std::string& script, const std::vector<std::string>& args = {});
// True when /usr/bin/python3 can import `module`.
bool pythonHas(const std::string& module);

}  // namespace interchange::testing
