// Which stamp field each import field goes to (the field assignment of an import run).
//
// The import grid's rows 1..25 stand for the stamp fields 1..25 in schema order; the user moves
// the import fields up and down against them and marks each row "Yes" or "No". Each row carries
// the number of the import field it shows, so import fields with equal names (two blank titles,
// a first line of data with a repeated value) keep their own rows. Import fields in rows past 25
// have no stamp field.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "interchange/import_run.h"
#include "interchange/picture_transfer.h"

namespace interchange {

struct ImportRow {
    int importField = -1;  // 0-based import field shown in the row, -1 for "<EMPTY>"
    bool use = false;
};

// Rows in grid order (row 1 first) to the assignment of `importFieldCount` import fields. With
// `pictureRow` (text sources), row 26 stands for the stamps' pictures (kPictureColumn).
FieldAssignment assignmentFromRows(const std::vector<ImportRow>& rows, int importFieldCount,
                                   bool pictureRow = false);

// The window's first rows: import field k in row k, each used.
std::vector<ImportRow> defaultImportRows(int importFieldCount);

// Row 26 (0-based 25) of a text import's grid: "Pictures".
inline constexpr int kPictureRow = 25;
// The first rows of a text import of the import fields `names`: as defaultImportRows(). The
// import field named "Pictures" (a text export's picture column; else the first whose value is
// a list of picture file names, from a file without a title line) stands in the picture row,
// used, trading places with the field there (the rows are then at least 26). Without such a
// field the rows are those of defaultImportRows(), a 26th not used (another file's 26th column
// is no list of pictures).
std::vector<ImportRow> defaultTextImportRows(const std::vector<std::string>& names);
// True when `value` is a list of picture file names (each ending in .jpg, .png, .tif, .webp...,
// separated by ";").
bool listsPictures(const std::string& value);
// True when `name` is "Pictures" in any letter case, blanks at the ends ignored.
bool namesPictureColumn(const std::string& name);

// Matching by name: an import field whose name equals a stamp field's dBase name or its label
// (`labels`, field 1 first), in any letter case and ignoring blanks at the ends, goes to that
// field, and one named "Pictures" to the pictures (kPictureColumn); the first import field to
// claim a stamp field keeps it.
FieldAssignment assignmentByName(const std::vector<std::string>& names, const QStringList& labels);

// The stamp field (1..25) that `text` names: a field number, a dBase name or a label in any
// letter case; 0 when none.
int stampFieldNamed(const QString& text, const QStringList& labels);

}  // namespace interchange
