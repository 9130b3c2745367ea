// The sort expression of a collection: up to four sort levels, each a field
// number 1..25 or 0 for none, turned into the key expression of the index tag
// "NewIndex".
#pragma once

#include <QString>
#include <array>

namespace collection {

inline const QString kSortTagName = QStringLiteral("NewIndex");

// Levels in order primary, secondary, third, fourth. Text fields take
// Upper(Left(NAME,w)) with w = 80 div (number of levels in use); integers
// STR(NAME,12,0); floats STR(NAME,12,2); dates DTOS(NAME); terms joined by
// '+'. Empty when no level is in use. Values outside 0..25 count as none.
QString BuildSortString(const std::array<int, 4>& levels);

}  // namespace collection
