// The locate scan: moves a table to the next visible record whose field matches a typed value.
//
// The scan visits the table's visible records (so a running query search limits it) in the
// table's order, from the first one or from the one after the current one. Text comparison:
// unless case sensitive both the field's text and the value are upper-cased (the engine's
// upper-casing of the table's code page); exact match means equal texts, partial match at
// beginning that the value is a prefix of the field text, partial match anywhere that the value
// occurs in it. A character field's text keeps its leading blanks and loses its trailing ones;
// a number field's text is its digits without the padding; a date field's text is the date as
// the current date format shows it. A number field with exact match and a value that reads as a
// number compares the numbers. An empty value matches as the empty text does.
//
// Found: the table's current record is the match. Not found or unknown field: the table's
// current record is unchanged.
#pragma once

#include <QString>

namespace engine {
class Table;
}

namespace editing {

enum class LocateMatch { Exact = 0, PartialAtBeginning = 1, PartialAnywhere = 2 };

struct LocateRequest {
    QString fieldName;  // the table's field name (any letter case)
    QString value;
    bool caseSensitive = false;
    LocateMatch match = LocateMatch::PartialAtBeginning;
};

enum class LocateResult { Found, NotFound, UnknownField };

LocateResult locateRecord(engine::Table& table, bool fromFirst, const LocateRequest& request);

}  // namespace editing
