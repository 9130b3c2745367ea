// The 25 fields of a stamp collection table.
//
// Field numbers 1..25 identify a field everywhere (sort levels, viewer and
// export order, search rows, report entries, settings). The schema is a
// constant; nothing writes it.
#pragma once

#include <array>
#include <string_view>

namespace collection {

enum class FieldKind { Text = 1, Integer = 2, Float = 3, Date = 4 };

struct SchemaField {
    int number;                // 1..25
    std::string_view name;     // dBase name as written here (stored upper case)
    FieldKind kind;
    int length;                // text width in the file; editor entry limit for every kind
    std::string_view label;    // default display label
    std::string_view settingsDefaultKey;  // key in the [Defaults] settings section
    int defaultKeyLength;                 // read limit of that key
};

inline constexpr int kFieldCount = 25;

// The schema in field-number order (index = number - 1).
const std::array<SchemaField, kFieldCount>& stampSchema();
// Field by number 1..25; throws std::out_of_range otherwise.
const SchemaField& schemaField(int number);
// Field number for a dBase name in any letter case; 0 when none.
int schemaFieldNumber(std::string_view name);

// dBase type letter of a kind (the letter the query search stores): C, N, N, D.
char dbaseTypeLetter(FieldKind kind);

// Physical widths chosen for the numeric and date kinds in new tables.
inline constexpr int kIntegerWidth = 11;  // N(11,0): any 32-bit value with its sign
inline constexpr int kFloatWidth = 20;    // N(20,4)
inline constexpr int kFloatDecimals = 4;
inline constexpr int kDateWidth = 8;      // D

// The fixed list-field numbers (combo boxes in the grid and the editor).
inline constexpr std::array<int, 9> kListFieldNumbers = {3, 13, 9, 16, 10, 12, 19, 11, 17};
inline constexpr int kWantedField = 25;

}  // namespace collection
