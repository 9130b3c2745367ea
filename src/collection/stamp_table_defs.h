// The stamp schema as table-engine field definitions, with the physical
// widths chosen for integer (N 11,0), float (N 20,4) and date (D 8) fields.
#pragma once

#include <vector>

#include "engine/field.h"

namespace collection {

const std::vector<engine::FieldDef>& stampTableFieldDefs();

}  // namespace collection
