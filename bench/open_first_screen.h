// Stamp collections for the first-screen benchmark: a table with the 25 stamp fields of the
// program's schema, filled with the synthetic records of bench_data.h, and the sort tag the
// program selects at start-up on its default sort order (by Country).
//
// Contract:
//  - writeCollection() replaces any table at `dbf`; the same `records` and seed give the same
//    file on every run. Records are generated in chunks, so a million of them never sit in
//    memory at once.
//  - The tag is added after the records, as the program adds it to an existing collection.
//  - Engine failures propagate as engine::EngineError.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "bench_data.h"
#include "collection/stamp_table_defs.h"
#include "engine/table.h"

namespace bench {

inline constexpr const char* kFirstScreenTag = "NewIndex";
inline constexpr const char* kFirstScreenTagExpression = "Upper(Left(Country,80))";

inline void writeCollection(const std::string& dbf, std::uint32_t records, std::uint64_t seed) {
    constexpr std::uint32_t kChunk = 20000;
    engine::Table::create(dbf, collection::stampTableFieldDefs());
    engine::Table table;
    table.open(dbf, engine::OpenMode::Exclusive);
    for (std::uint32_t done = 0, chunk = 0; done < records; done += kChunk, ++chunk) {
        const SyntheticCollection data(std::min(kChunk, records - done), seed + chunk);
        for (std::uint32_t r = 0; r < data.size(); ++r) {
            table.append();
            for (int f = 0; f < kStampFieldCount; ++f) table.setText(f, data.field(r, f));
            table.post();
        }
    }
    table.addIndexTag(kFirstScreenTag, kFirstScreenTagExpression);
    table.close();
}

}  // namespace bench
