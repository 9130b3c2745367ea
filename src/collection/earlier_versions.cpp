#include "collection/earlier_versions.h"

#include <QFileInfo>

#include "collection/collection_file.h"
#include "collection/date_format.h"
#include "collection/profile_file.h"
#include "collection/stamp_schema.h"
#include "engine/companion_files.h"
#include "engine/error.h"
#include "engine/table.h"
#include "engine/table_probe.h"

namespace collection {

namespace {

// Field names after the first (which is never examined) of the two old layouts.
const std::array<const char*, 23> kVersionOneNames = {
    "Catalog",    "Descriptio", "Country",   "FaceValue",  "MarketValu", "Quantity",
    "Year",       "Comments",   "Condition", "Group",      "StampType",  "Cancellati",
    "OverPrint",  "PreCancel",  "Surcharge", "FirstDayCo", "SouvenirCa", "PenCancell",
    "PostalCard", "Topic",      "PurchDay",  "PurchMonth", "PurchYear"};
const std::array<const char*, 7> kFlagTexts = {
    "Overprint, ",     "Precancel, ",        "Surcharge, ",  "First Day Cover, ",
    "Souvenir Card, ", "Pen Cancellation, ", "Postal Card, "};
const std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString first10(const std::string& name) {
    return QString::fromStdString(name).left(10).toUpper();
}

// Reads the header of `path` (read only), compares field names 2.. with `names` (first 10
// characters, any letter case) and the field count with names + 1. Nothing is written unless
// the file passes.
template <typename Names>
bool hasLayout(const QString& path, const Names& names) {
    if (!QFileInfo(path).isFile()) return false;
    bool ok = false;
    try {
        const auto fields = engine::readTableLayout(path.toStdString()).fields;
        ok = fields.size() == names.size() + 1;
        for (std::size_t i = 0; ok && i < names.size(); ++i)
            ok = first10(fields[i + 1].name) == QString::fromLatin1(names[i]).left(10).toUpper();
    } catch (const engine::EngineError&) {
        return false;
    }
    if (ok && !engine::fileExists(engine::companionPath(path.toStdString(), ".MDX")))
        RemoveMDXByte(path);
    return ok;
}

// Stores an old value, read as text, into a field of the new table in that field's type.
void storeText(engine::Table& target, int field, const QString& text) {
    const engine::FieldInfo& info = target.fields()[std::size_t(field)];
    const QString trimmed = text.trimmed();
    switch (info.type) {
        case engine::FieldType::Date: {
            const std::optional<QDate> date = DateFormat{1, false}.parse(trimmed);
            if (date && date->isValid())
                target.setDate(field, engine::Date{date->year(), date->month(), date->day()});
            else
                target.setBlank(field);
            return;
        }
        case engine::FieldType::Numeric:
        case engine::FieldType::Float: {
            bool ok = false;
            trimmed.toDouble(&ok);
            if (ok)
                target.setText(field, trimmed.toStdString());
            else
                target.setBlank(field);
            return;
        }
        default:
            target.setText(field, text.toStdString());
    }
}

// Copies field `oldField` of `old` into `name` of the target; dates move as dates.
void carry(const engine::Table& oldTable, const engine::RecordView& old, int oldField,
           engine::Table& target, std::string_view name) {
    const int field = target.requireField(name);
    const engine::FieldInfo& from = oldTable.fields()[std::size_t(oldField)];
    if (from.type == engine::FieldType::Date &&
        target.fields()[std::size_t(field)].type == engine::FieldType::Date) {
        target.setDate(field, old.date(oldField));
        return;
    }
    storeText(target, field, QString::fromStdString(old.text(oldField)));
}

void setCatalogue(engine::Table& target, const engine::RecordView& old, int catalogField) {
    const QString digits = numericCatalogue(QString::fromStdString(old.text(catalogField)));
    storeText(target, target.requireField("CatalogI"), digits);
}

QString textOf(const engine::RecordView& old, int field) {
    return QString::fromStdString(old.text(field));
}

}  // namespace

bool CheckDBaseFormatV2(const QString& path) {
    std::array<const char*, 20> names{};
    for (int i = 0; i < 20; ++i) names[std::size_t(i)] = stampSchema()[std::size_t(i)].name.data();
    return hasLayout(path, names);
}

bool CheckDBaseFormatV1(const QString& path) {
    return hasLayout(path, kVersionOneNames);
}

QString numericCatalogue(const QString& catalogue) {
    QString digits;
    for (QChar c : catalogue)
        if (c >= u'0' && c <= u'9') digits += c;
    return digits;
}

QString versionOneDateText(const QString& month, const QString& day, const QString& year) {
    QString m = month.left(4);
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (m == QLatin1String(kMonths[i])) m = QString::number(i + 1);
    return m + u'/' + day.left(4) + u'/' + year.left(4);
}

QString versionOneMiscellany(const std::array<QString, 7>& flags) {
    QString text;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i] == QLatin1String("Yes")) text += QLatin1String(kFlagTexts[i]);
    if (!text.isEmpty()) text.chop(2);
    return text;
}

void ConvertV2(const QString& path, engine::Table& target, const QString& oldSettingsPath) {
    const bool divide = ProfileFile(oldSettingsPath)
                            .read(QStringLiteral("Reports"), QStringLiteral("Use Quantity"),
                                  QStringLiteral("Yes")) == QLatin1String("No");
    engine::Table old;
    old.open(path.toStdString(), engine::OpenMode::Shared);
    old.selectIndex({});
    const int quantity = target.requireField("Quantity");
    const int market = target.requireField("MarketValu");
    const int cost = target.requireField("Cost");
    for (std::uint32_t recno = 1; recno <= old.physicalCount(); ++recno) {
        const engine::RecordView record = old.record(recno);
        if (record.deleted()) continue;
        target.append();
        for (int i = 0; i < 20; ++i)
            carry(old, record, i + 1, target, stampSchema()[std::size_t(i)].name);
        setCatalogue(target, record, 1);
        if (divide) {
            const auto q = target.number(quantity);
            const long long whole = q ? static_cast<long long>(*q) : 0;
            // A quantity of 0 (or none) divides nothing: the values stay as they were.
            if (whole != 0) {
                if (auto v = target.number(market)) target.setNumber(market, *v / double(whole));
                if (auto v = target.number(cost)) target.setNumber(cost, *v / double(whole));
            }
        }
        target.post();
    }
}

void ConvertV1(const QString& path, engine::Table& target) {
    engine::Table old;
    old.open(path.toStdString(), engine::OpenMode::Shared);
    old.selectIndex({});
    for (std::uint32_t recno = 1; recno <= old.physicalCount(); ++recno) {
        const engine::RecordView record = old.record(recno);
        if (record.deleted()) continue;
        target.append();
        for (int i = 0; i < 12; ++i)
            carry(old, record, i + 1, target, stampSchema()[std::size_t(i)].name);
        setCatalogue(target, record, 1);
        carry(old, record, 20, target, "Topic");
        storeText(target, target.requireField("Date"),
                  versionOneDateText(textOf(record, 22), textOf(record, 21), textOf(record, 23)));
        std::array<QString, 7> flags;
        for (int i = 0; i < 7; ++i) flags[std::size_t(i)] = textOf(record, 13 + i).trimmed();
        storeText(target, target.requireField("Miscellane"), versionOneMiscellany(flags));
        target.post();
    }
}

}  // namespace collection
