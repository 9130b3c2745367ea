// A breakdown's groups as the table and the chart show them, and as CSV.
//
// Columns: group name, stamps, copies, market value, purchase price, gain, share of value (the
// group's market value in percent of all the groups', to 2 decimals, from whole cents).
// Sorting is stable and descending for the figures, ascending for the name; groups of equal
// figures keep their order. The chart's slices are the `limit` largest groups by one measure,
// and with more groups than that one more slice "Other" for all the rest, so the slices always
// add up to the total.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "statistics/collection_statistics.h"

namespace statistics {

enum class Column { Name, Stamps, Copies, Value, Cost, Gain, Share };
inline constexpr int kColumnCount = 7;

// The measures a chart can show (the additive, never negative columns).
enum class Measure { Stamps, Copies, Value, Cost };

inline const std::string kOtherGroup = "Other";
inline constexpr int kChartGroups = 15;

Tally totalOf(const std::vector<GroupTally>& groups);
std::int64_t measureOf(const Tally& t, Measure m);

// Sorted by `column` (Name ascending, the others descending; Share sorts as Value).
void sortGroups(std::vector<GroupTally>& groups, Column column, bool descending);

// The top `limit` groups by `measure`, largest first, and "Other" for the rest.
std::vector<GroupTally> chartSlices(std::vector<GroupTally> groups, Measure measure,
                                    int limit = kChartGroups);

// Share of `part` in `whole` in hundredths of a percent (1234 is 12.34 %), rounded half up;
// 0 when the whole is 0.
std::int64_t shareBasisPoints(std::int64_t part, std::int64_t whole);
// "12.34"
std::string shareText(std::int64_t basisPoints);

// Column headings: the breakdown's field caption first.
QStringList columnHeadings(const QString& groupCaption);

// The groups as CSV: one heading line, one line a group, machine numbers ("1234.56"), names
// quoted when they hold a comma, a quote or a line break. UTF-8, "\n" line ends.
std::string breakdownCsv(const std::vector<GroupTally>& groups, const QString& groupCaption);

}  // namespace statistics
