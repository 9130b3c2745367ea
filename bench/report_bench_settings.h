// What the report benchmarks run a report with: the schema's field labels, the given sort
// levels and a fixed date, so every run prints the same pages.
#pragma once

#include <QDate>

#include "collection/sort_order.h"
#include "reports/report_renderer.h"

namespace bench {

inline reports::RenderSettings reportBenchSettings(const collection::SortLevels& levels) {
    reports::RenderSettings s;
    s.fieldLabels = reports::defaultFieldLabels();
    s.sortLevels = levels;
    s.today = QDate(2026, 1, 1);
    return s;
}

}  // namespace bench
