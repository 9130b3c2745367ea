#include "engine/error.h"
#include "engine/number_text.h"
#include "engine/table.h"
#include "engine/field_codec.h"

namespace engine {

std::string_view RecordView::raw(int field) const {
    const FieldInfo& f = (*fields_)[std::size_t(field)];
    return std::string_view(data_ + f.offset, std::size_t(f.length));
}

std::string RecordView::text(int field) const {
    return fieldText((*fields_)[std::size_t(field)], raw(field), cp_);
}

void RecordView::textInto(int field, std::string& out) const {
    fieldTextInto((*fields_)[std::size_t(field)], raw(field), cp_, out);
}

std::optional<std::int64_t> RecordView::integer(int field) const {
    const FieldInfo& f = (*fields_)[std::size_t(field)];
    return fieldInteger(f, raw(field));
}

std::optional<double> RecordView::number(int field) const {
    const FieldInfo& f = (*fields_)[std::size_t(field)];
    return fieldNumber(f, raw(field));
}

Date RecordView::date(int field) const { return parseDateField(raw(field)); }

bool RecordView::isBlank(int field) const { return isBlankField(raw(field)); }

}  // namespace engine
