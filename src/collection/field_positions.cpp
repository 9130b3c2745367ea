#include "collection/field_positions.h"

#include <algorithm>
#include <numeric>

namespace collection {

FieldPositions repairPositions(const FieldPositions& stored) {
    auto rank = [&stored](int field) {
        const int p = stored[std::size_t(field)];
        return p >= 1 && p <= kFieldCount ? p : kFieldCount + 1;  // invalid ones after all valid
    };
    std::array<int, kFieldCount> fields{};
    std::iota(fields.begin(), fields.end(), 0);
    std::stable_sort(fields.begin(), fields.end(),
                     [&rank](int a, int b) { return rank(a) < rank(b); });
    FieldPositions repaired{};
    for (int place = 0; place < kFieldCount; ++place)
        repaired[std::size_t(fields[std::size_t(place)])] = place + 1;
    return repaired;
}

}  // namespace collection
