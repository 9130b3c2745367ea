// Margins that leave room on the page.
//
// A report needs at least an inch of printable width between its left and right margins, and
// at least an inch of body between the page header (which ends 1.25 inches below the top edge)
// and the footer (0.75 inch above the bottom margin); so the left and right margins together
// may take at most the page width less 1 inch, the top and bottom ones together at most the
// page height less 3 inches. The designer refuses typed margins beyond these limits on Letter
// paper in the report's orientation; margins read from a report file are brought within those
// limits, and the renderer brings them within its own page's, so no layout, printer or PDF file
// ever sees a margin that is not a number or leaves no room.
#pragma once

#include <QSizeF>

#include "reports/report_definition.h"

namespace reports {

// The largest sums of the left and right, and of the top and bottom margins, on a page of
// `size` inches (in its orientation).
struct MarginRoom {
    double across = 0;
    double down = 0;
};
MarginRoom marginRoom(QSizeF size);
// Letter paper, 8.5 by 11 inches, in the orientation asked for.
QSizeF letterSize(bool landscape);

// The report's margins within the room of a page of `size`: a margin that is not a number
// becomes the usual 0.5 inch, a negative one 0, and a pair that takes more than its room is
// narrowed in proportion until it fits.
void clampMargins(ReportDefinition& report, QSizeF size);

}  // namespace reports
