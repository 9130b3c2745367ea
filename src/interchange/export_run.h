// The export run: the visible records of an open stamp table, in its current order and through
// its filter, written to a delimited text file or to a new dBase table.
//
// The export list names the stamp fields (1..25) written, in order. Text: an optional title line
// (`titles`, one per listed field), then one line a record of the fields' edit texts
// (value_conversion.h) through DelimitedTextWriter; dates always with four-digit years in the
// order and separator of the date format, which import reads back whatever the display format.
// dBase: a new table at the path, replacing any table of that name, with one field per listed field
// named with its dBase name, defined as the stamp table defines it (text at the schema's width,
// integers N(11,0), money N(20,4), date D), in Windows-1252 and without indexes; each record's
// values are copied by type (dates stay dates, so no century is lost to a two-digit year format).
//
// The file is written under a temporary name and put in place when whole (collection::
// ReplacingFile): a run that fails leaves an existing target as it was and no half file.
// A target that is one of the source collection's own files (its table, index, settings, lists;
// collection_own_files.h) is refused before anything is written, with `error` naming it.
//
// Pictures go with the file and only with it: they are put in place once the file is, and a run
// that fails leaves none of its own (store_pictures.h).
//
// Failures: a target that cannot be created or written (the folder is gone, the disk is full, the
// target is a table in use) ends the run with `error` set and the target untouched.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collection/date_format.h"
#include "engine/field.h"
#include "interchange/picture_transfer.h"

namespace engine {
class Table;
}

namespace interchange {

enum class ExportKind { Text = 1, Dbase = 2, Tellico = 3 };

struct ExportRequest {
    std::vector<int> fields;          // stamp field numbers 1..25 in export order
    std::vector<std::string> titles;  // text only: the title line (UTF-8); empty for none
    collection::DateFormat dateFormat;
    // Called after each record written with the count so far.
    std::function<void(std::uint64_t written)> progress;
    // The stamps' pictures (picture_transfer.h), or none. Text: a last column of each stamp's
    // picture file names (titled "Pictures" on the title line), the files copied beside the
    // export. dBase: a store beside the new table. Tellico: the entries' images.
    ExportPictures* pictures = nullptr;
};

struct ExportResult {
    std::uint64_t written = 0;
    PictureTally pictures;  // stored picture files found missing and left out
    std::string error;  // empty when every record was written
};

ExportResult exportText(engine::Table& source, const std::string& path,
                        const ExportRequest& request);
ExportResult exportDbf(engine::Table& source, const std::string& path,
                       const ExportRequest& request);

// The sentence a completion message adds about pictures left out ("1 picture file was missing
// from the collection's picture folder and was left out: "/a/b.png"."), empty when none was.
std::string exportNotes(const ExportResult& result);

// The refusal of `path` as a target when it is one of the files of `source`'s collection, else
// empty text.
std::string refusedTarget(const engine::Table& source, const std::string& path);

// The dBase field definitions of a new table for the stamp fields `fields`.
std::vector<engine::FieldDef> exportFieldDefs(const std::vector<int>& fields);

}  // namespace interchange
