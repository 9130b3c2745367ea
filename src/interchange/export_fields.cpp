#include "interchange/export_fields.h"

namespace interchange {

ExportRows exportRows(const collection::CollectionSettings& settings) {
    ExportRows rows{};
    std::array<bool, collection::kFieldCount> placed{};
    std::array<bool, collection::kFieldCount> filled{};
    for (int r = 1; r <= collection::kFieldCount; ++r) {
        for (int k = 1; k <= collection::kFieldCount; ++k) {
            if (!placed[k - 1] && settings.field(k).exportOrder == r) {
                rows[r - 1] = {k, settings.field(k).exported};
                placed[k - 1] = filled[r - 1] = true;
                break;
            }
        }
    }
    int next = 1;
    for (int r = 1; r <= collection::kFieldCount; ++r) {
        if (filled[r - 1]) continue;
        while (placed[next - 1]) ++next;
        rows[r - 1] = {next, settings.field(next).exported};
        placed[next - 1] = true;
    }
    return rows;
}

ExportRows defaultExportRows() {
    ExportRows rows{};
    for (int r = 1; r <= collection::kFieldCount; ++r) rows[r - 1] = {r, true};
    return rows;
}

void storeExportRows(collection::CollectionSettings& settings, const ExportRows& rows) {
    for (int r = 1; r <= collection::kFieldCount; ++r) {
        collection::FieldSettings& f = settings.field(rows[r - 1].field);
        f.exportOrder = r;
        f.exported = rows[r - 1].exported;
    }
}

std::vector<int> exportList(const ExportRows& rows) {
    std::vector<int> list;
    for (const ExportRow& row : rows)
        if (row.exported) list.push_back(row.field);
    return list;
}

}  // namespace interchange
