#include "collection/search_criteria.h"

#include <QLocale>
#include <cmath>
#include <optional>

#include "collection/stamp_schema.h"

namespace collection {

namespace {

// Upper case character by character, so that the text keeps its length and each character
// still has its place in the table's code page ("ß" stays one character).
QString upperEach(const QString& text) {
    QString out = text;
    for (QChar& c : out) c = c.toUpper();
    return out;
}

// Removes the first occurrence of `c`.
QString withoutFirst(QString text, QChar c) {
    const int at = text.indexOf(c);
    if (at >= 0) text.remove(at, 1);
    return text;
}

bool isEmptyDateText(const QString& text) {
    return text.isEmpty() || text == QLatin1String("/  /") || text == QLatin1String("-  -") ||
           text == QLatin1String(".  .");
}

bool isEmptyValue(const QString& text, SearchRowKind kind) {
    return kind == SearchRowKind::Date ? isEmptyDateText(text) : text.isEmpty();
}

std::optional<double> convert(const QString& text, SearchRowKind kind, const DateFormat& dates) {
    if (kind == SearchRowKind::Date) {
        const std::optional<QDate> date = dates.parse(text);
        if (!date) return std::nullopt;
        return searchDateValue(date->year(), date->month(), date->day());
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

SearchCriterion compared(const SearchRowInput& row, SearchTest test, const QString& text,
                         double value, SearchRowKind kind) {
    SearchCriterion c;
    c.text = text;
    c.value = value;
    c.field = row.field;
    c.test = test;
    c.isDate = kind == SearchRowKind::Date;
    return c;
}

}  // namespace

SearchRowKind searchRowKind(int field) {
    switch (schemaField(field).kind) {
        case FieldKind::Integer:
        case FieldKind::Float:
            return SearchRowKind::Number;
        case FieldKind::Date:
            return SearchRowKind::Date;
        case FieldKind::Text:
            break;
    }
    return SearchRowKind::Text;
}

int operatorFromText(const QString& text) {
    const QString t = text.trimmed();
    if (t.contains(QLatin1String("AND"), Qt::CaseInsensitive)) return kOpRange;
    if (t.startsWith(u'>')) return kOpGreater;
    if (t.startsWith(u'<')) return kOpLess;
    return kOpEqual;
}

RowStatus collectSearchRow(const SearchRowInput& row, const DateFormat& dates,
                           std::vector<SearchCriterion>& out) {
    const SearchRowKind kind = searchRowKind(row.field);
    const QString cell = row.text.trimmed();
    if (kind == SearchRowKind::Text) {
        if (cell.isEmpty()) return RowStatus::Empty;
        SearchCriterion c;
        c.text = upperEach(cell.left(kMaxSearchText));
        c.field = row.field;
        c.test = SearchTest::Contains;
        out.push_back(c);
        return RowStatus::Added;
    }
    if (row.op != kOpRange) {
        static const QChar kOperatorChar[] = {u'=', u'=', u'>', u'<'};
        const int op = row.op >= kOpEqual && row.op <= kOpLess ? row.op : kOpEqual;
        const QString rest = withoutFirst(cell, kOperatorChar[op]).trimmed();
        if (isEmptyValue(rest, kind)) return RowStatus::Empty;
        const std::optional<double> value = convert(rest, kind, dates);
        if (!value) return RowStatus::Invalid;
        out.push_back(compared(row, SearchTest(op), rest, *value, kind));
        return RowStatus::Added;
    }
    const QString both = withoutFirst(withoutFirst(cell, u'<'), u'>').trimmed();
    const int split = both.indexOf(QLatin1String("AND"), 0, Qt::CaseInsensitive);
    const QString low = (split < 0 ? both : both.left(split)).trimmed();
    const QString high = (split < 0 ? QString() : both.mid(split + 3)).trimmed();
    const bool lowEmpty = isEmptyValue(low, kind);
    const bool highEmpty = isEmptyValue(high, kind);
    if (lowEmpty && highEmpty) return RowStatus::Empty;
    if (lowEmpty || highEmpty) return RowStatus::Invalid;
    const std::optional<double> lowValue = convert(low, kind, dates);
    const std::optional<double> highValue = convert(high, kind, dates);
    if (!lowValue || !highValue) return RowStatus::Invalid;
    out.push_back(compared(row, SearchTest::Greater, low, *lowValue, kind));
    out.push_back(compared(row, SearchTest::Less, high, *highValue, kind));
    return RowStatus::Added;
}

int SearchCriteria::levels() const {
    int n = 0;
    for (const SearchCriterion& c : items_) n += c.endOfLevel ? 1 : 0;
    return n;
}

LevelResult addSearchLevel(SearchCriteria& criteria, const std::vector<SearchRowInput>& rows,
                           const DateFormat& dates) {
    std::vector<SearchCriterion>& items = criteria.items_;
    const std::size_t start = items.size();
    LevelResult result;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowStatus status = collectSearchRow(rows[i], dates, items);
        if (status == RowStatus::Invalid) {
            items.resize(start);
            return {LevelResult::Invalid, int(i)};
        }
        if (int(items.size()) > kMaxSearchCriteria) {
            items.clear();
            return {LevelResult::TooMany, int(i)};
        }
    }
    if (items.size() == start) return {LevelResult::NoCriteria, -1};
    items.back().endOfLevel = true;
    return result;
}

}  // namespace collection
