// The statistics window's charts, built from the figures (no table access here).
//
// Charts take the window's look: its background colour, its title colour for titles, and its
// label font for titles, axes and legend. Money is charted in units (cents / 100).
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <vector>

#include "statistics/breakdown_rows.h"

class QChart;

namespace statistics {

struct ChartLook {
    QColor background = Qt::white;
    QColor text = Qt::black;
    QFont font;
};

enum class ChartKind { Bar, Pie };

// One bar or slice per group (chartSlices() gives the top groups and "Other").
QChart* breakdownChart(const std::vector<GroupTally>& slices, Measure measure, ChartKind kind,
                       const QString& title, const ChartLook& look);
// Purchase price and market value accumulated by purchase date, two lines.
QChart* purchasesChart(const Purchases& purchases, const ChartLook& look);

QString measureCaption(Measure m);

}  // namespace statistics
