// Text rules of Tellico values, on UTF-8 text, giving exactly what the same rule gives on a
// QString (whose blanks, letter case and dates follow Unicode), without building one for the
// common case of plain ASCII values. Input must be valid UTF-8.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace interchange::tellico {

bool isAscii(std::string_view s);

// `s` without the blanks at its ends, as QString::trimmed() takes them off; the result lies in
// `s` or, when a blank outside ASCII may be involved, in `scratch`.
std::string_view qtTrimmed(std::string_view s, std::string& scratch);

// Appends `value` as one line: a paragraph's breaks (<br/>, written as such or as line breaks)
// become blanks and the blanks at the ends go; a value without breaks is appended as it is.
void appendOneLine(std::string& out, std::string_view value);

// Up to nine ASCII digits and nothing else.
bool isWholeNumber(std::string_view s);

// `s` equals `word` ignoring letter case (Unicode case folding).
bool equalsIgnoringCase(std::string_view s, const QString& word);

// The date of an ISO text ("1999-05-06", blanks at the ends allowed, as QDate reads it);
// false when it is none.
bool readIsoDate(std::string_view s, int& year, int& month, int& day);

}  // namespace interchange::tellico
