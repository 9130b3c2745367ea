// The table-engine side of the engine-versus-sqlite benchmark: the four jobs
// (import with the sort tag maintained, replacing the tag, counting a search,
// reading everything in tag order), each timed with its heap peak.
//
// Contract:
//  - Each step opens and closes the table itself; the time covers the whole
//    job from the first engine call to close().
//  - heapPeakBytes is the highest heap use during the step above the heap in
//    use when it began (memory-mapped files are not heap).
//  - Engine failures propagate as engine::EngineError.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "bench_data.h"
#include "engine/codepage.h"
#include "engine/table.h"
#include "heap_meter.h"

namespace bench {

inline constexpr const char* kTagName = "NewIndex";
inline constexpr const char* kImportTagExpression = "Upper(Left(Country,80))";
inline constexpr const char* kSortTagExpression =
    "Upper(Left(Country,26))+STR(Year,12,0)+Upper(Left(Descriptio,26))";

struct EngineMeasure {
    double seconds = 0;
    std::size_t heapPeakBytes = 0;
    std::uint64_t value = 0;  // the step's answer: a count or a checksum
};

// Times a job and records its heap peak above the heap in use at the start.
template <typename Job>
EngineMeasure measureEngine(Job job) {
    resetHeapPeak();
    const std::size_t base = heapCurrent();
    const auto start = std::chrono::steady_clock::now();
    EngineMeasure m;
    m.value = job();
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.heapPeakBytes = heapPeak() - base;
    return m;
}

// Creates the table with the import tag and appends every record.
inline EngineMeasure engineImport(const SyntheticCollection& data, const std::string& dbf) {
    return measureEngine([&]() -> std::uint64_t {
        engine::Table::create(dbf, stampFieldDefs());
        engine::Table t;
        t.open(dbf, engine::OpenMode::Exclusive);
        t.addIndexTag(kTagName, kImportTagExpression);
        for (std::uint32_t r = 0; r < data.size(); ++r) {
            t.append();
            for (int f = 0; f < kStampFieldCount; ++f) t.setText(f, data.field(r, f));
            t.post();
        }
        const std::uint64_t count = t.physicalCount();
        t.close();
        return count;
    });
}

inline EngineMeasure engineReplaceTag(const std::string& dbf) {
    return measureEngine([&]() -> std::uint64_t {
        engine::Table t;
        t.open(dbf, engine::OpenMode::Exclusive);
        t.deleteIndexTag(kTagName);
        t.addIndexTag(kTagName, kSortTagExpression);
        const std::uint64_t tags = t.tags().size();
        t.close();
        return tags;
    });
}

// True when `text` holds `upperNeedle` in any letter case of code page `cp`.
inline bool containsNoCase(std::string_view text, std::string_view upperNeedle,
                           engine::CodePage cp) {
    if (upperNeedle.size() > text.size()) return false;
    for (std::size_t i = 0; i + upperNeedle.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < upperNeedle.size() &&
               engine::upperByte(static_cast<unsigned char>(text[i + k]), cp) ==
                   static_cast<unsigned char>(upperNeedle[k]))
            ++k;
        if (k == upperNeedle.size()) return true;
    }
    return false;
}

// Counts the records whose Country holds "FRA" in any case.
inline EngineMeasure engineCount(const std::string& dbf) {
    return measureEngine([&]() -> std::uint64_t {
        engine::Table t;
        t.open(dbf, engine::OpenMode::Shared);
        const int country = t.requireField("Country");
        const engine::CodePage cp = t.codePage();
        t.setFilter([country, cp](const engine::RecordView& r) {
            return containsNoCase(r.raw(country), "FRA", cp);
        });
        const std::uint64_t count = t.recordCount();
        t.close();
        return count;
    });
}

// Reads every field of every record as text in tag order; the value is a
// checksum of the texts (so none of the reading can be left out) mixed with
// the number of records read.
inline EngineMeasure engineReadInTagOrder(const std::string& dbf, std::uint64_t* rowsRead) {
    return measureEngine([&]() -> std::uint64_t {
        engine::Table t;
        t.open(dbf, engine::OpenMode::Shared);
        t.selectIndex(kTagName);
        std::uint64_t sum = 0, rows = 0;
        std::string s;  // one buffer for every field, as an exporter would keep
        for (t.first(); !t.eof(); t.next()) {
            const engine::RecordView v = t.current();
            for (int f = 0; f < kStampFieldCount; ++f) {
                v.textInto(f, s);
                sum = sum * 1099511628211ull + s.size();
                for (unsigned char c : s) sum += c;
            }
            ++rows;
        }
        t.close();
        *rowsRead = rows;
        return sum;
    });
}

}  // namespace bench
