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
// Text source: when `skipFirst` is set the first line is read and dropped; blank lines add no
// record; a line with more fields than there are import fields drops the extra ones. dBase
// source: the records present when the run starts, in record order, deleted ones passed over;
// a date field going to the date field is copied as a date (no trip through text, which could
// lose the century), every other value goes through its edit text.
//
// Failures: a source that cannot be read, or a post the table refuses (a full disk), ends the run
// with `error` set; the record being built is cancelled and every record posted before stays.
// The table must be open and in browse state.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collection/date_format.h"

namespace engine {
class Table;
}

namespace interchange {

using FieldAssignment = std::vector<int>;

struct ImportResult {
    std::uint64_t added = 0;
    std::uint64_t valuesChanged = 0;  // texts stored with a stand-in character
    std::string error;                // empty when the run went to the end of the source
};

struct ImportOptions {
    collection::DateFormat dateFormat;  // reads date values
    int currentYear = 2000;             // places two-digit years
    // Called after each record posted with the count so far.
    std::function<void(std::uint64_t added)> progress;
};

// Imports the delimited text file at `path`, reading `importFieldCount` fields a line.
ImportResult importText(engine::Table& table, const std::string& path, int importFieldCount,
                        bool skipFirst, const FieldAssignment& assignment,
                        const ImportOptions& options);

// Imports the dBase table at `path`.
ImportResult importDbf(engine::Table& table, const std::string& path,
                       const FieldAssignment& assignment, const ImportOptions& options);

// The import field names of the dBase table at `path`: its field names in order, at most 35.
// Throws engine::EngineError when the engine cannot open it.
std::vector<std::string> dbfFieldNames(const std::string& path);

}  // namespace interchange
