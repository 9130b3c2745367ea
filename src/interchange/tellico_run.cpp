#include "interchange/tellico_run.h"

#include <QDate>
#include <cstdio>

#include "collection/stamp_schema.h"
#include "engine/table.h"
#include "interchange/tellico_reader.h"
#include "interchange/tellico_writer.h"
#include "interchange/transfer_error.h"
#include "interchange/value_conversion.h"

namespace interchange {

namespace {

constexpr int kDateField = 14;

std::string isoDate(const engine::Date& d) {
    if (d.blank()) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

}  // namespace

TellicoSource readTellicoSource(const std::string& path) {
    tellico::TellicoReader reader(path);
    TellicoSource source;
    source.type = reader.collectionType();
    source.typeName = tellico::collectionTypeName(source.type);
    source.title = reader.title();
    if (source.type == tellico::kStampCollection) source.plan = tellico::importPlan(reader.fields());
    return source;
}

QString tellicoTypeRefusal(const TellicoSource& source) {
    if (source.type == tellico::kStampCollection) return {};
    return QStringLiteral("The Tellico file holds a %1 (collection type %2), not a stamp collection "
                          "(type 9).  Only stamp collections can be imported; nothing was "
                          "imported.")
        .arg(source.typeName)
        .arg(source.type);
}

bool isTellicoName(const QString& path) {
    return path.endsWith(QLatin1String(".tc"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
}

ImportResult importTellico(engine::Table& table, const std::string& path,
                           const ImportOptions& options) {
    std::unique_ptr<tellico::TellicoReader> reader;
    try {
        reader = std::make_unique<tellico::TellicoReader>(path);
    } catch (const std::exception& e) {
        ImportResult failed;
        failed.error = e.what();
        return failed;
    }
    TellicoSource source;
    source.type = reader->collectionType();
    source.typeName = tellico::collectionTypeName(source.type);
    if (const QString refusal = tellicoTypeRefusal(source); !refusal.isEmpty()) {
        ImportResult refused;
        refused.error = refusal.toStdString();
        return refused;
    }
    FieldAssignment identity;
    for (int f = 1; f <= collection::kFieldCount; ++f) identity.push_back(f);
    const collection::DateFormat dates = withFourDigitYears(options.dateFormat);
    tellico::Entry entry;
    return importRecords(table, identity, options, [&](std::vector<std::string>& values) {
        if (!reader->nextEntry(entry)) return false;
        tellico::StampValues stamp = tellico::stampValues(entry, reader->fields());
        std::string& date = stamp.fields[kDateField - 1];
        if (!date.empty()) {
            const QDate d = QDate::fromString(QString::fromStdString(date), Qt::ISODate);
            date.clear();
            if (d.isValid()) appendDateText(date, {d.year(), d.month(), d.day()}, dates);
        }
        // Pictures follow with the picture store; their ids are read and checked meanwhile.
        for (const QString& id : stamp.images)
            if (reader->isZip()) reader->image(id);
        values = std::move(stamp.fields);
        return true;
    });
}

ExportResult exportTellico(engine::Table& source, const std::string& path,
                           const ExportRequest& request, const QString& collectionTitle) {
    ExportResult result;
    result.error = refusedTarget(source, path);
    if (!result.error.empty()) return result;
    try {
        std::vector<tellico::FieldDef> fields = tellico::stampCollectionFields();
        const std::vector<tellico::FieldDef>& own = tellico::ourOwnFields();
        fields.insert(fields.end(), own.begin(), own.end());
        tellico::TellicoWriter writer(path, collectionTitle, tellico::kStampCollection, fields);
        std::vector<int> from;
        for (int f = 1; f <= collection::kFieldCount; ++f)
            from.push_back(source.fieldIndex(collection::schemaField(f).name));
        std::vector<std::string> values(std::size_t(collection::kFieldCount));
        for (source.first(); !source.eof(); source.next()) {
            const engine::RecordView r = source.current();
            for (std::size_t i = 0; i < from.size(); ++i) {
                values[i].clear();
                if (from[i] < 0) continue;
                if (int(i) + 1 == kDateField)
                    values[i] = isoDate(r.date(from[i]));
                else
                    editTextInto(r, from[i], source.fields()[std::size_t(from[i])],
                                 request.dateFormat, values[i]);
            }
            writer.addEntry(tellico::tellicoEntry(values));
            ++result.written;
            if (request.progress) request.progress(result.written);
        }
        writer.finish();
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

}  // namespace interchange
