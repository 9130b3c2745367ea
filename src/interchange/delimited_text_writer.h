// DelimitedTextWriter: a delimited text file (every value in double quotes, values separated by
// commas, lines ended by carriage return and line feed), written in Windows-1252.
//
// Each value has its double quotes doubled and the blanks (code 32) at both ends removed; there
// is no blank after a comma. Values arrive as Windows-1252 bytes (`addBytes`) or as UTF-8
// (`addUtf8`, converted; characters Windows-1252 lacks become "?").
//
// The file is created at construction (an existing file is replaced) and written through a
// buffer; finish() writes the rest and closes it. Failures (the folder is gone, the disk is full)
// raise TransferError; a writer destroyed without finish() closes what it has.
#pragma once

#include <string>
#include <string_view>

namespace interchange {

class DelimitedTextWriter {
  public:
    explicit DelimitedTextWriter(const std::string& path);
    ~DelimitedTextWriter();
    DelimitedTextWriter(const DelimitedTextWriter&) = delete;
    DelimitedTextWriter& operator=(const DelimitedTextWriter&) = delete;

    void addBytes(std::string_view cp1252);
    void addUtf8(std::string_view utf8);
    // Ends the line (a line without values is written as an empty line).
    void endLine();
    void finish();

  private:
    void flush();

    int fd_ = -1;
    std::string path_;
    std::string buffer_;
    std::string converted_;
    bool lineStarted_ = false;
};

}  // namespace interchange
