// For the benchmarks that run the collection layer: a synthetic collection made the way the
// program makes one (collection::MakeNewDB, the collection's own field definitions), filled with
// the stamps of bench_data.h while the tag NewIndex on `sortExpression` is kept up to date
// (throws on failure), and their common command line "[RECORDS] [FOLDER] [--keep] [--rounds=N]".
#pragma once

#include <QString>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "bench_data.h"
#include "collection/collection_file.h"
#include "collection/sort_expression.h"
#include "engine/table.h"

namespace bench {

inline void makeBenchCollection(const SyntheticCollection& data, const QString& dbf,
                                const QString& sortExpression) {
    if (!collection::MakeNewDB(dbf, {})) throw std::runtime_error("cannot create the collection");
    engine::Table t;
    t.open(dbf.toStdString(), engine::OpenMode::Exclusive);
    t.addIndexTag(collection::kSortTagName.toStdString(), sortExpression.toStdString());
    for (std::uint32_t r = 0; r < data.size(); ++r) {
        t.append();
        for (int f = 0; f < kStampFieldCount; ++f) t.setText(f, data.field(r, f));
        t.post();
    }
}

// Parses "[RECORDS] [FOLDER] [--keep] [--rounds=N]" (`defaultRecords` records in /tmp by default) and calls
// `run(records, folder, keep)`; prints the usage (status 2) or a failure (status 1) itself.
// Rounds each side runs, the best of which is compared: `--rounds=N` anywhere after the
// folder, 5 when not given (single timings on a shared machine vary by half).
inline int& benchRounds() {
    static int rounds = 5;
    return rounds;
}

inline int runBenchMain(int argc, char** argv, const char* name,
                        const std::function<int(std::uint32_t, const std::string&, bool)>& run,
                        std::uint32_t defaultRecords = 1000000) {
    std::uint32_t records = defaultRecords;
    if (argc > 1) {
        const char* end = argv[1] + std::strlen(argv[1]);
        auto [p, ec] = std::from_chars(argv[1], end, records);
        if (ec != std::errc() || p != end || records == 0) {
            std::fprintf(stderr, "usage: %s [RECORDS] [FOLDER] [--keep] [--rounds=N]\n", argv[0]);
            return 2;
        }
    }
    const std::string folder = argc > 2 ? argv[2] : "/tmp";
    bool keep = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = true;
        else if (std::strncmp(argv[i], "--rounds=", 9) == 0 && std::atoi(argv[i] + 9) > 0)
            benchRounds() = std::atoi(argv[i] + 9);
    }
    try {
        return run(records, folder, keep);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
        return 1;
    }
}

}  // namespace bench
