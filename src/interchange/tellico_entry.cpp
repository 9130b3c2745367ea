#include "interchange/tellico_entry.h"

namespace interchange::tellico {

void Entry::clear() {
    text_.clear();
    fields_.clear();
    values_.clear();
    names_[0] = names_[1] = 0;
}

void Entry::add(std::string_view field, std::string_view value) {
    const unsigned h = hash(field);
    const std::uint64_t b = std::uint64_t(1) << (h & 63);
    int known = -1;
    if (names_[h >> 6] & b) known = find(field);
    names_[h >> 6] |= b;
    const auto at = std::uint32_t(text_.size());
    text_.append(value);
    const auto index = std::uint32_t(values_.size());
    values_.push_back({at, std::uint32_t(value.size()), kNone});
    if (known >= 0) {
        Field& f = fields_[std::size_t(known)];
        values_[f.lastValue].next = index;
        f.lastValue = index;
        ++f.count;
        return;
    }
    const auto nameAt = std::uint32_t(text_.size());
    text_.append(field);
    fields_.push_back({nameAt, std::uint32_t(field.size()), index, index, 1});
}

int Entry::find(std::string_view name) const {
    const unsigned h = hash(name);
    if (!(names_[h >> 6] & (std::uint64_t(1) << (h & 63)))) return -1;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (this->name(i) == name) return int(i);
    return -1;
}

std::string_view Entry::first(std::string_view name) const {
    const int i = find(name);
    return i < 0 ? std::string_view() : value(std::size_t(i));
}

}  // namespace interchange::tellico
