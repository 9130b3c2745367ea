// DelimitedLineReader: the records of a delimited text source (values separated by commas,
// one record per line, values in double quotes where they need them), field by field.
//
// It reads comma-separated values as spreadsheets and Python's csv module write them, and reads
// every file whose values all stand in quotes exactly as the older line reader did:
//  1. A field starts unquoted. A double quote at its start (after nothing but blanks, which are
//     kept) opens the quotes and is not stored; a double quote later in an unquoted field is text.
//  2. Outside the quotes a comma ends the field; inside them it is text.
//  3. Bytes below 32 are dropped, except that a line break inside the quotes belongs to the
//     value and is stored as one blank (the table's fields hold one line).
//  4. A double quote inside the quotes looks at the next byte: the end of the line or file ends
//     the field; a comma ends it (and is taken); a second double quote stores one double quote.
//     Any other byte means the quote was part of the text: it is stored and the field goes on.
//  5. Outside the quotes the field ends at the end of the line or file; inside them at the end
//     of the file.
//  6. After a field the record ends when the reader stands at the end of a line; otherwise the
//     next field begins.
// A record cannot be read when quotes opened on one line are still open at the end of the file,
// or meet a stray quote (rule 4's "any other byte") after a line break, or span more than 255
// line breaks: a quote was left unclosed. Such a record is reported (readRecord returns -1,
// recordLine() names its first line) and reading goes on with the line after its first line.
//
// Values come out as UTF-8 (a single-byte source is converted from Windows-1252, or from the
// code page given), each cut to 255 characters; the one long field a caller may name
// (setLongField: the picture column, which lists file names and never becomes a field's value)
// is cut at 65,535.
// Reading a record takes at most as many fields as the caller asks for; the rest of its line is
// skipped, so a line with extra fields never spills into the next record.
//
// Failures: TransferError when the file cannot be opened or read, or is not a regular file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/codepage.h"
#include "interchange/byte_source.h"

namespace interchange {

inline constexpr int kMaxValueChars = 255;
inline constexpr int kMaxLongValueChars = 65535;
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

    // Reads one record as up to `maxFields` values into the first entries of `values` (grown when
    // shorter; entries keep their storage from record to record) and moves past it. Returns the
    // number of values read, 0 for a blank line (one empty field and nothing after it), which is
    // no record, or -1 for a record that cannot be read (see above).
    int readRecord(std::vector<std::string>& values, int maxFields);
    // Field `index` (0-based) of each record is read up to kMaxLongValueChars characters.
    void setLongField(int index) { longField_ = index; }
    // The line number (from 1) on which the record last read began.
    std::uint64_t recordLine() const { return recordLine_; }

    // Reads the first line with the three checks of a text source's first line.
    FirstLine readFirstLine();

  private:
    enum class FieldEnd { Comma, Line, File };
    struct FieldResult {
        FieldEnd end = FieldEnd::Line;
        bool closedByQuote = false;  // ended by a quote followed by a comma or the line end
        bool tooLong = false;        // a 256th character was met (and not stored)
        bool broken = false;         // quotes left open across lines: the record cannot be read
    };
    FieldResult readField(std::string& out);
    bool atLineEnd();
    // Skips to the end of the line and past its line break.
    void finishLine();
    // Takes the line break at the reader (CR LF, LF or CR) and counts the line.
    void takeLineBreak();
    void toUtf8(std::string& value);

    ByteSource in_;
    TextEncoding encoding_;
    engine::CodePage legacy_ = engine::CodePage::Cp1252;
    std::string converted_;
    std::uint64_t line_ = 1;  // the line the reader stands on
    std::uint64_t recordLine_ = 0;
    int longField_ = -1;
    std::size_t limit_ = kMaxValueChars;  // characters the field being read keeps
};

// The import field names of the first line of the text file at `path` (text that is not UTF-8
// read in `legacy`).
FirstLine readFirstLine(const std::string& path,
                        engine::CodePage legacy = engine::CodePage::Cp1252);

}  // namespace interchange
