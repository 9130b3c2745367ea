#include "cli/cli_stats.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "cli/cli_criteria.h"
#include "collection/global_settings.h"
#include "collection/search_filter.h"
#include "engine/error.h"
#include "statistics/breakdown_rows.h"
#include "statistics/collection_scan.h"
#include "statistics/statistics_text.h"
#include "statistics/stored_amounts.h"

namespace cli {

namespace {

constexpr int kOk = 0;
constexpr int kFail = 2;

const char* kStatsUsage =
    "usage: tessellon-cli stats FILE.DBF [--by FIELD] [--csv] [CRITERION...]\n"
    "  FIELD: Country, Year, Condition, StampType, Topic, Group, Gum, Hinged or Wanted\n";

struct StatsArgs {
    QString collection;
    QString by;
    bool csv = false;
    std::vector<std::string> criteria;
};

bool parseArgs(const std::vector<std::string>& args, StatsArgs& out) {
    if (args.size() < 2) return false;
    out.collection = QFileInfo(QString::fromStdString(args[1])).absoluteFilePath();
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--csv") {
            out.csv = true;
        } else if (args[i] == "--by") {
            if (i + 1 >= args.size() || !out.by.isEmpty()) return false;
            out.by = QString::fromStdString(args[++i]);
        } else {
            out.criteria.push_back(args[i]);
        }
    }
    return true;
}

// The breakdown `name` asks for: a breakdown field's name or default label, or its label in
// this collection.
std::optional<statistics::Breakdown> breakdownFor(const QString& name, const FieldLabels& labels) {
    if (auto b = statistics::breakdownNamed(name.toStdString())) return b;
    for (statistics::Breakdown b : statistics::kBreakdowns) {
        QString label = labels[std::size_t(statistics::breakdownField(b) - 1)];
        if (label.replace(u'~', u' ').compare(name, Qt::CaseInsensitive) == 0) return b;
    }
    return std::nullopt;
}

statistics::NumberStyle installationStyle() {
    const collection::GlobalSettings global = collection::readGlobal(QDir::currentPath());
    statistics::NumberStyle style;
    style.numericFormat = global.misc.numericFormat;
    style.currencyFormat = global.misc.currencyFormat;
    style.regional = collection::currentRegionalSettings();
    return style;
}

void printSummary(const statistics::Summary& s, bool csv, std::ostream& out) {
    const statistics::NumberStyle style = installationStyle();
    const auto lines = statistics::summaryLines(s, style);
    if (!csv) {
        int width = 0;
        for (const auto& [caption, value] : lines) width = std::max(width, int(caption.size()));
        for (const auto& [caption, value] : lines)
            out << (caption + u':').leftJustified(width + 2).toStdString() << value.toStdString()
                << "\n";
        return;
    }
    // Machine numbers: counts as they are, money as "1234.56".
    out << "Figure,Value\n";
    const std::vector<std::pair<const char*, std::string>> rows = {
        {"Stamps", std::to_string(s.total.stamps)},
        {"Copies", std::to_string(s.total.copies)},
        {"Market Value", statistics::plainCents(s.total.valueCents)},
        {"Purchase Price", statistics::plainCents(s.total.costCents)},
        {"Gain", statistics::plainCents(s.total.gainCents())},
        {"Wanted Stamps", std::to_string(s.wanted)},
        {"Without Market Value", std::to_string(s.withoutValue)},
        {"Oldest Year", s.oldestYear ? std::to_string(*s.oldestYear) : ""},
        {"Newest Year", s.newestYear ? std::to_string(*s.newestYear) : ""},
    };
    for (const auto& [caption, value] : rows) out << caption << ',' << value << "\n";
}

void printBreakdown(std::vector<statistics::GroupTally> groups, const QString& caption, bool csv,
                    std::ostream& out) {
    statistics::sortGroups(groups, statistics::Column::Value, true);
    if (csv) {
        out << statistics::breakdownCsv(groups, caption);
        return;
    }
    const statistics::NumberStyle style = installationStyle();
    const statistics::Tally total = statistics::totalOf(groups);
    std::vector<QStringList> rows{statistics::columnHeadings(caption)};
    for (const statistics::GroupTally& g : groups)
        rows.push_back({QString::fromStdString(g.name), style.count(g.tally.stamps),
                        style.count(g.tally.copies), style.money(g.tally.valueCents),
                        style.money(g.tally.costCents), style.money(g.tally.gainCents()),
                        QString::fromStdString(statistics::shareText(
                            statistics::shareBasisPoints(g.tally.valueCents, total.valueCents)))});
    rows.push_back({QStringLiteral("Total"), style.count(total.stamps), style.count(total.copies),
                    style.money(total.valueCents), style.money(total.costCents),
                    style.money(total.gainCents()), QStringLiteral("100.00")});
    std::vector<int> widths(statistics::kColumnCount, 0);
    for (const QStringList& row : rows)
        for (int c = 0; c < row.size(); ++c)
            widths[std::size_t(c)] = std::max(widths[std::size_t(c)], int(row[c].size()));
    for (const QStringList& row : rows) {
        QString line = row[0].leftJustified(widths[0]);
        for (int c = 1; c < row.size(); ++c)
            line += QStringLiteral("  ") + row[c].rightJustified(widths[std::size_t(c)]);
        out << line.toStdString() << "\n";
    }
}

}  // namespace

int runStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    StatsArgs a;
    if (!parseArgs(args, a)) {
        err << kStatsUsage;
        return kFail;
    }
    const FieldLabels labels = collectionLabels(a.collection);
    std::optional<statistics::Breakdown> by;
    if (!a.by.isEmpty()) {
        by = breakdownFor(a.by, labels);
        if (!by) {
            err << "Not a field statistics are broken down by: " << a.by.toStdString() << "\n"
                << kStatsUsage;
            return kFail;
        }
    }
    const CriteriaParse parsed = parseCriteria(a.criteria, labels, settingsDateFormat());
    if (!parsed.ok()) {
        err << parsed.error.toStdString() << "\n";
        return kFail;
    }
    statistics::CollectionStatistics::Options options;
    if (by) options.breakdowns = {*by};
    const bool narrowed = !parsed.criteria.empty();
    std::optional<statistics::CollectionStatistics> stats;
    try {
        engine::Table table;
        table.open(a.collection.toStdString(), engine::OpenMode::ReadOnly);
        const collection::SearchFilter filter(parsed.criteria, table);
        stats.emplace(table, options);
        statistics::scanTable(table, narrowed ? &filter : nullptr, *stats);
    } catch (const engine::EngineError& e) {
        err << "Error: " << e.what() << "\n";
        return kFail;
    }
    if (!a.csv) out << statistics::scopeText(narrowed).toStdString() << "\n\n";
    if (by) {
        const int field = statistics::breakdownField(*by);
        QString caption = labels[std::size_t(field - 1)];
        caption.replace(u'~', u' ');
        if (*by == statistics::Breakdown::Decade) caption = QStringLiteral("Decade");
        printBreakdown(stats->groups(*by), caption, a.csv, out);
    } else {
        printSummary(stats->summary(), a.csv, out);
    }
    return kOk;
}

}  // namespace cli
