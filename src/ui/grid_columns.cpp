#include "ui/grid_columns.h"

namespace ui {

FieldViewSettings defaultFieldViewSettings() {
    FieldViewSettings settings;
    for (const collection::SchemaField& f : collection::stampSchema()) {
        FieldViewSetting& s = settings[std::size_t(f.number - 1)];
        s.label = QString::fromUtf8(f.label.data(), qsizetype(f.label.size()));
        s.position = f.number;
    }
    return settings;
}

std::vector<GridColumn> layoutColumns(const FieldViewSettings& settings) {
    std::vector<GridColumn> columns;
    for (int position = 1; position <= collection::kFieldCount; ++position) {
        std::size_t chosen = 0;  // Catalog unless a field claims the position
        for (std::size_t i = 0; i < settings.size(); ++i) {
            if (settings[i].position == position) {
                chosen = i;
                break;
            }
        }
        const FieldViewSetting& s = settings[chosen];
        if (!s.shown) continue;
        columns.push_back(GridColumn{int(chosen) + 1, s.label, s.widthChars});
    }
    return columns;
}

}  // namespace ui
