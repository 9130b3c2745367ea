// DelimitedTextWriter: a delimited text file (every value in double quotes, values separated by
// commas, lines ended by carriage return and line feed), written in a code page: the exported
// collection's own (Windows-1252 unless it was made in another).
//
// Each value has its double quotes doubled and the blanks (code 32) at both ends removed; there
// is no blank after a comma. Values arrive as bytes in that code page (`addBytes`) or as UTF-8
// (`addUtf8`, converted; characters the code page lacks become "?").
//
// The file is written through a buffer under a temporary name beside the target
// (collection::ReplacingFile); finish() writes the rest and puts it in place, replacing an
// existing file only then. Failures (the folder is gone, the disk is full) raise TransferError;
// a writer destroyed without finish() removes what it wrote and leaves the target as it was.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/codepage.h"

namespace collection {
class ReplacingFile;
}

namespace interchange {

class DelimitedTextWriter {
  public:
    explicit DelimitedTextWriter(const std::string& path,
                                 engine::CodePage codePage = engine::CodePage::Cp1252);
    ~DelimitedTextWriter();
    DelimitedTextWriter(const DelimitedTextWriter&) = delete;
    DelimitedTextWriter& operator=(const DelimitedTextWriter&) = delete;

    void addBytes(std::string_view bytes);
    void addUtf8(std::string_view utf8);
    // Ends the line (a line without values is written as an empty line).
    void endLine();
    void finish();

  private:
    void flush();

    std::unique_ptr<collection::ReplacingFile> file_;
    std::string buffer_;
    std::string converted_;
    bool lineStarted_ = false;
    engine::CodePage codePage_;
};

}  // namespace interchange
