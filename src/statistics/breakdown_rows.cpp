#include "statistics/breakdown_rows.h"

#include <QStringList>
#include <algorithm>

#include "statistics/stored_amounts.h"

namespace statistics {

namespace {

std::int64_t figure(const Tally& t, Column c) {
    switch (c) {
        case Column::Stamps: return t.stamps;
        case Column::Copies: return t.copies;
        case Column::Value:
        case Column::Share: return t.valueCents;
        case Column::Cost: return t.costCents;
        case Column::Gain: return t.gainCents();
        case Column::Name: break;
    }
    return 0;
}

std::string csvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

}  // namespace

Tally totalOf(const std::vector<GroupTally>& groups) {
    Tally total;
    for (const GroupTally& g : groups) total += g.tally;
    return total;
}

std::int64_t measureOf(const Tally& t, Measure m) {
    switch (m) {
        case Measure::Stamps: return t.stamps;
        case Measure::Copies: return t.copies;
        case Measure::Value: return t.valueCents;
        case Measure::Cost: return t.costCents;
    }
    return 0;
}

void sortGroups(std::vector<GroupTally>& groups, Column column, bool descending) {
    std::stable_sort(groups.begin(), groups.end(),
                     [column, descending](const GroupTally& a, const GroupTally& b) {
                         if (column == Column::Name) {
                             const int c = QString::fromStdString(a.name).localeAwareCompare(
                                 QString::fromStdString(b.name));
                             return descending ? c > 0 : c < 0;
                         }
                         const std::int64_t x = figure(a.tally, column), y = figure(b.tally, column);
                         return descending ? x > y : x < y;
                     });
}

std::vector<GroupTally> chartSlices(std::vector<GroupTally> groups, Measure measure, int limit) {
    std::stable_sort(groups.begin(), groups.end(),
                     [measure](const GroupTally& a, const GroupTally& b) {
                         return measureOf(a.tally, measure) > measureOf(b.tally, measure);
                     });
    if (limit < 0 || groups.size() <= std::size_t(limit)) return groups;
    GroupTally other{kOtherGroup, {}};
    for (std::size_t i = std::size_t(limit); i < groups.size(); ++i) other.tally += groups[i].tally;
    groups.resize(std::size_t(limit));
    groups.push_back(std::move(other));
    return groups;
}

std::int64_t shareBasisPoints(std::int64_t part, std::int64_t whole) {
    if (whole == 0) return 0;
    const __int128 scaled = __int128(part) * 10000 * 2 / whole;  // twice, for rounding
    return std::int64_t(scaled >= 0 ? (scaled + 1) / 2 : -((-scaled + 1) / 2));
}

std::string shareText(std::int64_t basisPoints) {
    return plainCents(basisPoints);
}

QStringList columnHeadings(const QString& groupCaption) {
    return {groupCaption,
            QStringLiteral("Stamps"),
            QStringLiteral("Copies"),
            QStringLiteral("Market Value"),
            QStringLiteral("Purchase Price"),
            QStringLiteral("Gain"),
            QStringLiteral("Share of Value %")};
}

std::string breakdownCsv(const std::vector<GroupTally>& groups, const QString& groupCaption) {
    const Tally total = totalOf(groups);
    std::string out;
    const QStringList headings = columnHeadings(groupCaption);
    for (int i = 0; i < headings.size(); ++i) {
        if (i) out += ',';
        out += csvCell(headings[i].toStdString());
    }
    out += '\n';
    for (const GroupTally& g : groups) {
        const Tally& t = g.tally;
        out += csvCell(g.name) + ',' + std::to_string(t.stamps) + ',' + std::to_string(t.copies) +
               ',' + plainCents(t.valueCents) + ',' + plainCents(t.costCents) + ',' +
               plainCents(t.gainCents()) + ',' +
               shareText(shareBasisPoints(t.valueCents, total.valueCents)) + '\n';
    }
    return out;
}

}  // namespace statistics
