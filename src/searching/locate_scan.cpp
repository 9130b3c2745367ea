#include "searching/locate_scan.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "collection/date_format.h"
#include "engine/table.h"

namespace editing {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\0';
}

// The field's text in the code page, as the comparison sees it (see the header).
std::string_view fieldBytes(const engine::FieldInfo& field, std::string_view raw) {
    std::size_t end = raw.size();
    while (end > 0 && isBlank(raw[end - 1])) --end;
    std::size_t begin = 0;
    if (field.type == engine::FieldType::Numeric || field.type == engine::FieldType::Float)
        while (begin < end && isBlank(raw[begin])) ++begin;
    return raw.substr(begin, end - begin);
}

bool textMatches(std::string_view text, std::string_view value, LocateMatch match) {
    switch (match) {
        case LocateMatch::Exact:
            return text == value;
        case LocateMatch::PartialAtBeginning:
            return text.substr(0, value.size()) == value;
        case LocateMatch::PartialAnywhere:
            return text.find(value) != std::string_view::npos;
    }
    return false;
}

class Matcher {
  public:
    Matcher(const engine::Table& table, int field, const LocateRequest& request)
        : field_(table.fields()[std::size_t(field)]),
          index_(field),
          codePage_(table.codePage()),
          request_(request) {
        const bool numeric =
            field_.type == engine::FieldType::Numeric || field_.type == engine::FieldType::Float;
        if (numeric && request.match == LocateMatch::Exact) {
            bool ok = false;
            const double value = QLocale::c().toDouble(request.value.trimmed(), &ok);
            if (ok) number_ = value;
        }
        const std::string utf8 = request.value.toStdString();
        value_ = engine::fromUtf8(utf8, codePage_);
        representable_ = engine::toUtf8(value_, codePage_) == utf8;
        upper(value_);
    }

    bool matches(const engine::RecordView& record) {
        if (number_) {
            const std::optional<double> n = record.number(index_);
            return n && *n == *number_;
        }
        if (field_.type == engine::FieldType::Date) {
            const engine::Date d = record.date(index_);
            const QString shown =
                d.blank() ? QString()
                          : collection::currentDateFormat().format(QDate(d.year, d.month, d.day));
            text_ = engine::fromUtf8(shown.toStdString(), codePage_);
        } else {
            if (!representable_) return false;
            const std::string_view bytes = fieldBytes(field_, record.raw(index_));
            text_.assign(bytes.data(), bytes.size());
        }
        upper(text_);
        return textMatches(text_, value_, request_.match);
    }

  private:
    void upper(std::string& bytes) const {
        if (!request_.caseSensitive) engine::upperInPlace(bytes.data(), bytes.size(), codePage_);
    }

    const engine::FieldInfo& field_;
    int index_;
    engine::CodePage codePage_;
    const LocateRequest& request_;
    std::optional<double> number_;
    std::string value_;
    bool representable_ = true;
    std::string text_;
};

}  // namespace

LocateResult locateRecord(engine::Table& table, bool fromFirst, const LocateRequest& request) {
    const int field = table.fieldIndex(request.fieldName.toStdString());
    if (field < 0) return LocateResult::UnknownField;
    const std::uint32_t count = table.recordCount();
    std::uint32_t start = 0;
    if (!fromFirst) {
        if (table.recNo() == 0 || table.eof()) return LocateResult::NotFound;
        start = table.position() + 1;
    }
    Matcher matcher(table, field, request);
    for (std::uint32_t row = start; row < count; ++row) {
        if (matcher.matches(table.visibleAt(row))) {
            table.moveTo(row);
            return LocateResult::Found;
        }
    }
    return LocateResult::NotFound;
}

}  // namespace editing
