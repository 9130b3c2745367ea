// Field definitions and values shared by the whole engine.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// dBase type letters. Anything else read from a foreign table is Other and is
// read as text.
enum class FieldType : char {
    Character = 'C',
    Numeric = 'N',
    Float = 'F',
    Date = 'D',
    Logical = 'L',
    Memo = 'M',
    Other = '?',
};

// A field as the caller asks for it at creation.
struct FieldDef {
    std::string name;  // at most 10 ASCII characters; stored upper case
    FieldType type = FieldType::Character;
    int length = 1;    // bytes in the record (C 1..254, N/F 1..20, D 8, L 1)
    int decimals = 0;  // N/F only
};

// A field as it is laid out in an open table.
struct FieldInfo {
    std::string name;      // as stored in the file (upper case for our tables)
    FieldType type = FieldType::Character;
    char typeLetter = 'C';  // the raw letter from the file
    int length = 0;
    int decimals = 0;
    int offset = 0;  // byte offset inside the record (the deletion flag is byte 0)
};

// A calendar date; all zero is the blank date.
struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    bool blank() const { return year == 0 && month == 0 && day == 0; }
    bool operator==(const Date&) const = default;
};

}  // namespace engine
