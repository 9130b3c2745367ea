// Fitting a report line to a page width, a plain function the designer uses whenever a width
// changes (the report's characters per line, or one entry's width).
//
// The walk starts at the first entry. An entry of width 0 met on the way takes the whole width
// `width`; widths are added until their sum reaches `width` or the 20th entry is reached. When
// the sum is over, the entry where the walk stopped is shortened by the excess; when it is under
// (only possible at the 20th entry) that entry is lengthened by the shortfall. Every entry after
// it gets width 0. Kinds, names and labels are never touched, so a widened zero-width entry
// keeps whatever kind it held.
//
// `width` must be positive; the line afterwards sums to exactly `width` over its used entries.
#pragma once

#include "reports/report_definition.h"

namespace reports {

void refitLine(ReportLine& line, int width);

// Entries in use: those before the first entry of width 0 (at most 20).
int usedEntries(const ReportLine& line);

}  // namespace reports
