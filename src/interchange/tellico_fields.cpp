#include "interchange/tellico_fields.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>
#include <map>

#include "collection/stamp_schema.h"

namespace interchange::tellico {

namespace {

// Our stamp field numbers (schema order).
enum Stamp {
    kCatalog = 1, kDescription, kCountry, kFaceValue, kMarketValue, kQuantity, kYear, kComments,
    kCondition, kGroup, kStampType, kCancellation, kTopic, kDate, kCost, kGum, kColor, kFaults,
    kHinged, kMiscellaneous, kNumericCatalog, kUserDefined1, kUserDefined2, kUserDefined3, kWanted
};

// Tellico's fields that stand for one of ours, value for value.
const std::map<QString, int>& directFields() {
    static const std::map<QString, int> fields = {
        {QStringLiteral("description"), kDescription}, {QStringLiteral("country"), kCountry},
        {QStringLiteral("color"), kColor},             {QStringLiteral("hinged"), kHinged},
        {QStringLiteral("gummed"), kGum},              {QStringLiteral("scott"), kCatalog},
        {QStringLiteral("comments"), kComments},
    };
    return fields;
}

// Tellico fields it keeps for itself: derived or bookkeeping values.
bool bookkeeping(const QString& name) {
    return name == QLatin1String("id") || name == QLatin1String("cdate") ||
           name == QLatin1String("mdate");
}

// Tellico's grade words that our Condition (9 characters) writes shorter, and back.
const std::vector<std::pair<QString, QString>>& gradeWords() {
    static const std::vector<std::pair<QString, QString>> words = {
        {QStringLiteral("Extremely Fine"), QStringLiteral("XF")},
        {QStringLiteral("Very Fine"), QStringLiteral("VF")},
    };
    return words;
}

FieldDef field(const char* name, const char* title, const char* category, int type, int format,
               int flags) {
    FieldDef f;
    f.name = QString::fromLatin1(name);
    f.title = QString::fromLatin1(title);
    f.category = QString::fromLatin1(category);
    f.type = type;
    f.format = format;
    f.flags = flags;
    return f;
}

// Our fields without a Tellico stamp field: the name each goes out under.
const std::vector<std::pair<int, const char*>>& ownFieldNames() {
    static const std::vector<std::pair<int, const char*>> names = {
        {kMarketValue, "market-value"},   {kQuantity, "quantity"},
        {kGroup, "stamp-group"},          {kStampType, "stamp-type"},
        {kCancellation, "cancellation"},  {kTopic, "topic"},
        {kFaults, "faults"},              {kMiscellaneous, "miscellaneous"},
        {kNumericCatalog, "numeric-catalog"}, {kUserDefined1, "user-defined-1"},
        {kUserDefined2, "user-defined-2"}, {kUserDefined3, "user-defined-3"},
        {kWanted, "wanted"},
        // Written only when Tellico's grade cannot hold the value: it keeps only its own words.
        {kCondition, "condition"},
    };
    return names;
}

int ownField(const QString& name) {
    for (const auto& [number, own] : ownFieldNames())
        if (name == QLatin1String(own)) return number;
    return 0;
}

bool isWholeNumber(const QString& s) {
    if (s.isEmpty() || s.size() > 9) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// One line of a Tellico value (a paragraph's breaks, written as <br/> or as line breaks).
QString oneLine(QString value) {
    const bool breaks = value.contains(QLatin1Char('<')) || value.contains(QLatin1Char('\n')) ||
                        value.contains(QLatin1Char('\r'));
    if (breaks) {
        static const QRegularExpression pattern(QStringLiteral("<br */?>|\\r\\n|\\n|\\r"));
        value.replace(pattern, QStringLiteral(" "));
        return value.trimmed();
    }
    return value;  // blanks at the ends stay, as the table keeps them
}

QString titleOf(const QString& name, const std::vector<FieldDef>& fields) {
    for (const FieldDef& f : fields)
        if (f.name == name) return f.title.isEmpty() ? name : f.title;
    return name;
}

}  // namespace

const std::vector<FieldDef>& stampCollectionFields() {
    static const std::vector<FieldDef> fields = [] {
        std::vector<FieldDef> f;
        FieldDef title = field("title", "Title", "General", 1, 1, 40);
        title.props = {{QStringLiteral("template"),
                        QStringLiteral("%{year} %{description} %{denomination}")}};
        f.push_back(title);
        f.push_back(field("description", "Description", "General", 1, 1, 6));
        f.push_back(field("denomination", "Denomination", "General", 1, 4, 6));
        f.push_back(field("currency", "Currency", "General", 1, 0, 6));
        f.push_back(field("country", "Country", "General", 1, 0, 2));
        f.push_back(field("year", "Issue Year", "General", 6, 4, 3));
        f.push_back(field("color", "Color", "General", 1, 4, 6));
        f.push_back(field("scott", "Scott#", "General", 1, 4, 0));
        FieldDef grade = field("grade", "Grade", "Condition", 3, 4, 2);
        grade.allowed = QStringLiteral("Superb;Extremely Fine;Very Fine;Fine;Average;Poor");
        f.push_back(grade);
        f.push_back(field("cancelled", "Cancelled", "Condition", 4, 4, 0));
        f.push_back(field("hinged", "Hinged", "Condition", 1, 4, 6));
        f.push_back(field("centering", "Centering", "Condition", 1, 4, 6));
        f.push_back(field("gummed", "Gummed", "Condition", 1, 4, 6));
        f.push_back(field("pur_date", "Purchase Date", "Personal", 1, 3, 0));
        f.push_back(field("pur_price", "Purchase Price", "Personal", 1, 4, 0));
        f.push_back(field("location", "Location", "Personal", 1, 0, 6));
        f.push_back(field("gift", "Gift", "Personal", 4, 4, 0));
        f.push_back(field("image", "Image", "Image", 10, 4, 0));
        f.push_back(field("comments", "Comments", "Comments", 2, 4, 0));
        FieldDef id = field("id", "ID", "Personal", 6, 4, 32);
        id.props = {{QStringLiteral("template"), QStringLiteral("%{@id}")}};
        f.push_back(id);
        f.push_back(field("cdate", "Date Created", "Personal", 12, 3, 16));
        f.push_back(field("mdate", "Date Modified", "Personal", 12, 3, 16));
        return f;
    }();
    return fields;
}

const std::vector<FieldDef>& ourOwnFields() {
    static const std::vector<FieldDef> fields = [] {
        std::vector<FieldDef> f;
        for (const auto& [number, name] : ownFieldNames()) {
            const collection::SchemaField& s = collection::schemaField(number);
            const bool whole = s.kind == collection::FieldKind::Integer;
            FieldDef d = field(name, "", "Tessellon", whole ? 6 : 1, 4, 0);
            d.title = QString::fromLatin1(s.label.data(), qsizetype(s.label.size()));
            f.push_back(d);
        }
        return f;
    }();
    return fields;
}

std::vector<FieldDef> morePictureFields(int pictures) {
    std::vector<FieldDef> f;
    for (int k = 2; k <= pictures; ++k) {
        FieldDef d;
        d.name = QStringLiteral("picture-%1").arg(k);
        d.title = QStringLiteral("Picture %1").arg(k);
        d.category = QStringLiteral("Tessellon");
        d.type = kImageType;
        f.push_back(d);
    }
    return f;
}

bool isImageField(const QString& name, const std::vector<FieldDef>& collectionFields) {
    if (name == QLatin1String("image")) return true;
    return std::any_of(collectionFields.begin(), collectionFields.end(),
                       [&](const FieldDef& f) { return f.name == name && f.type == kImageType; });
}

QString collectionTypeName(int type) {
    static const char* const names[] = {
        "Custom Collection",     "Book Collection",       "Video Collection",
        "Music Collection",      "Bibliography",          "Comic Book Collection",
        "Wine Collection",       "Coin Collection",       "Stamp Collection",
        "Trading Card Collection", "Video Game Collection", "File Catalog",
        "Board Game Collection"};
    if (type >= 1 && type <= 13) return QString::fromLatin1(names[type - 1]);
    return QStringLiteral("type %1").arg(type);
}

const QStringList* Entry::find(const QString& field) const {
    for (const auto& [name, list] : values)
        if (name == field) return &list;
    return nullptr;
}

QString Entry::first(const QString& field) const {
    const QStringList* list = find(field);
    return list && !list->isEmpty() ? list->first() : QString();
}

void Entry::add(const QString& field, const QString& value) {
    for (auto& [name, list] : values)
        if (name == field) {
            list.append(value);
            return;
        }
    values.emplace_back(field, QStringList{value});
}

std::string amountText(const QString& amount) {
    QString n;
    for (QChar c : amount)
        if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char(',') ||
            (c == QLatin1Char('-') && n.isEmpty()))
            n.append(c);
    if (std::none_of(n.begin(), n.end(), [](QChar c) { return c.isDigit(); })) return {};
    const qsizetype dot = n.lastIndexOf(QLatin1Char('.'));
    const qsizetype comma = n.lastIndexOf(QLatin1Char(','));
    if (dot >= 0 && comma >= 0) {
        // Both: the later one is the decimal point.
        n.remove(dot > comma ? QLatin1Char(',') : QLatin1Char('.'));
        n.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (comma >= 0) {
        // "12,50" is a decimal comma; "1,234" and "1,234,567" group thousands.
        const bool decimal = n.count(QLatin1Char(',')) == 1 && n.size() - comma - 1 <= 2;
        if (decimal)
            n.replace(QLatin1Char(','), QLatin1Char('.'));
        else
            n.remove(QLatin1Char(','));
    }
    return n.toStdString();
}

StampValues stampValues(const Entry& entry, const std::vector<FieldDef>& collectionFields) {
    StampValues out;
    auto set = [&out](int number, const QString& value) {
        out.fields[std::size_t(number - 1)] = oneLine(value).toStdString();
    };
    QStringList misc;
    auto toMisc = [&](const QString& name, const QStringList& values) {
        misc.append(titleOf(name, collectionFields) + QStringLiteral(": ") +
                    oneLine(values.join(QStringLiteral(", "))));
    };
    bool titleDerived = true;
    for (const FieldDef& f : collectionFields)
        if (f.name == QLatin1String("title")) titleDerived = (f.flags & 0x20) != 0;
    std::vector<std::pair<int, QString>> own;
    for (const auto& [name, values] : entry.values) {
        // One of our own fields, even empty: its value is the exact one.
        if (int number = ownField(name)) {
            own.emplace_back(number, values.value(0));
            continue;
        }
        if (values.isEmpty() || (values.size() == 1 && values.first().isEmpty())) continue;
        const QString& value = values.first();
        if (const auto direct = directFields().find(name); direct != directFields().end()) {
            set(direct->second, value);
            if (name == QLatin1String("scott") && isWholeNumber(value.trimmed()))
                set(kNumericCatalog, value.trimmed());
        } else if (name == QLatin1String("denomination") || name == QLatin1String("currency")) {
            const QString face = (entry.first(QStringLiteral("denomination")) + QLatin1Char(' ') +
                                  entry.first(QStringLiteral("currency")))
                                     .trimmed();
            set(kFaceValue, face);
        } else if (name == QLatin1String("year")) {
            set(kYear, value);
            if (values.size() > 1) toMisc(name, values.mid(1));
        } else if (name == QLatin1String("grade")) {
            QString grade = value;
            for (const auto& [tellico, ours] : gradeWords())
                if (grade.compare(tellico, Qt::CaseInsensitive) == 0) grade = ours;
            set(kCondition, grade);
        } else if (name == QLatin1String("cancelled")) {
            if (value == QLatin1String("true")) set(kCancellation, QStringLiteral("Cancelled"));
        } else if (name == QLatin1String("pur_date")) {
            const QDate d = QDate::fromString(value.trimmed(), Qt::ISODate);
            if (d.isValid())
                set(kDate, d.toString(Qt::ISODate));
            else
                toMisc(name, values);
        } else if (name == QLatin1String("pur_price")) {
            const std::string amount = amountText(value);
            if (amount.empty())
                toMisc(name, values);
            else
                out.fields[kCost - 1] = amount;
        } else if (isImageField(name, collectionFields)) {
            out.images += values;
        } else if (bookkeeping(name) || (name == QLatin1String("title") && titleDerived)) {
            continue;
        } else if (name == QLatin1String("gift")) {
            if (value == QLatin1String("true")) misc.append(titleOf(name, collectionFields));
        } else {
            toMisc(name, values);
        }
    }
    // Our own fields carry the exact values and win over what Tellico's fields gave.
    for (const auto& [number, value] : own) set(number, value);
    if (!misc.isEmpty()) {
        QString all = QString::fromStdString(out.fields[kMiscellaneous - 1]);
        if (!all.isEmpty()) all += QStringLiteral("; ");
        set(kMiscellaneous, all + misc.join(QStringLiteral("; ")));
    }
    return out;
}

Entry tellicoEntry(const std::vector<std::string>& fields) {
    Entry e;
    auto value = [&fields](int number) {
        return QString::fromStdString(fields[std::size_t(number - 1)]);
    };
    auto put = [&e](const char* name, const QString& v) {
        if (!v.isEmpty()) e.add(QString::fromLatin1(name), v);
    };
    const QString title =
        QStringList{value(kYear), value(kDescription), value(kFaceValue)}.join(QLatin1Char(' '))
            .simplified();
    put("title", title);
    put("description", value(kDescription));
    put("denomination", value(kFaceValue));
    put("country", value(kCountry));
    put("year", value(kYear));
    put("color", value(kColor));
    put("scott", value(kCatalog));
    QString grade = value(kCondition);
    for (const auto& [tellico, ours] : gradeWords())
        if (grade == ours) grade = tellico;
    // Tellico drops a choice it does not offer: such a condition goes in a field of its own.
    QStringList allowed;
    for (const FieldDef& f : stampCollectionFields())
        if (f.name == QLatin1String("grade")) allowed = f.allowed.split(QLatin1Char(';'));
    if (allowed.contains(grade))
        put("grade", grade);
    else
        put("condition", grade);
    const QString cancel = value(kCancellation);
    if (!cancel.isEmpty() && cancel.compare(QLatin1String("Uncancelled"), Qt::CaseInsensitive) != 0)
        put("cancelled", QStringLiteral("true"));
    put("hinged", value(kHinged));
    put("gummed", value(kGum));
    put("pur_date", value(kDate));
    put("pur_price", value(kCost));
    put("comments", value(kComments));
    for (const auto& [number, name] : ownFieldNames())
        if (number != kCondition) put(name, value(number));
    // A whole Scott number would be read back as the Numeric Catalog too: an empty one says
    // that it is blank.
    if (value(kNumericCatalog).isEmpty() && isWholeNumber(value(kCatalog).trimmed()))
        e.add(QStringLiteral("numeric-catalog"), QString());
    return e;
}

QStringList importPlan(const std::vector<FieldDef>& fields) {
    QStringList plan;
    const auto label = [](int number) {
        const std::string_view l = collection::schemaField(number).label;
        return QString::fromLatin1(l.data(), qsizetype(l.size()));
    };
    const QString arrow = QStringLiteral(" \u2192 ");
    bool titleDerived = true;
    for (const FieldDef& f : fields)
        if (f.name == QLatin1String("title")) titleDerived = (f.flags & 0x20) != 0;
    for (const FieldDef& f : fields) {
        const QString from = f.title.isEmpty() ? f.name : f.title;
        QString to;
        if (const auto direct = directFields().find(f.name); direct != directFields().end()) {
            to = label(direct->second);
            if (f.name == QLatin1String("scott")) to += QStringLiteral(" (and ") +
                                                         label(kNumericCatalog) +
                                                         QStringLiteral(" when a whole number)");
        } else if (int number = ownField(f.name)) {
            to = label(number);
        } else if (f.name == QLatin1String("denomination") || f.name == QLatin1String("currency")) {
            to = label(kFaceValue);
        } else if (f.name == QLatin1String("year")) {
            to = label(kYear) + QStringLiteral(" (further years to Miscellaneous)");
        } else if (f.name == QLatin1String("grade")) {
            to = label(kCondition);
        } else if (f.name == QLatin1String("cancelled")) {
            to = label(kCancellation) + QStringLiteral(" (\"Cancelled\" when ticked)");
        } else if (f.name == QLatin1String("pur_date")) {
            to = label(kDate);
        } else if (f.name == QLatin1String("pur_price")) {
            to = label(kCost) + QStringLiteral(" (the amount; a currency sign or code is left out)");
        } else if (f.type == kImageType || f.name == QLatin1String("image")) {
            to = QStringLiteral("the stamp's pictures");
        } else if (bookkeeping(f.name) || (f.name == QLatin1String("title") && titleDerived)) {
            plan.append(from + QStringLiteral(": Tellico's own bookkeeping, not kept"));
            continue;
        } else {
            to = label(kMiscellaneous) + QStringLiteral(" (as \"") + from +
                 QStringLiteral(": value\")");
        }
        plan.append(from + arrow + to);
    }
    return plan;
}

}  // namespace interchange::tellico
