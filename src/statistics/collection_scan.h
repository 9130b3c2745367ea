// One pass over a collection's table in record order, feeding CollectionStatistics.
//
// The table at `path` is opened read-only by a Table of its own (so the pass may run on any
// thread while the program's table stays in use) and closed again before returning. Records
// marked deleted are skipped; with a search filter only the records it passes are counted, as
// the viewer shows them during a search. The pass is the engine's counting pass (record order,
// the pages read ahead), the statistics taking each record as it is tested.
//
// `cancel`, when given, is read at every record; once set the pass stops by throwing
// ScanCancelled. Open and read failures throw engine::EngineError.
#pragma once

#include <atomic>
#include <stdexcept>
#include <string>

#include "collection/search_filter.h"
#include "statistics/collection_statistics.h"

namespace statistics {

struct ScanCancelled : std::exception {
    const char* what() const noexcept override { return "statistics cancelled"; }
};

CollectionStatistics scanCollection(const std::string& path,
                                    const collection::SearchFilter* filter,
                                    CollectionStatistics::Options options,
                                    const std::atomic<bool>* cancel = nullptr);

// The same pass over a table already open (its own filter is replaced for the pass and
// cleared afterwards): for callers that hold the table anyway.
void scanTable(engine::Table& table, const collection::SearchFilter* filter,
               CollectionStatistics& statistics, const std::atomic<bool>* cancel = nullptr);

}  // namespace statistics
