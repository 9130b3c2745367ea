// Inserting into an index tag whose keys are all equal (Google Benchmark): the time of one
// insert must not grow with the number of equal keys already there (10,000 to 1,000,000 keys;
// an import adds thousands of stamps of the same country).
//
//  - BM_AppendAmongEqualKeys: a new record's key (record number above all), as an import adds it.
//  - BM_ReinsertAmongEqualKeys: one key taken out and put back in the middle of the equal keys,
//    as search and replace does for a changed record, so record numbers must be compared.
//
// Usage: mdx_equal_keys_bench [--benchmark_...]; files go to $TMPDIR (or /tmp) and are removed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "engine/mdx_file.h"

namespace {

constexpr int kKeyLength = 80;  // the collection's sort key, Upper(Left(Country,80))

std::string scratchPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name + "-" + std::to_string(::getpid()) +
           ".MDX";
}

// An index with one tag holding `count` copies of the same key.
std::unique_ptr<engine::MdxFile> equalKeys(const std::string& path, std::uint32_t count) {
    auto mdx = engine::MdxFile::create(path, "BENCH", 0x57);
    const std::string key(kKeyLength, 'F');
    mdx->addTag("NEWINDEX", "UPPER(COUNTRY)", kKeyLength, count,
                [&key](std::uint32_t, char* out) { key.copy(out, key.size()); });
    return mdx;
}

void BM_AppendAmongEqualKeys(benchmark::State& state) {
    const std::string path = scratchPath("append");
    const auto count = std::uint32_t(state.range(0));
    auto mdx = equalKeys(path, count);
    const std::string key(kKeyLength, 'F');
    std::uint32_t recno = count;
    for (auto _ : state) mdx->insertKey(0, key.data(), ++recno, /*newest=*/true);
    state.counters["keys"] = double(recno);
    mdx.reset();
    ::unlink(path.c_str());
}

void BM_ReinsertAmongEqualKeys(benchmark::State& state) {
    const std::string path = scratchPath("reinsert");
    const auto count = std::uint32_t(state.range(0));
    auto mdx = equalKeys(path, count);
    const std::string key(kKeyLength, 'F');
    std::uint32_t recno = count / 3;
    for (auto _ : state) {
        recno = recno % count + 1;
        mdx->removeKey(0, key.data(), recno);
        mdx->insertKey(0, key.data(), recno);
    }
    mdx.reset();
    ::unlink(path.c_str());
}

}  // namespace

BENCHMARK(BM_AppendAmongEqualKeys)->Arg(10000)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_ReinsertAmongEqualKeys)->Arg(10000)->Arg(100000)->Arg(1000000);
BENCHMARK_MAIN();
