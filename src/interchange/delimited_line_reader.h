// DelimitedLineReader: the lines of a delimited text source (every field in double quotes, fields
// separated by commas, one record per line), field by field.
//
// A line ends at a line feed, a carriage return or the pair of them. Within a line:
//  1. A field starts unquoted; the first double quote opens the quotes and is not stored.
//  2. Any byte of code 32 or above other than the double quote is stored, inside or outside the
//     quotes. A comma outside the quotes is ordinary text: an unquoted field runs to the end of
//     the line, and a blank between a comma and the next opening quote starts the next field.
//  3. Bytes below 32 are dropped wherever they stand.
//  4. A double quote inside the quotes looks at the next byte: the end of the line or file ends
//     the field; a comma ends it (and is taken); a second double quote stores one double quote.
//     Any other byte means the quote was part of the text: it is stored and the field goes on.
//  5. The field also ends at the end of the line or file, closed or not.
//  6. After a field the line ends when the reader stands at its end; otherwise the next begins.
//
// Values come out as UTF-8 (a single-byte source is converted from Windows-1252, or from the
// code page given), each cut to 255 characters.
// Reading a record takes at most as many fields as the caller asks for; the rest of its line is
// skipped, so a line with extra fields never spills into the next record.
//
// Failures: TransferError when the file cannot be opened or read.
#pragma once

#include <string>
#include <vector>

#include "engine/codepage.h"
#include "interchange/byte_source.h"

namespace interchange {

inline constexpr int kMaxValueChars = 255;
inline constexpr int kMaxImportFields = 35;
inline constexpr int kImportNameChars = 20;

// Why the first line of a text source is refused (the number is the one the message names).
enum class FirstLineCheck {
    Passed = 0,
    ValueTooLong = 1,   // a value reaches a 256th character
    UnclosedField = 2,  // the line ends in a field not closed by a quote
    TooManyFields = 3,  // a 36th field begins
};

struct FirstLine {
    FirstLineCheck check = FirstLineCheck::Passed;
    // The import field names: each value cut to 20 characters, "<BLANK FIELD>" when empty.
    std::vector<std::string> names;
};

class DelimitedLineReader {
  public:
    // Opens `path` in `encoding` (detectTextEncoding() when not given).
    explicit DelimitedLineReader(const std::string& path);
    DelimitedLineReader(const std::string& path, TextEncoding encoding);
    // Text that is not UTF-8 is read in `legacy` (the collection's code page) rather than in
    // Windows-1252.
    DelimitedLineReader(const std::string& path, engine::CodePage legacy);

    TextEncoding encoding() const { return encoding_; }
    // True when no byte is left: no further line.
    bool atEnd() { return in_.peek() < 0; }

    // Reads one line as up to `maxFields` values into the first entries of `values` (grown when
    // shorter; entries keep their storage from line to line) and moves past the line. Returns the
    // number of values read, or 0 for a blank line (one empty field and nothing after it),
    // which is no record.
    int readRecord(std::vector<std::string>& values, int maxFields);

    // Reads the first line with the three checks of a text source's first line.
    FirstLine readFirstLine();

  private:
    enum class FieldEnd { Comma, Line, File };
    struct FieldResult {
        FieldEnd end = FieldEnd::Line;
        bool closedByQuote = false;  // ended by a quote followed by a comma or the line end
        bool tooLong = false;        // a 256th character was met (and not stored)
    };
    FieldResult readField(std::string& out);
    bool atLineEnd();
    // Skips to the end of the line and past its line break.
    void finishLine();
    void toUtf8(std::string& value);

    ByteSource in_;
    TextEncoding encoding_;
    engine::CodePage legacy_ = engine::CodePage::Cp1252;
    std::string converted_;
};

// The import field names of the first line of the text file at `path`.
FirstLine readFirstLine(const std::string& path);

}  // namespace interchange
