// Making stored field positions a permutation of 1..25.
//
// A settings file written by hand or by another tool can hold positions that are no permutation:
// two fields on the same position, a position outside 1..25, text that is no number, a position
// that no field claims. Read as they are, the viewer would show one field twice and lose another.
// `repairPositions` gives every field exactly one position: the fields whose stored position is
// within 1..25 keep their relative order (on a shared position, the lower field number first), and
// the others follow in field-number order. A permutation comes back unchanged.
#pragma once

#include <array>

#include "collection/stamp_schema.h"

namespace collection {

// Index = field number - 1. A stored value that is missing or not a number is passed as 0.
using FieldPositions = std::array<int, kFieldCount>;

FieldPositions repairPositions(const FieldPositions& stored);

}  // namespace collection
