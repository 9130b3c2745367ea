#include "collection/deleted_records.h"

#include <QStringList>

namespace collection {
namespace {

// Positions (0-based) of the stamp's catalogue number, description and country.
constexpr int kCatalog = 0;
constexpr int kDescription = 1;
constexpr int kCountry = 2;

QString fieldText(const engine::RecordView& record, int field) {
    return QString::fromStdString(record.text(field)).trimmed();
}

}  // namespace

std::vector<DeletedStamp> deletedStamps(const engine::Table& table) {
    std::vector<DeletedStamp> stamps;
    const std::uint32_t count = table.physicalCount();
    for (std::uint32_t recno = 1; recno <= count; ++recno) {
        const engine::RecordView record = table.record(recno);
        if (!record.deleted()) continue;
        stamps.push_back(DeletedStamp{recno, fieldText(record, kCatalog),
                                      fieldText(record, kCountry),
                                      fieldText(record, kDescription)});
    }
    return stamps;
}

bool recallStamp(engine::Table& table, std::uint32_t recno) {
    if (recno == 0 || recno > table.physicalCount()) return false;
    std::string bytes = table.recordBytes(recno);
    if (bytes[0] != '*') return false;
    bytes[0] = ' ';
    table.restoreRecord(recno, bytes);
    return true;
}

QString stampSummary(const engine::RecordView& record) {
    QStringList parts;
    for (int field : {kCatalog, kCountry, kDescription}) {
        const QString text = fieldText(record, field);
        if (!text.isEmpty()) parts.append(text);
    }
    return parts.join(QStringLiteral("  "));
}

}  // namespace collection
