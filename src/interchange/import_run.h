// The import run: every record of a delimited text file or a dBase table becomes one new record
// of an open stamp table; nothing already in the table changes.
//
// The field assignment says, for each import field (numbered from 0 here), the stamp field
// (1..25) its values go to, or 0 for none. Each value is converted by the value kind of its
// stamp field (value_conversion.h) and written to the new record, which is then posted (the
// table's own indexes order it). A record is never refused for its values: a value the field
// cannot hold leaves the field empty, and text holding characters the table's code page lacks is
// stored with a stand-in character and counted.
//
// Text source (delimited_line_reader.h): when `skipFirst` is set the first record is read and
// dropped; blank lines add no record; a line with more fields than there are import fields drops
// the extra ones; a record that cannot be read (a quote left open) adds no record and is counted
// with its line number. An empty value leaves a number field blank. dBase
// source: the records present when the run starts, in record order, deleted ones passed over;
// a date field going to the date field is copied as a date (no trip through text, which could
// lose the century), every other value goes through its edit text.
//
// Pictures: an import field assigned kPictureColumn (picture_transfer.h) lists each stamp's
// picture files, relative to the source file; they become the new record's pictures, in order,
// and never a field's value. A name that is missing or no picture is counted and named in the
// result, and the run goes on. The pictures of the records posted before a failure stay.
//
// Failures: a source that cannot be read, or a post the table refuses (a full disk), ends the run
// with `error` set; the record being built is cancelled and every record posted before stays.
// The table must be open and in browse state.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collection/date_format.h"
#include "interchange/picture_transfer.h"

namespace engine {
class Table;
}

namespace interchange {

using FieldAssignment = std::vector<int>;

// How many unreadable records an import names by line number.
inline constexpr std::size_t kUnreadableLinesNamed = 20;

struct ImportResult {
    std::uint64_t added = 0;
    std::uint64_t valuesChanged = 0;  // texts stored with a stand-in character
    std::uint64_t valuesCut = 0;      // texts longer than their field, stored cut to its width
    std::uint64_t unreadable = 0;     // text records that could not be read (none posted)
    std::vector<std::uint64_t> unreadableLines;  // the first lines of the first of them
    PictureTally pictures;                       // pictures added, and those that could not be had
    std::string error;                // empty when the run went to the end of the source
};

struct ImportOptions {
    collection::DateFormat dateFormat;  // reads date values
    int currentYear = 2000;             // places two-digit years
    // Called after each record posted with the count so far.
    std::function<void(std::uint64_t added)> progress;
    // Where the stamps' pictures go (picture_transfer.h), or none: then a picture column is
    // passed over like a field that goes nowhere.
    ImportPictures* pictures = nullptr;
};

// Imports the delimited text file at `path`, reading `importFieldCount` fields a line.
ImportResult importText(engine::Table& table, const std::string& path, int importFieldCount,
                        bool skipFirst, const FieldAssignment& assignment,
                        const ImportOptions& options);

// The sentence of a completion message naming the records that could not be read ("2 lines could
// not be read ... and were left out: lines 4, 9."; past 20 lines "... and N more."), empty when
// every record was read.
std::string unreadableLinesText(const ImportResult& result);
// The sentences about pictures ("3 pictures were added.  1 picture could not be found or is not
// a picture, and was left out: "a/b.jpg"."), empty when the run met none; importNotes() ends
// with them.
std::string picturesText(const PictureTally& pictures);
// The sentences a completion message adds about values cut to their field's width ("3 values were
// longer than their field and were cut to its width.") and unreadable lines, joined by two blanks;
// empty when there is nothing to say.
std::string importNotes(const ImportResult& result);

// Imports the records `next` hands over: each call fills `values` with one text (UTF-8) a field
// of the assignment and returns true, or returns false at the end; what it throws ends the run
// with `error` set, keeping the records posted before. `posted`, when given, is called with the
// number of each record posted.
ImportResult importRecords(engine::Table& table, const FieldAssignment& assignment,
                           const ImportOptions& options,
                           const std::function<bool(std::vector<std::string>& values)>& next,
                           const std::function<void(std::uint32_t recno)>& posted = {});

// Imports the dBase table at `path`.
ImportResult importDbf(engine::Table& table, const std::string& path,
                       const FieldAssignment& assignment, const ImportOptions& options);

// The import field names of the dBase table at `path`: its field names in order, at most 35.
// Throws engine::EngineError when the engine cannot open it, TransferError when it is no regular
// file (a FIFO would block the engine's open).
std::vector<std::string> dbfFieldNames(const std::string& path);

// The refusal of an import into a collection whose table, index or folder cannot be written: the
// records would go in while the index never learns of them. Asked before a run starts.
QString readOnlyImportMessage(const QString& tablePath);

}  // namespace interchange
