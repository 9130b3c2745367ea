// Helpers shared by the engine::Table tests: a scratch folder removed at the
// end of each test, byte-level reading and patching of table files, the
// collection-shaped field list, running a helper program and capturing its
// output.
//
// Nothing here touches the user's home: every file lives in a fresh folder
// under the system temporary directory.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/field.h"
#include "engine/table.h"

namespace engine::testing {

// A fresh folder under $TMPDIR (or /tmp), removed with its contents on
// destruction.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    // `name` inside the folder.
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
void copyFile(const std::string& from, const std::string& to);
bool exists(const std::string& path);
std::uint8_t byteAt(const std::string& path, std::size_t offset);
void patchBytes(const std::string& path, std::size_t offset, const std::string& bytes);
void patchU32(const std::string& path, std::size_t offset, std::uint32_t value);
std::uint32_t u32At(const std::string& bytes, std::size_t offset);

// A small table: NAME C(20), COUNTRY C(20), YEAR N(11,0), COST N(20,4),
// BOUGHT D, RATE F(10,2), OK L.
std::vector<FieldDef> sampleFields();
// Field numbers of sampleFields().
enum SampleField { kName, kCountry, kYear, kCost, kBought, kRate, kOk };

// 25 fields shaped like a stamp collection: C fields of the collection's
// widths, integers N(11,0), money N(20,4), the purchase date D.
std::vector<FieldDef> collectionFields();

// Creates `path` with `fields` and appends one record per row, each row giving
// the text of every field in order (empty = blank).
void createWithRows(const std::string& path, const std::vector<FieldDef>& fields,
                    const std::vector<std::vector<std::string>>& rows);
// Appends one record with the given field texts to an open table.
void appendRow(Table& t, const std::vector<std::string>& row);

// Physical record numbers visited by first()/next() until eof().
std::vector<std::uint32_t> visitOrder(Table& t);
// Text of field `field` for each record visited by first()/next().
std::vector<std::string> visitTexts(Table& t, int field);

// Record numbers of the non-deleted records of `t` sorted by the ASCII upper
// case of field `field`'s raw bytes, ties by record number: the order a tag on
// UPPER(field) must give for ASCII text.
std::vector<std::uint32_t> expectedUpperOrder(const Table& t, int field);
// (key, record number) of every entry of tag `tag` of the index at `mdxPath`,
// in tree order, after checking the tree; throws EngineError when damaged.
std::vector<std::pair<std::string, std::uint32_t>> indexEntries(const std::string& mdxPath,
                                                                const std::string& tag);

// Result of running a command through the shell.
struct CommandResult {
    int exitCode = -1;
    std::string output;  // standard output
};
CommandResult runCommand(const std::string& command);
// True when /usr/bin/python3 can import `module`.
bool pythonHasModule(const std::string& module);
// Runs `script` with /usr/bin/python3, passing `args` as sys.argv[1:].
CommandResult runPython(const std::string& script, const std::vector<std::string>& args);
// Another program holding POSIX locks (Python's fcntl.lockf, whole file) on
// `paths` until destroyed; `exclusive` picks LOCK_EX or LOCK_SH. locked() is
// false when a lock was refused or Python is missing.
class PythonLockHolder {
  public:
    PythonLockHolder(const std::vector<std::string>& paths, bool exclusive);
    ~PythonLockHolder();
    PythonLockHolder(const PythonLockHolder&) = delete;
    PythonLockHolder& operator=(const PythonLockHolder&) = delete;
    bool locked() const { return locked_; }

  private:
    int pid_ = -1;
    int release_ = -1;
    bool locked_ = false;
};
// True when Python's fcntl.lockf can take the lock on `path` at once.
bool pythonCanLock(const std::string& path, bool exclusive);

// Single-quotes `s` for the shell.
std::string shellQuote(const std::string& s);

}  // namespace engine::testing
