// A synthetic stamp collection for the benchmarks: the 25 stamp fields as
// engine field definitions and as SQL columns, and N records generated
// deterministically from a seed.
//
// Contract:
//  - Every value fits its field (character counts within the width, numbers
//    within N(11,0) / N(20,4)), so the engine and sqlite hold the same data.
//  - Values are UTF-8; a few use Windows-1252 letters (Ö, ñ, é, ½).
//  - SyntheticCollection owns all values in one arena; field() views stay
//    valid for the collection's life.
//  - writeCsv() writes a header line and one line a record, quoting values
//    that hold a comma or a quote; it throws std::runtime_error when the file
//    cannot be written.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench_words.h"
#include "engine/field.h"

namespace bench {

inline constexpr int kStampFieldCount = 25;

struct StampColumn {
    engine::FieldDef def;
    const char* sqlType;  // TEXT, INTEGER or REAL
};

inline const std::array<StampColumn, kStampFieldCount>& stampColumns() {
    using T = engine::FieldType;
    static const std::array<StampColumn, kStampFieldCount> columns = {{
        {{"Catalog", T::Character, 12, 0}, "TEXT"},
        {{"Descriptio", T::Character, 110, 0}, "TEXT"},
        {{"Country", T::Character, 20, 0}, "TEXT"},
        {{"FaceValue", T::Character, 20, 0}, "TEXT"},
        {{"MarketValu", T::Numeric, 20, 4}, "REAL"},
        {{"Quantity", T::Numeric, 11, 0}, "INTEGER"},
        {{"Year", T::Numeric, 11, 0}, "INTEGER"},
        {{"Comments", T::Character, 110, 0}, "TEXT"},
        {{"Condition", T::Character, 9, 0}, "TEXT"},
        {{"Group", T::Character, 20, 0}, "TEXT"},
        {{"StampType", T::Character, 16, 0}, "TEXT"},
        {{"Cancellati", T::Character, 13, 0}, "TEXT"},
        {{"Topic", T::Character, 20, 0}, "TEXT"},
        {{"Date", T::Date, 8, 0}, "TEXT"},
        {{"Cost", T::Numeric, 20, 4}, "REAL"},
        {{"Gum", T::Character, 8, 0}, "TEXT"},
        {{"Color", T::Character, 16, 0}, "TEXT"},
        {{"Faults", T::Character, 90, 0}, "TEXT"},
        {{"Hinged", T::Character, 7, 0}, "TEXT"},
        {{"Miscellane", T::Character, 110, 0}, "TEXT"},
        {{"CatalogI", T::Numeric, 11, 0}, "INTEGER"},
        {{"UserDef1", T::Character, 40, 0}, "TEXT"},
        {{"UserDef2", T::Character, 40, 0}, "TEXT"},
        {{"UserDef3", T::Character, 40, 0}, "TEXT"},
        {{"Wanted", T::Character, 3, 0}, "TEXT"},
    }};
    return columns;
}

inline std::vector<engine::FieldDef> stampFieldDefs() {
    std::vector<engine::FieldDef> defs;
    for (const auto& c : stampColumns()) defs.push_back(c.def);
    return defs;
}

// splitmix64: small, fast and the same on every platform.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int between(int lo, int hi) { return lo + int(next() % std::uint64_t(hi - lo + 1)); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <std::size_t N>
    const char* pick(const std::array<const char*, N>& list) {
        return list[next() % N];
    }

  private:
    std::uint64_t state_;
};

class SyntheticCollection {
  public:
    SyntheticCollection(std::uint32_t records, std::uint64_t seed) : records_(records) {
        Rng rng(seed);
        arena_.reserve(std::size_t(records) * 260);
        ends_.reserve(std::size_t(records) * kStampFieldCount);
        for (std::uint32_t r = 0; r < records; ++r) addRecord(rng);
    }

    std::uint32_t size() const { return records_; }
    // Field `field` (0-based) of record `record` (0-based) as UTF-8.
    std::string_view field(std::uint32_t record, int field) const {
        std::size_t i = std::size_t(record) * kStampFieldCount + std::size_t(field);
        std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(arena_).substr(begin, ends_[i] - begin);
    }

