// The compiled form of a key expression, private to the expression module.
//
// A key is a run of fixed-length segments written one after the other; each
// segment takes its bytes from one field of the record. Functions disappear
// at compile time: LEFT shortens segments, UPPER marks them, '+' appends them.
// The program is immutable once built and shared between copies of a
// KeyExpression.
#pragma once

#include <vector>

#include "engine/expression.h"

namespace engine {

struct KeySegment {
    enum class Kind {
        Copy,  // the field's raw bytes
        Str,   // STR(field, strLen, strDec) of a numeric field
        Dtos,  // DTOS(field) of a date field
    };
    Kind kind = Kind::Copy;
    int fieldOffset = 0;
    int fieldLength = 0;
    int take = 0;  // bytes of the segment's text that go into the key (LEFT)
    int strLen = 0;
    int strDec = 0;
    bool upper = false;
};

struct KeyExpression::Node {
    std::vector<KeySegment> segments;
};

}  // namespace engine
