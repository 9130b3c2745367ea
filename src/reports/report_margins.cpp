#include "reports/report_margins.h"

#include <algorithm>
#include <cmath>

namespace reports {

namespace {

constexpr double kUsualMargin = 0.5;
constexpr double kLeastWidth = 1.0;  // inch of printable width
// The page header ends 1.25 inches below the top edge, the footer area starts 0.75 inch above
// the bottom margin, and the body between them needs an inch.
constexpr double kLeastHeight = 1.25 + 0.75 + 1.0;

void clampPair(double& first, double& second, double room) {
    for (double* m : {&first, &second}) {
        if (std::isnan(*m)) *m = kUsualMargin;
        *m = std::clamp(*m, 0.0, room);
    }
    const double sum = first + second;
    if (sum <= room) return;
    const double scale = room / sum;
    first *= scale;
    second *= scale;
    // Rounding may leave the sum a hair above the room.
    second = std::min(second, room - first);
}

}  // namespace

MarginRoom marginRoom(QSizeF size) {
    return {std::max(0.0, size.width() - kLeastWidth), std::max(0.0, size.height() - kLeastHeight)};
}

QSizeF letterSize(bool landscape) {
    return landscape ? QSizeF(11.0, 8.5) : QSizeF(8.5, 11.0);
}

void clampMargins(ReportDefinition& r, QSizeF size) {
    const MarginRoom room = marginRoom(size);
    clampPair(r.leftMargin, r.rightMargin, room.across);
    clampPair(r.topMargin, r.bottomMargin, room.down);
}

}  // namespace reports
