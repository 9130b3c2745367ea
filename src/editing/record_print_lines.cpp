#include "editing/record_print_lines.h"

namespace editing {

QStringList recordPrintLines(const std::array<QString, collection::kFieldCount>& labels,
                             const RecordTexts& shown) {
    QStringList lines;
    for (int field = 1; field <= kInputFieldCount; ++field)
        lines.append((labels[field - 1] + QStringLiteral(": ")).left(kPrintLabelWidth) +
                     shown[field]);
    lines.append(labels[kWanted - 1] +
                 (shown.wanted ? QStringLiteral(": Yes") : QStringLiteral(": No")));
    return lines;
}

}  // namespace editing
