// Collections of the two earlier program versions: S2LOG.DBF (2.X, 21 fields) and SLOG.DBF
// (1.X, 24 fields) in the program directory, and the copy of their records into the current
// collection.
//
// The layout tests are silent and read the header only, so nothing is written into a file that
// fails them; a file that passes
// has its production-index flag cleared when its .MDX is missing (it could not be opened
// otherwise by programs that insist on the index). The conversions append one record to
// `target` (the open stamp table) per old record, carrying values as text into the new field's
// type; they throw engine::EngineError when the old table cannot be read or a record cannot be
// posted, leaving the records already posted in place: the caller converts into a copy of the
// collection that replaces it only when complete, and deletes the old file after that.
//
// Where the old data cannot be carried: a 2.X quantity of 0 divides nothing (the values stay as
// they are), a 1.X purchase date that is not a date leaves Date empty, and a number field whose
// old text is not a number is left blank; the conversion goes on in every case.
#pragma once

#include <QString>
#include <array>

namespace engine {
class Table;
}

namespace collection {

inline const QString kConvertV2Question = QStringLiteral(
    "A database from a previous version (2.X) has been detected.  Would you like to convert it "
    "now?  NOTE: After conversion the old file will be deleted.  You may wish to make a copy of "
    "\"S2LOG.DBF\" first.");
inline const QString kConvertV1Question = QStringLiteral(
    "A database from a previous version (1.X) has been detected.  Would you like to convert it "
    "now?  NOTE: After conversion the old file will be deleted.  You may wish to make a copy of "
    "\"SLOG.DBF\" first.");
inline const QString kVersion2File = QStringLiteral("S2LOG.DBF");
inline const QString kVersion1File = QStringLiteral("SLOG.DBF");
inline const QString kOldSettingsFile = QStringLiteral("TESSOLD.INI");

bool CheckDBaseFormatV2(const QString& path);
bool CheckDBaseFormatV1(const QString& path);

// `oldSettingsPath` is TESSOLD.INI (its Reports / Use Quantity decides the division by quantity).
void ConvertV2(const QString& path, engine::Table& target, const QString& oldSettingsPath);
void ConvertV1(const QString& path, engine::Table& target);

// The digits 0-9 of a catalogue text, in order ("SG 12a-3" gives "123").
QString numericCatalogue(const QString& catalogue);

// The 1.X purchase date text: month (first 4 characters, "Jan".."Dec" as 1..12, anything else
// unchanged), "/", day and "/", year (first 4 characters each).
QString versionOneDateText(const QString& month, const QString& day, const QString& year);

// The 1.X flags joined for Miscellane: the texts of the flags that are exactly "Yes", in order,
// separated by ", " (empty when none). `flags` holds the seven values in field order.
QString versionOneMiscellany(const std::array<QString, 7>& flags);

}  // namespace collection
