// The import and export verbs of tessellon-cli, run through the same classes as the program's
// Import and Export windows.
//
//   import FILE.DBF SOURCE (--text [--skip-first] | --dbf | --tellico) [--map IMPORTFIELD=FIELD
//   ...] export FILE.DBF TARGET (--text [--no-titles] [--pictures] | --dbf | --tellico)
//          [--fields F1,F2,...] [CRITERION...]
//
// Pictures: a dBase or Tellico export carries the exported stamps' pictures whenever the
// collection has any; --pictures adds a last column "Pictures" to a text export, naming each
// stamp's picture files copied beside it (store_pictures.h). A text import sends the import
// field named "Pictures" (or the one --map sends to "Pictures") to the stamps' pictures; a
// Tellico import stores every entry's images. Missing pictures are counted and named.
//
// --tellico reads a Tellico stamp collection (.tc or .xml; its fields go where
// tellico_fields.h says, told line by line before the run) or writes one (.tc, all 25 fields;
// --fields does not apply).
//
// IMPORTFIELD is an import field's name (the first line's value, or the source table's field
// name) or its number from 1; FIELD and F are stamp fields by number, dBase name or label. Without
// --map, import fields go to the stamp field their name names; without --fields, export writes
// the fields the collection's export settings choose, in their order. Criteria are those of the
// search verb (cli_criteria.h); export then writes only the records that pass. Export follows
// the collection's sort order (tag NewIndex); both read and write dates in the date format of the
// installation's settings.
// Both print what they did to `out`, failures to `err`, and return 0, or 2 on failure. A failed
// export prints no count: it kept nothing, and the target stays as it was. Export refuses a
// target that is one of the collection's own files; import refuses a collection that cannot be
// written, and sources that are not regular files.
#pragma once

#include <QString>
#include <ostream>
#include <string>
#include <vector>

namespace collection {
class SearchCriteria;
}
namespace engine {
class Table;
}
namespace interchange {
struct ExportResult;
struct ImportOptions;
struct ImportResult;
}  // namespace interchange

namespace cli {

int runImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Parts both verbs share with their Tellico halves (cli_tellico.h).
// The options of an import run: the installation's date format, this year.
interchange::ImportOptions importOptions();
// Prints an import run's completion lines; returns 0, or 2 when the run failed.
int reportImport(const interchange::ImportResult& r, std::ostream& out, std::ostream& err);
// Opens the collection shared, in its sort order (tag NewIndex) when it has one, with only the
// records that pass `criteria` when given.
void openForExport(engine::Table& table, const QString& path,
                   const collection::SearchCriteria* criteria);
// Prints "Exported N records." or, for a failed run, the error and that `target` was left as it
// was; returns 0, or 2 when the run failed.
int reportExport(const interchange::ExportResult& r, const QString& target, std::ostream& out,
                 std::ostream& err);

}  // namespace cli
