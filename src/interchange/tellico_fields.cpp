#include "interchange/tellico_fields.h"

#include <algorithm>
#include <map>

#include "collection/stamp_schema.h"
#include "interchange/tellico_text.h"

namespace interchange::tellico {

namespace {

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

}  // namespace

const std::vector<std::pair<QString, QString>>& gradeWords() {
    static const std::vector<std::pair<QString, QString>> words = {
        {QStringLiteral("Extremely Fine"), QStringLiteral("XF")},
        {QStringLiteral("Very Fine"), QStringLiteral("VF")},
    };
    return words;
}

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

namespace {

// The code point starting at `s[i]` of valid UTF-8 text; `i` moves past it.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    const int more = b >= 0xf0 ? 3 : b >= 0xe0 ? 2 : 1;
    char32_t c = b & (0x3f >> more);
    for (int k = 0; k < more && i < s.size(); ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3f);
    return c;
}

}  // namespace

std::string amountText(std::string_view amount) {
    // Characters are kept as their UTF-8 bytes; a character outside the basic plane is no digit
    // (as its two UTF-16 halves are none).
    std::string n;
    bool digits = false;
    for (std::size_t i = 0; i < amount.size();) {
        const std::size_t from = i;
        const char32_t c = nextCodePoint(amount, i);
        const bool digit = c < 0x80 ? c >= '0' && c <= '9' : c <= 0xffff && QChar::isDigit(c);
        if (digit || c == '.' || c == ',' || (c == '-' && n.empty())) {
            n.append(amount.substr(from, i - from));
            digits = digits || digit;
        }
    }
    if (!digits) return {};
    const std::size_t dot = n.rfind('.');
    const std::size_t comma = n.rfind(',');
    const auto drop = [&n](char c) { n.erase(std::remove(n.begin(), n.end(), c), n.end()); };
    if (dot != std::string::npos && comma != std::string::npos) {
        // Both: the later one is the decimal point.
        drop(dot > comma ? ',' : '.');
        std::replace(n.begin(), n.end(), ',', '.');
    } else if (comma != std::string::npos) {
        // "12,50" is a decimal comma; "1,234" and "1,234,567" group thousands.
        std::size_t after = 0;  // characters after the comma
        for (std::size_t i = comma + 1; i < n.size(); ++i)
            after += (static_cast<unsigned char>(n[i]) & 0xc0) != 0x80;
        const bool decimal = std::count(n.begin(), n.end(), ',') == 1 && after <= 2;
        if (decimal)
            n[comma] = '.';
        else
            drop(',');
    }
    return n;
}

FieldRole fieldRole(const QString& name, bool imageField, bool titleDerived) {
    if (int number = ownField(name)) return {Role::kOwn, number};
    if (const auto direct = directFields().find(name); direct != directFields().end())
        return {Role::kDirect, direct->second};
    if (name == QLatin1String("denomination") || name == QLatin1String("currency"))
        return {Role::kFaceValue, kFaceValue};
    if (name == QLatin1String("year")) return {Role::kYear, kYear};
    if (name == QLatin1String("grade")) return {Role::kGrade, kCondition};
    if (name == QLatin1String("cancelled")) return {Role::kCancelled, kCancellation};
    if (name == QLatin1String("pur_date")) return {Role::kPurchaseDate, kDate};
    if (name == QLatin1String("pur_price")) return {Role::kPurchasePrice, kCost};
    if (imageField || name == QLatin1String("image")) return {Role::kImage, 0};
    if (bookkeeping(name) || (name == QLatin1String("title") && titleDerived))
        return {Role::kNotKept, 0};
    if (name == QLatin1String("gift")) return {Role::kGift, kMiscellaneous};
    return {Role::kMiscellaneous, kMiscellaneous};
}

bool titleIsDerived(const std::vector<FieldDef>& fields) {
    bool derived = true;
    for (const FieldDef& f : fields)
        if (f.name == QLatin1String("title")) derived = (f.flags & 0x20) != 0;
    return derived;
}

