#include "collection/search_filter.h"

#include "collection/stamp_schema.h"
#include "engine/field_codec.h"
#include "engine/number_text.h"

namespace collection {

namespace {

bool allBlank(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] != ' ' && p[i] != '\0') return false;
    return true;
}

}  // namespace

SearchFilter::SearchFilter(const SearchCriteria& criteria, const engine::Table& table)
    : SearchFilter(criteria, table.fields(), table.codePage()) {}

SearchFilter::SearchFilter(const SearchCriteria& criteria,
                           const std::vector<engine::FieldInfo>& fields,
                           engine::CodePage codePage) {
    for (int c = 0; c < 256; ++c)
        upper_[c] = engine::upperByte(static_cast<unsigned char>(c), codePage);
    tests_.reserve(criteria.items().size());
    for (const SearchCriterion& criterion : criteria.items()) {
        Test t;
        t.test = criterion.test;
        t.isDate = criterion.isDate;
        t.endOfLevel = criterion.endOfLevel;
        t.value = criterion.value;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (schemaFieldNumber(fields[i].name) == criterion.field) {
                t.field = int(i);
                t.offset = fields[i].offset;
                t.length = fields[i].length;
                break;
            }
        }
        t.never = t.field < 0;
        if (t.test == SearchTest::Contains) {
            const std::string utf8 = criterion.text.toStdString();
            t.needle = engine::fromUtf8(utf8, codePage);
            // A character the code page lacks comes back as '?': nothing stored can hold it.
            if (engine::toUtf8(t.needle, codePage) != utf8) t.never = true;
            for (char& b : t.needle) b = char(upper_[static_cast<unsigned char>(b)]);
            if (int(t.needle.size()) > t.length) t.never = true;
        }
        tests_.push_back(std::move(t));
    }
}

bool SearchFilter::holds(const Test& t, const engine::RecordView& record) const {
    if (t.never) return false;
    const char* field = record.data() + t.offset;
    switch (t.test) {
        case SearchTest::Contains: {
            const int n = int(t.needle.size());
            if (n == 0) return true;
            const unsigned char first = static_cast<unsigned char>(t.needle[0]);
            for (int start = 0; start + n <= t.length; ++start) {
                if (upper_[static_cast<unsigned char>(field[start])] != first) continue;
                int j = 1;
                while (j < n && upper_[static_cast<unsigned char>(field[start + j])] ==
                                    static_cast<unsigned char>(t.needle[j]))
                    ++j;
                if (j == n) return true;
            }
            return false;
        }
        case SearchTest::Equal:
        case SearchTest::Greater:
        case SearchTest::Less:
            break;
    }
    double value = 0;
    if (t.isDate) {
        const engine::Date d =
            engine::parseDateField(std::string_view(field, std::size_t(t.length)));
        value = d.blank() ? 0 : searchDateValue(d.year, d.month, d.day);
    } else {
        if (allBlank(field, t.length)) return false;
        const std::optional<double> number =
            engine::parseNumberField(std::string_view(field, std::size_t(t.length)));
        if (!number) return false;
        value = *number;
    }
    switch (t.test) {
        case SearchTest::Equal:
            return value == t.value;
        case SearchTest::Greater:
            return value > t.value;
        case SearchTest::Less:
            return value < t.value;
        case SearchTest::Contains:
            break;
    }
    return false;
}

bool SearchFilter::passes(const engine::RecordView& record) const {
    bool level = true;
    for (const Test& t : tests_) {
        if (level) level = holds(t, record);
        if (t.endOfLevel) {
            if (level) return true;
            level = true;
        }
    }
    return false;
}

}  // namespace collection
