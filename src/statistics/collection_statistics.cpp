#include "statistics/collection_statistics.h"

#include <algorithm>
#include <cctype>

#include "collection/stamp_schema.h"
#include "engine/codepage.h"
#include "statistics/stored_amounts.h"

namespace statistics {

namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::string_view trimmedRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    return s;
}

// YYYYMMDD of a stored date, 0 when blank or not a date.
int storedDate(std::string_view s) {
    if (s.size() != 8) return 0;
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    const int month = value / 100 % 100, day = value % 100;
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 ? value : 0;
}

// Floor division, so that year -5 falls in the decade -10.
int decadeOf(int year) { return (year >= 0 ? year : year - 9) / 10 * 10; }

bool lessValuable(const ValuableStamp& a, const ValuableStamp& b) {
    // Heap order: the least valuable on top; of equal values the later record goes first.
    if (a.valueCents != b.valueCents) return a.valueCents > b.valueCents;
    return a.recNo < b.recNo;
}

}  // namespace

int breakdownField(Breakdown b) {
    switch (b) {
        case Breakdown::Country: return 3;
        case Breakdown::Decade: return 7;
        case Breakdown::Condition: return 9;
        case Breakdown::StampType: return 11;
        case Breakdown::Topic: return 13;
        case Breakdown::Group: return 10;
        case Breakdown::Gum: return 16;
        case Breakdown::Hinged: return 19;
        case Breakdown::Wanted: return 25;
    }
    return 0;
}

std::optional<Breakdown> breakdownNamed(std::string_view name) {
    for (Breakdown b : kBreakdowns) {
        const collection::SchemaField& f = collection::schemaField(breakdownField(b));
        if (equalNoCase(name, f.name) || equalNoCase(name, f.label)) return b;
    }
    if (equalNoCase(name, "Decade")) return Breakdown::Decade;
    return std::nullopt;
}

CollectionStatistics::CollectionStatistics(const engine::Table& table, Options options)
    : CollectionStatistics(table.fields(), table.codePage(), std::move(options)) {}

CollectionStatistics::CollectionStatistics(const std::vector<engine::FieldInfo>& fields,
                                           engine::CodePage codePage, Options options)
    : fields_(fields), codePage_(codePage), options_(std::move(options)) {
    quantity_ = slot(6);
    value_ = slot(5);
    cost_ = slot(15);
    year_ = slot(7);
    date_ = slot(14);
    wanted_ = slot(25);
    catalog_ = slot(1);
    country_ = slot(3);
    description_ = slot(2);
    for (Breakdown b : options_.breakdowns) {
        BreakdownState state;
        state.which = b;
        state.slot = slot(breakdownField(b));
        breakdowns_.push_back(std::move(state));
    }
    valuable_.reserve(std::size_t(std::max(options_.mostValuable, 0)) + 1);
}

CollectionStatistics::FieldSlot CollectionStatistics::slot(int stampField) const {
    const std::string_view name = collection::schemaField(stampField).name;
    for (const engine::FieldInfo& f : fields_)
        if (equalNoCase(f.name, name)) return FieldSlot{f.offset, f.length};
    return {};
}

std::string_view CollectionStatistics::bytes(const engine::RecordView& r,
                                             const FieldSlot& s) const {
    if (s.offset < 0) return {};
    return std::string_view(r.data() + s.offset, std::size_t(s.length));
}