Entry tellicoEntry(const std::vector<std::string>& fields) {
    Entry e;
    auto value = [&fields](int number) -> const std::string& {
        return fields[std::size_t(number - 1)];
    };
    auto put = [&e](const char* name, std::string_view v) {
        if (!v.empty()) e.add(name, v);
    };
    const QString title = QString::fromStdString(value(kYear) + ' ' + value(kDescription) + ' ' +
                                                 value(kFaceValue))
                              .simplified();
    put("title", title.toStdString());
    put("description", value(kDescription));
    put("denomination", value(kFaceValue));
    put("country", value(kCountry));
    put("year", value(kYear));
    put("color", value(kColor));
    put("scott", value(kCatalog));
    QString grade = QString::fromStdString(value(kCondition));
    for (const auto& [tellico, ours] : gradeWords())
        if (grade == ours) grade = tellico;
    // Tellico drops a choice it does not offer: such a condition goes in a field of its own.
    QStringList allowed;
    for (const FieldDef& f : stampCollectionFields())
        if (f.name == QLatin1String("grade")) allowed = f.allowed.split(QLatin1Char(';'));
    put(allowed.contains(grade) ? "grade" : "condition", grade.toStdString());
    const QString cancel = QString::fromStdString(value(kCancellation));
    if (!cancel.isEmpty() && cancel.compare(QLatin1String("Uncancelled"), Qt::CaseInsensitive) != 0)
        put("cancelled", "true");
    put("hinged", value(kHinged));
    put("gummed", value(kGum));
    put("pur_date", value(kDate));
    put("pur_price", value(kCost));
    put("comments", value(kComments));
    for (const auto& [number, name] : ownFieldNames())
        if (number != kCondition) put(name, value(number));
    // A whole Scott number would be read back as the Numeric Catalog too: an empty one says
    // that it is blank.
    std::string scratch;
    if (value(kNumericCatalog).empty() && isWholeNumber(qtTrimmed(value(kCatalog), scratch)))
        e.add("numeric-catalog", {});
    return e;
}

QStringList importPlan(const std::vector<FieldDef>& fields) {
    QStringList plan;
    const auto label = [](int number) {
        const std::string_view l = collection::schemaField(number).label;
        return QString::fromLatin1(l.data(), qsizetype(l.size()));
    };
    const QString arrow = QStringLiteral(" \u2192 ");
    const bool titleDerived = titleIsDerived(fields);
    for (const FieldDef& f : fields) {
        const QString from = f.title.isEmpty() ? f.name : f.title;
        const FieldRole role = fieldRole(f.name, f.type == kImageType, titleDerived);
        QString to = label(role.stampField ? role.stampField : kMiscellaneous);
        switch (role.role) {
            case Role::kDirect:
                if (f.name == QLatin1String("scott"))
                    to += QStringLiteral(" (and ") + label(kNumericCatalog) +
                          QStringLiteral(" when a whole number)");
                break;
            case Role::kYear:
                to += QStringLiteral(" (further years to Miscellaneous)");
                break;
            case Role::kCancelled:
                to += QStringLiteral(" (\"Cancelled\" when ticked)");
                break;
            case Role::kPurchasePrice:
                to += QStringLiteral(" (the amount; a currency sign or code is left out)");
                break;
            case Role::kImage:
                to = QStringLiteral("the stamp's pictures");
                break;
            case Role::kNotKept:
                plan.append(from + QStringLiteral(": Tellico's own bookkeeping, not kept"));
                continue;
            case Role::kGift:
            case Role::kMiscellaneous:
                to += QStringLiteral(" (as \"") + from + QStringLiteral(": value\")");
                break;
            default:
                break;
        }
        plan.append(from + arrow + to);
    }
    return plan;
}

}  // namespace interchange::tellico
