// ReplacingFile: a file written under a temporary name beside its target and put in place by one
// rename when complete, so a run that fails or is killed never leaves a half file under the
// user's name, and an existing file stays as it was until the new one is whole.
//
// The temporary file is made beside the file the target names (beside the file a symbolic link
// points at, so the rename stays on one file system and the link keeps pointing at the new
// content), named ".<name>.<random><extension>" so that programs that look at extensions (the
// table engine) treat it as the target. It takes the target's permissions when the target
// exists, else the usual ones for a new file. commit() writes everything to disk and renames; a
// ReplacingFile destroyed without commit() removes its temporary file.
//
// A target that exists and is no regular file (a device such as /dev/null, a pipe) is written
// directly, as it is: temporaryPath() is then the target itself and nothing is renamed or
// removed.
//
// Failures throw std::runtime_error with a message for the user ("Cannot write /a/b.txt: No
// space left on device.").
#pragma once

#include <string>

namespace collection {

class ReplacingFile {
  public:
    explicit ReplacingFile(const std::string& target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // The open temporary file, for writing; -1 after closeFile() or commit().
    int fd() const { return fd_; }
    const std::string& temporaryPath() const { return temporary_; }
    // The file the rename replaces (the target with symbolic links followed).
    const std::string& finalPath() const { return final_; }

    // Closes the temporary file without putting it in place, for writers that reopen it by
    // name (the table engine).
    void closeFile();
    // Writes `bytes` to the temporary file.
    void write(const char* bytes, std::size_t n);
    // Flushes the temporary file to disk and renames it over the target.
    void commit();

  private:
    [[noreturn]] void fail(const std::string& what) const;

    std::string target_;
    std::string final_;
    std::string temporary_;
    int fd_ = -1;
    bool committed_ = false;
    bool direct_ = false;  // the target is no regular file: written in place
};

}  // namespace collection
