#include "reports/line_refit.h"

namespace reports {

void refitLine(ReportLine& line, int width) {
    int sum = 0;
    int stop = 0;
    for (; stop < kEntriesPerLine; ++stop) {
        LineEntry& entry = line[stop];
        // A damaged file may hold a negative width; it counts as unused like 0.
        if (entry.width <= 0) entry.width = width;
        sum += entry.width;
        if (sum >= width) break;
    }
    if (stop == kEntriesPerLine) stop = kEntriesPerLine - 1;
    line[stop].width -= sum - width;  // shortens on excess, lengthens on shortfall
    for (int i = stop + 1; i < kEntriesPerLine; ++i) line[i].width = 0;
}

int usedEntries(const ReportLine& line) {
    int used = 0;
    while (used < kEntriesPerLine && line[used].width > 0) ++used;
    return used;
}

}  // namespace reports
