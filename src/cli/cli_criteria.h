// Query-search criteria given as command-line arguments, for the companion's verbs that work on
// the records of a search (search, export, report).
//
// Arguments: CRITERION... [--or CRITERION...]...
//  - A CRITERION is FIELD:VALUE. FIELD is a field label of the collection (its `Field Names`
//    setting, compared without regard to letter case; "~" in a label reads as a space) or a
//    dBase field name of the stamp schema; labels are tried first. The split is at the first ":"
//    whose left part names a field, so labels and values may themselves hold colons.
//  - VALUE is the text a user would type in the search window's value cell: for a text field
//    any text ("contains", without regard to case: `Country:fra`); for a number or date field
//    an optional operator and the value, or a range: `Year:1950`, `Year:= 1950`, `Cost:> 2.5`,
//    `Year:> 1900 AND < 1950`, `Date:< 01/01/1950` (dates in the date format given).
//  - The criteria before the first `--or` form level 1; each `--or` starts a new level. Several
//    criteria on the same field in one level are allowed.
// No arguments give empty criteria (the caller then works on every record; a SearchFilter of
// empty criteria would pass none). Values are converted by collection::addSearchLevel, the
// same code as the search window, so the limits (75 criteria, 10 levels) and the refusals are
// the window's.
//
// Use:
//   cli::CriteriaParse parsed = cli::parseCriteria(args, cli::collectionLabels(dbfPath), format);
//   if (!parsed.ok()) { err << parsed.error; ... }
//   table.setFilter(collection::SearchFilter(parsed.criteria, table));
#pragma once

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "collection/date_format.h"
#include "collection/search_criteria.h"
#include "collection/stamp_schema.h"

namespace cli {

using FieldLabels = std::array<QString, collection::kFieldCount>;  // index = field number - 1

struct CriteriaParse {
    collection::SearchCriteria criteria;
    QString error;  // empty on success; otherwise one line naming the argument at fault
    bool ok() const { return error.isEmpty(); }
};

CriteriaParse parseCriteria(const std::vector<std::string>& args, const FieldLabels& labels,
                            const collection::DateFormat& dates);

// The field labels of the collection at `dbfPath` (its settings file base + ".INI"; the default
// labels where it has none).
FieldLabels collectionLabels(const QString& dbfPath);

// The date format of the installation's settings (TESSELON.INI), as the program shows dates.
collection::DateFormat settingsDateFormat();

}  // namespace cli
