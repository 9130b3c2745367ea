#include "interchange/import_assignment.h"

#include <QRegularExpression>
#include <algorithm>

#include "collection/stamp_schema.h"

namespace interchange {

FieldAssignment assignmentFromRows(const std::vector<ImportRow>& rows, int importFieldCount,
                                   bool pictureRow) {
    FieldAssignment assignment(std::size_t(std::max(importFieldCount, 0)), 0);
    const int usedRows =
        std::min<int>(int(rows.size()), collection::kFieldCount + (pictureRow ? 1 : 0));
    for (int r = 0; r < usedRows; ++r) {
        const ImportRow& row = rows[std::size_t(r)];
        if (row.importField >= 0 && row.importField < importFieldCount && row.use)
            assignment[std::size_t(row.importField)] = r + 1;  // row 26: kPictureColumn
    }
    return assignment;
}

std::vector<ImportRow> defaultImportRows(int importFieldCount) {
    std::vector<ImportRow> rows(std::size_t(std::max(importFieldCount, collection::kFieldCount)));
    for (int i = 0; i < importFieldCount; ++i) rows[std::size_t(i)] = {i, true};
    return rows;
}

bool namesPictureColumn(const std::string& name) {
    return QString::fromStdString(name).trimmed().compare(QLatin1String(kPictureColumnName),
                                                          Qt::CaseInsensitive) == 0;
}

bool listsPictures(const std::string& value) {
    static const QRegularExpression picture(QStringLiteral("\\.(jpe?g|png|tiff?|webp)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QStringList parts = QString::fromStdString(value).split(QLatin1Char(kPictureSeparator));
    return std::all_of(parts.begin(), parts.end(),
                       [](const QString& p) { return picture.match(p.trimmed()).hasMatch(); });
}

std::vector<ImportRow> defaultTextImportRows(const std::vector<std::string>& names) {
    const int count = int(names.size());
    std::vector<ImportRow> rows = defaultImportRows(count);
    auto found = std::find_if(names.begin(), names.end(), namesPictureColumn);
    if (found == names.end()) found = std::find_if(names.begin(), names.end(), listsPictures);
    if (found != names.end()) {
        if (rows.size() <= std::size_t(kPictureRow)) rows.resize(std::size_t(kPictureRow) + 1);
        const int field = int(found - names.begin());
        std::swap(rows[std::size_t(field)], rows[std::size_t(kPictureRow)]);
        rows[std::size_t(kPictureRow)].use = true;
    } else if (rows.size() > std::size_t(kPictureRow)) {
        // Another file's 26th column is not taken for picture names.
        rows[std::size_t(kPictureRow)].use = false;
    }
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
    std::vector<bool> taken(kPictureColumn + 1, false);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString name = QString::fromStdString(names[i]);
        bool isNumber = false;
        name.trimmed().toInt(&isNumber);
        if (isNumber) continue;  // a value such as "1950" names no field
        const int k = namesPictureColumn(names[i]) ? kPictureColumn : stampFieldNamed(name, labels);
        if (k > 0 && !taken[std::size_t(k)]) {
            assignment[i] = k;
            taken[std::size_t(k)] = true;
        }
    }
    return assignment;
}

}  // namespace interchange