void CollectionStatistics::add(const engine::RecordView& r) {
    const std::int64_t quantity = readQuantity(bytes(r, quantity_));
    const StoredAmount value = readAmount(bytes(r, value_));
    const std::int64_t valueCents = totalCents(quantity, value.tenThousandths);
    const std::int64_t costCents = totalCents(quantity, readAmount(bytes(r, cost_)).tenThousandths);
    const Tally one{1, quantity, valueCents, costCents};
    summary_.total += one;
    if (value.blank || value.tenThousandths == 0) ++summary_.withoutValue;
    if (equalNoCase(trimmedRight(bytes(r, wanted_)), "Yes")) ++summary_.wanted;
    const std::string_view yearText = bytes(r, year_);
    const int year = int(readQuantity(yearText));
    if (year != 0) {
        if (!summary_.oldestYear || year < *summary_.oldestYear) summary_.oldestYear = year;
        if (!summary_.newestYear || year > *summary_.newestYear) summary_.newestYear = year;
    }

    for (BreakdownState& b : breakdowns_) {
        if (b.which == Breakdown::Decade) {
            if (year == 0) {
                b.noYear += one;
                b.noYearSeen = true;
                continue;
            }
            const int decade = decadeOf(year);
            auto [it, added] = b.decades.try_emplace(decade);
            if (added) b.decadeOrder.push_back(decade);
            it->second += one;
            continue;
        }
        const std::string_view key = trimmedRight(bytes(r, b.slot));
        auto it = b.text.find(key);
        if (it == b.text.end()) {
            it = b.text.emplace(std::string(key), Tally{}).first;
            b.order.emplace_back(key);
        }
        it->second += one;
    }

    if (options_.mostValuable > 0) keepIfValuable(r, valueCents, quantity, year);
    if (options_.purchases) {
        const int date = storedDate(bytes(r, date_));
        if (date == 0) {
            ++undated_;
        } else {
            auto& day = purchaseDays_[date];
            day.first += costCents;
            day.second += valueCents;
        }
    }
}

void CollectionStatistics::keepIfValuable(const engine::RecordView& r, std::int64_t cents,
                                          std::int64_t quantity, int year) {
    const std::size_t limit = std::size_t(options_.mostValuable);
    ValuableStamp candidate;
    candidate.recNo = r.recNo();
    candidate.valueCents = cents;
    if (valuable_.size() == limit && !lessValuable(candidate, valuable_.front())) return;
    auto text = [&](const FieldSlot& s) {
        return engine::toUtf8(trimmedRight(bytes(r, s)), codePage_);
    };
    candidate.quantity = quantity;
    candidate.year = year;
    candidate.catalog = text(catalog_);
    candidate.country = text(country_);
    candidate.description = text(description_);
    valuable_.push_back(std::move(candidate));
    std::push_heap(valuable_.begin(), valuable_.end(), lessValuable);
    if (valuable_.size() > limit) {
        std::pop_heap(valuable_.begin(), valuable_.end(), lessValuable);
        valuable_.pop_back();
    }
}

std::vector<GroupTally> CollectionStatistics::groups(Breakdown which) const {
    std::vector<GroupTally> out;
    for (const BreakdownState& b : breakdowns_) {
        if (b.which != which) continue;
        if (which == Breakdown::Decade) {
            for (int decade : b.decadeOrder)
                out.push_back({std::to_string(decade) + "s", b.decades.at(decade)});
            if (b.noYearSeen) out.push_back({kNoYearGroup, b.noYear});
        } else {
            for (const std::string& key : b.order)
                out.push_back({key.empty() ? kBlankGroup : engine::toUtf8(key, codePage_),
                               b.text.find(key)->second});
        }
    }
    return out;
}

std::vector<ValuableStamp> CollectionStatistics::mostValuable() const {
    std::vector<ValuableStamp> out = valuable_;
    std::sort(out.begin(), out.end(), lessValuable);
    return out;
}

Purchases CollectionStatistics::purchases() const {
    Purchases p;
    p.undated = undated_;
    p.points.reserve(purchaseDays_.size());
    for (const auto& [date, sums] : purchaseDays_) p.points.push_back({date, sums.first, sums.second});
    std::sort(p.points.begin(), p.points.end(),
              [](const PurchasePoint& a, const PurchasePoint& b) { return a.date < b.date; });
    std::int64_t cost = 0, value = 0;
    for (PurchasePoint& point : p.points) {
        cost += point.costCents;
        value += point.valueCents;
        point.costCents = cost;
        point.valueCents = value;
    }
    return p;
}

}  // namespace statistics
