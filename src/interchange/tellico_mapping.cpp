#include "interchange/tellico_mapping.h"

#include <QDate>
#include <iterator>

#include "interchange/tellico_text.h"

namespace interchange::tellico {

namespace {

std::uint32_t hashOf(std::string_view s) {
    const std::size_t n = s.size();
    if (n == 0) return 0;
    const auto at = [&s](std::size_t i) { return std::uint32_t(static_cast<unsigned char>(s[i])); };
    return std::uint32_t(n) * 2654435761u ^ (at(0) * 97u + at(n / 2) * 31u + at(n - 1)) * 40503u;
}

// Field names are short: compared here, without a call to memcmp.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

std::string isoText(int year, int month, int day) {
    if (year < 1 || year > 9999) return QDate(year, month, day).toString(Qt::ISODate).toStdString();
    std::string text = "0000-00-00";
    for (int i = 3; i >= 0; --i, year /= 10) text[std::size_t(i)] = char('0' + year % 10);
    text[5] = char('0' + month / 10), text[6] = char('0' + month % 10);
    text[8] = char('0' + day / 10), text[9] = char('0' + day % 10);
    return text;
}

}  // namespace

EntryMapping::EntryMapping(const std::vector<FieldDef>& collectionFields)
    : fields_(collectionFields), titleDerived_(titleIsDerived(collectionFields)), slots_(64) {}

const EntryMapping::Target& EntryMapping::target(std::string_view name) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hashOf(name) & mask;
    for (; slots_[at] != 0; at = (at + 1) & mask) {
        const Target& t = targets_[slots_[at] - 1];
        if (sameName(t.name, name)) return t;
    }
    // A name met for the first time.
    const QString qname = QString::fromUtf8(name.data(), qsizetype(name.size()));
    bool image = false;
    const FieldDef* def = nullptr;
    for (const FieldDef& f : fields_) {
        if (f.name != qname) continue;
        if (!def) def = &f;
        image = image || f.type == kImageType;
    }
    Target t;
    t.name = std::string(name);
    t.role = fieldRole(qname, image, titleDerived_);
    t.title = def && !def->title.isEmpty() ? def->title.toStdString() : t.name;
    targets_.push_back(std::move(t));
    slots_[at] = std::uint32_t(targets_.size());
    if (targets_.size() * 2 > slots_.size()) {
        std::vector<std::uint32_t> bigger(slots_.size() * 2);
        for (std::uint32_t k = 0; k < targets_.size(); ++k) {
            std::size_t s = hashOf(targets_[k].name) & (bigger.size() - 1);
            while (bigger[s] != 0) s = (s + 1) & (bigger.size() - 1);
            bigger[s] = k + 1;
        }
        slots_.swap(bigger);
    }
    return targets_.back();
}

void stampValues(const Entry& entry, const EntryMapping& mapping, StampValues& out) {
    out.fields.resize(25);
    for (std::string& f : out.fields) f.clear();
    out.images.clear();
    out.year = out.month = out.day = 0;
    auto set = [&out](int number, std::string_view value) {
        std::string& f = out.fields[std::size_t(number - 1)];
        f.clear();
        appendOneLine(f, value);
    };
    std::string misc, joined, scratch;
    bool faceDone = false;
    auto toMisc = [&](const EntryMapping::Target& t, std::size_t field, std::size_t from) {
        if (!misc.empty()) misc += "; ";
        misc += t.title;
        misc += ": ";
        joined.clear();
        for (std::size_t k = from; k < entry.count(field); ++k) {
            if (k > from) joined += ", ";
            joined += entry.value(field, k);
        }
        appendOneLine(misc, joined);
    };
    // Our own fields met: the entry's field number and the stamp field (one each).
    std::size_t own[32];
    int ownStamp[32];
    std::size_t owns = 0;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const EntryMapping::Target& t = mapping.target(entry.name(i));
        const std::string_view value = entry.value(i);
        // One of our own fields, even empty: its value is the exact one.
        if (t.role.role == Role::kOwn) {
            if (owns < std::size(own)) {
                own[owns] = i;
                ownStamp[owns++] = t.role.stampField;
            }
            continue;
        }
        if (entry.count(i) == 1 && value.empty()) continue;
        switch (t.role.role) {
            case Role::kDirect:
                set(t.role.stampField, value);
                if (t.role.stampField == kCatalog) {
                    const std::string_view number = qtTrimmed(value, scratch);
                    if (isWholeNumber(number)) set(kNumericCatalog, number);
                }
                break;
            case Role::kFaceValue:  // from both fields, once
                if (!faceDone) {
                    joined.assign(entry.first("denomination"));
                    joined += ' ';
                    joined += entry.first("currency");
                    set(kFaceValue, qtTrimmed(joined, scratch));
                    faceDone = true;
                }
                break;
            case Role::kYear:
                set(kYear, value);
                if (entry.count(i) > 1) toMisc(t, i, 1);
                break;
            case Role::kGrade: {
                std::string_view grade = value;
                std::string ours;
                for (const auto& [tellico, short_] : gradeWords())
                    if (equalsIgnoringCase(grade, tellico)) grade = ours = short_.toStdString();
                set(kCondition, grade);
                break;
            }
            case Role::kCancelled:
                if (value == "true") set(kCancellation, "Cancelled");
                break;
            case Role::kPurchaseDate:
                if (readIsoDate(value, out.year, out.month, out.day))
                    set(kDate, isoText(out.year, out.month, out.day));
                else
                    toMisc(t, i, 0);
                break;
            case Role::kPurchasePrice: {
                std::string amount = amountText(value);
                if (amount.empty())
                    toMisc(t, i, 0);
                else
                    out.fields[kCost - 1] = std::move(amount);
                break;
            }
            case Role::kImage:
                for (std::size_t k = 0; k < entry.count(i); ++k)
                    out.images.emplace_back(entry.value(i, k));
                break;
            case Role::kNotKept:
                break;
            case Role::kGift:
                if (value == "true") {
                    if (!misc.empty()) misc += "; ";
                    misc += t.title;
                }
                break;
            default:
                toMisc(t, i, 0);
                break;
        }
    }
    // Our own fields carry the exact values and win over what Tellico's fields gave.
    for (std::size_t k = 0; k < owns; ++k)
        set(ownStamp[k], entry.value(own[k]));
    if (!misc.empty()) {
        std::string all = out.fields[kMiscellaneous - 1];
        if (!all.empty()) all += "; ";
        set(kMiscellaneous, all + misc);
    }
}

}  // namespace interchange::tellico
