#include "interchange/import_assignment.h"

#include "collection/stamp_schema.h"

namespace interchange {

FieldAssignment assignmentFromRows(const std::vector<ImportRow>& rows, int importFieldCount) {
    FieldAssignment assignment(std::size_t(std::max(importFieldCount, 0)), 0);
    const int stampRows = std::min<int>(int(rows.size()), collection::kFieldCount);
    for (int r = 0; r < stampRows; ++r) {
        const ImportRow& row = rows[std::size_t(r)];
        if (row.importField >= 0 && row.importField < importFieldCount && row.use)
            assignment[std::size_t(row.importField)] = r + 1;
    }
    return assignment;
}

std::vector<ImportRow> defaultImportRows(int importFieldCount) {
    std::vector<ImportRow> rows(std::size_t(std::max(importFieldCount, collection::kFieldCount)));
    for (int i = 0; i < importFieldCount; ++i) rows[std::size_t(i)] = {i, true};
    return rows;
}

int stampFieldNamed(const QString& text, const QStringList& labels) {
    const QString t = text.trimmed();
    bool isNumber = false;
    const int number = t.toInt(&isNumber);
    if (isNumber) return number >= 1 && number <= collection::kFieldCount ? number : 0;
    for (int k = 1; k <= collection::kFieldCount; ++k) {
        const QString name = QString::fromLatin1(collection::schemaField(k).name);
        if (t.compare(name, Qt::CaseInsensitive) == 0) return k;
    }
    for (int k = 1; k <= collection::kFieldCount && k <= labels.size(); ++k)
        if (t.compare(labels[k - 1].trimmed(), Qt::CaseInsensitive) == 0) return k;
    return 0;
}

FieldAssignment assignmentByName(const std::vector<std::string>& names, const QStringList& labels) {
    FieldAssignment assignment(names.size(), 0);
    std::vector<bool> taken(collection::kFieldCount + 1, false);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString name = QString::fromStdString(names[i]);
        bool isNumber = false;
        name.trimmed().toInt(&isNumber);
        if (isNumber) continue;  // a value such as "1950" names no field
        const int k = stampFieldNamed(name, labels);
        if (k > 0 && !taken[std::size_t(k)]) {
            assignment[i] = k;
            taken[std::size_t(k)] = true;
        }
    }
    return assignment;
}

}  // namespace interchange
