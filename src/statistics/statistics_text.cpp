#include "statistics/statistics_text.h"

#include "statistics/stored_amounts.h"

namespace statistics {

QString NumberStyle::money(std::int64_t cents) const {
    return moneyText(cents, currencyFormat, regional);
}

QString NumberStyle::count(std::int64_t n) const { return countText(n, numericFormat, regional); }

std::vector<std::pair<QString, QString>> summaryLines(const Summary& s, const NumberStyle& style) {
    auto year = [](const std::optional<int>& y) {
        return y ? QString::number(*y) : QStringLiteral("-");
    };
    return {
        {QStringLiteral("Stamps"), style.count(s.total.stamps)},
        {QStringLiteral("Copies"), style.count(s.total.copies)},
        {QStringLiteral("Market Value"), style.money(s.total.valueCents)},
        {QStringLiteral("Purchase Price"), style.money(s.total.costCents)},
        {QStringLiteral("Gain"), style.money(s.total.gainCents())},
        {QStringLiteral("Wanted Stamps"), style.count(s.wanted)},
        {QStringLiteral("Without Market Value"), style.count(s.withoutValue)},
        {QStringLiteral("Oldest Year"), year(s.oldestYear)},
        {QStringLiteral("Newest Year"), year(s.newestYear)},
    };
}

QString statusText(const Tally& t, const NumberStyle& style) {
    return QStringLiteral("Stamps: %1    Copies: %2    Market Value: %3    Purchase Price: %4")
        .arg(style.count(t.stamps), style.count(t.copies), style.money(t.valueCents),
             style.money(t.costCents));
}

QString scopeText(bool searchActive) {
    return searchActive ? QStringLiteral("The stamps of the current search")
                        : QStringLiteral("All the stamps of the collection");
}

}  // namespace statistics
