#include "appearance/view_settings_edit.h"

#include <vector>

#include "collection/field_positions.h"

namespace appearance {

int widthFromCell(const QString& cell) {
    bool ok = false;
    const int width = cell.trimmed().toInt(&ok);
    return ok && width > 0 && width < 256 ? width : kBadWidth;
}

QString labelFromCell(const QString& cell) {
    return cell.left(kLabelLength);
}

std::optional<QString> repeatedLabel(const QStringList& cells) {
    for (int i = 0; i < cells.size(); ++i)
        for (int j = i + 1; j < cells.size(); ++j)
            if (labelFromCell(cells[i]) == labelFromCell(cells[j])) return labelFromCell(cells[i]);
    return std::nullopt;
}

QStringList orderRows(const FieldSettingsArray& fields) {
    collection::FieldPositions stored{};
    for (int f = 0; f < collection::kFieldCount; ++f) stored[f] = fields[f].order;
    const collection::FieldPositions positions = collection::repairPositions(stored);
    QStringList rows;
    for (int f = 0; f < collection::kFieldCount; ++f) rows.append(QString());
    for (int f = 0; f < collection::kFieldCount; ++f) rows[positions[f] - 1] = fields[f].label;
    return rows;
}

QStringList schemaOrderRows(const FieldSettingsArray& fields) {
    QStringList rows;
    for (const collection::FieldSettings& field : fields) rows.append(field.label);
    return rows;
}

void applyOrderRows(FieldSettingsArray& fields, const QStringList& labelsAtOpen,
                    const QStringList& rows) {
    // Labels read from a file can repeat: each row is given to one field only.
    std::vector<bool> taken(std::size_t(rows.size()), false);
    for (int f = 0; f < collection::kFieldCount && f < labelsAtOpen.size(); ++f) {
        for (int row = 0; row < rows.size(); ++row) {
            if (taken[std::size_t(row)] || rows[row] != labelsAtOpen[f]) continue;
            taken[std::size_t(row)] = true;
            fields[f].order = row + 1;
            break;
        }
    }
}

}  // namespace appearance
