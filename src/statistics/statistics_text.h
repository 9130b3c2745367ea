// The texts the status bar, the statistics window and the companion show for the figures, in
// the collection's number formats (the `Numeric Format` and `Currency Format` settings).
#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "collection/regional_settings.h"
#include "statistics/collection_statistics.h"

namespace statistics {

struct NumberStyle {
    int numericFormat = 1;
    int currencyFormat = 1;
    collection::RegionalSettings regional;

    QString money(std::int64_t cents) const;
    QString count(std::int64_t n) const;
};

// The summary as caption/value pairs: Stamps, Copies, Market Value, Purchase Price, Gain,
// Wanted Stamps, Without Market Value, Oldest Year, Newest Year ("-" for a year when none).
std::vector<std::pair<QString, QString>> summaryLines(const Summary& s, const NumberStyle& style);

// The status bar's text for the records in view.
QString statusText(const Tally& t, const NumberStyle& style);
// The status bar while the totals are computed.
inline const QString kComputingText = QStringLiteral("\u2026");

// Which records the figures are of.
QString scopeText(bool searchActive);

}  // namespace statistics
