#include "statistics/collection_scan.h"

namespace statistics {

void scanTable(engine::Table& table, const collection::SearchFilter* filter,
               CollectionStatistics& statistics, const std::atomic<bool>* cancel) {
    // The counting pass hands every record not marked deleted to the filter, in record order;
    // the statistics take the records that pass. Nothing is accepted, so no order is kept.
    table.setFilter([&](const engine::RecordView& record) {
        if (cancel && cancel->load(std::memory_order_relaxed)) throw ScanCancelled();
        if (!filter || filter->passes(record)) statistics.add(record);
        return false;
    });
    try {
        table.recordCount();
    } catch (...) {
        table.clearFilter();
        throw;
    }
    table.clearFilter();
}

CollectionStatistics scanCollection(const std::string& path,
                                    const collection::SearchFilter* filter,
                                    CollectionStatistics::Options options,
                                    const std::atomic<bool>* cancel) {
    engine::Table table;
    table.open(path, engine::OpenMode::ReadOnly);
    CollectionStatistics statistics(table, std::move(options));
    scanTable(table, filter, statistics, cancel);
    return statistics;
}

}  // namespace statistics