    void writeCsv(const std::string& path) const {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) throw std::runtime_error("cannot write " + path);
        std::string line;
        for (int c = 0; c < kStampFieldCount; ++c) {
            if (c) line += ',';
            line += stampColumns()[std::size_t(c)].def.name;
        }
        line += '\n';
        for (std::uint32_t r = 0; r < records_; ++r) {
            for (int c = 0; c < kStampFieldCount; ++c) {
                if (c) line += ',';
                appendCsvValue(line, field(r, c));
            }
            line += '\n';
            if (line.size() > (1u << 20)) flush(f, line, path);
        }
        flush(f, line, path);
        if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + path);
    }

  private:
    static void appendCsvValue(std::string& out, std::string_view v) {
        if (v.find_first_of(",\"\n") == std::string_view::npos) {
            out += v;
            return;
        }
        out += '"';
        for (char c : v) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    static void flush(std::FILE* f, std::string& buf, const std::string& path) {
        if (std::fwrite(buf.data(), 1, buf.size(), f) != buf.size())
            throw std::runtime_error("cannot write " + path);
        buf.clear();
    }

    void end() { ends_.push_back(arena_.size()); }
    void put(std::string_view v) {
        arena_ += v;
        end();
    }
    void putInt(long long v) { put(std::to_string(v)); }
    void putMoney(Rng& rng, int maxWhole) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d.%02d", rng.between(0, maxWhole), rng.between(0, 99));
        put(buf);
    }
    void putMaybe(Rng& rng, int percent, const char* value) {
        put(rng.chance(percent) ? value : "");
    }

    void addRecord(Rng& rng) {
        using namespace words;
        char buf[128];
        const int year = rng.between(1840, 2025);
        std::snprintf(buf, sizeof buf, "%s %d%s", rng.pick(kCatalogPrefixes), rng.between(1, 4999),
                      rng.chance(15) ? "a" : "");
        put(buf);
        std::snprintf(buf, sizeof buf, "%s %s %s, %s", rng.pick(kFaceValues), rng.pick(kColors),
                      rng.pick(kSubjects), rng.pick(kPerforations));
        put(buf);                                    // Descriptio (at most 80 characters)
        put(rng.pick(kCountries));                   // Country
        put(rng.pick(kFaceValues));                  // FaceValue
        putMoney(rng, rng.chance(5) ? 25000 : 150);  // MarketValu
        putInt(rng.between(1, 20));                  // Quantity
        putInt(year);                                // Year
        putMaybe(rng, 30, rng.pick(kComments));      // Comments
        put(rng.pick(kConditions));                  // Condition
        put(rng.pick(kGroups));                      // Group
        put(rng.pick(kStampTypes));                  // StampType
        put(rng.pick(kCancellations));               // Cancellati
        put(rng.pick(kTopics));                      // Topic
        if (rng.chance(90)) {                        // Date (YYYYMMDD or blank)
            std::snprintf(buf, sizeof buf, "%04d%02d%02d", rng.between(1950, 2025),
                          rng.between(1, 12), rng.between(1, 28));
            put(buf);
        } else {
            put("");
        }
        putMoney(rng, 80);                            // Cost
        put(rng.pick(kGums));                         // Gum
        put(rng.pick(kColors));                       // Color
        putMaybe(rng, 15, rng.pick(kFaults));         // Faults
        put(rng.pick(kHinged));                       // Hinged
        putMaybe(rng, 10, rng.pick(kMiscellaneous));  // Miscellane
        putInt(rng.between(1, 99999));                // CatalogI
        if (rng.chance(25)) {                         // UserDef1
            std::snprintf(buf, sizeof buf, "Album %d page %d", rng.between(1, 40),
                          rng.between(1, 64));
            put(buf);
        } else {
            put("");
        }
        putMaybe(rng, 10, rng.pick(kStorage));  // UserDef2
        putMaybe(rng, 5, "Checked");            // UserDef3
        put(rng.chance(10) ? "Yes" : "No");     // Wanted
    }

    std::uint32_t records_;
    std::string arena_;
    std::vector<std::size_t> ends_;  // end offset of each value in arena_
};

// The sqlite3 table the same data is imported into: one column per field,
// with the column types of stampColumns().
inline std::string sqliteCreateTable() {
    std::string sql = "CREATE TABLE stamps(";
    for (int c = 0; c < kStampFieldCount; ++c) {
        const StampColumn& col = stampColumns()[std::size_t(c)];
        if (c) sql += ", ";
        sql += "\"" + col.def.name + "\" " + col.sqlType;
    }
    return sql + ");\n";
}

}  // namespace bench
