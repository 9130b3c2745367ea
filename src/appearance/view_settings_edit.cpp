#include "appearance/view_settings_edit.h"

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
    std::array<int, collection::kFieldCount> fieldAt{};  // field index per position, -1 none
    std::array<bool, collection::kFieldCount> placed{};
    fieldAt.fill(-1);
    for (int f = 0; f < collection::kFieldCount; ++f) {
        const int position = fields[f].order;
        if (position >= 1 && position <= collection::kFieldCount && fieldAt[position - 1] < 0) {
            fieldAt[position - 1] = f;
            placed[f] = true;
        }
    }
    int next = 0;
    QStringList rows;
    for (int p = 0; p < collection::kFieldCount; ++p) {
        if (fieldAt[p] < 0) {
            while (placed[next]) ++next;
            fieldAt[p] = next;
            placed[next] = true;
        }
        rows.append(fields[fieldAt[p]].label);
    }
    return rows;
}

QStringList schemaOrderRows(const FieldSettingsArray& fields) {
    QStringList rows;
    for (const collection::FieldSettings& field : fields) rows.append(field.label);
    return rows;
}

void applyOrderRows(FieldSettingsArray& fields, const QStringList& labelsAtOpen,
                    const QStringList& rows) {
    for (int f = 0; f < collection::kFieldCount && f < labelsAtOpen.size(); ++f) {
        const int row = rows.indexOf(labelsAtOpen[f]);
        if (row >= 0) fields[f].order = row + 1;
    }
}

}  // namespace appearance
