#include "interchange/tellico_entry.h"

namespace interchange::tellico {

void Entry::clear() {
    text_.clear();
    fields_.clear();
    values_.clear();
    names_ = 0;
}

std::uint64_t Entry::bit(std::string_view name) {
    const std::size_t n = name.size();
    if (n == 0) return 1;
    const auto at = [&name](std::size_t i) {
        return unsigned(static_cast<unsigned char>(name[i]));
    };
    const unsigned h = unsigned(n) * 13u + at(0) * 7u + at(n / 2) * 5u + at(n - 1) * 3u;
    return std::uint64_t(1) << (h % 61u);
}

void Entry::add(std::string_view field, std::string_view value) {
    const std::uint64_t b = bit(field);
    int known = -1;
    if (names_ & b) known = find(field);
    names_ |= b;
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

std::string_view Entry::name(std::size_t field) const {
    const Field& f = fields_[field];
    return std::string_view(text_).substr(f.nameAt, f.nameSize);
}

std::string_view Entry::value(std::size_t field, std::size_t k) const {
    std::uint32_t v = fields_[field].firstValue;
    while (k-- > 0) v = values_[v].next;
    return std::string_view(text_).substr(values_[v].at, values_[v].size);
}

int Entry::find(std::string_view name) const {
    if (!(names_ & bit(name))) return -1;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (this->name(i) == name) return int(i);
    return -1;
}

std::string_view Entry::first(std::string_view name) const {
    const int i = find(name);
    return i < 0 ? std::string_view() : value(std::size_t(i));
}

}  // namespace interchange::tellico
