// One entry of a Tellico collection: each field's values as UTF-8 text, fields in the order they
// first appear, a field's values in file order (most fields have one; "year" may have several).
//
// The texts live in one buffer owned by the entry, so reading a large collection costs no
// allocation per value once the buffers have grown: clear() keeps their capacity. Views handed
// out stay valid until the next add() or clear().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace interchange::tellico {

class Entry {
  public:
    void clear();
    // Adds `value` to field `field` (a new field at the end, or a further value of one present).
    void add(std::string_view field, std::string_view value);

    std::size_t size() const { return fields_.size(); }  // the number of distinct fields
    std::string_view name(std::size_t field) const {
        const Field& f = fields_[field];
        return std::string_view(text_).substr(f.nameAt, f.nameSize);
    }
    std::size_t count(std::size_t field) const { return fields_[field].count; }
    // Value `k` (0-based, below count()) of field number `field`.
    std::string_view value(std::size_t field, std::size_t k = 0) const {
        std::uint32_t v = fields_[field].firstValue;
        while (k-- > 0) v = values_[v].next;
        return std::string_view(text_).substr(values_[v].at, values_[v].size);
    }

    // The number of field `name`, or -1 when the entry has none.
    int find(std::string_view name) const;
    // The first value of field `name`; empty when absent.
    std::string_view first(std::string_view name) const;

  private:
    struct Field {
        std::uint32_t nameAt, nameSize, firstValue, lastValue, count;
    };
    struct Value {
        std::uint32_t at, size, next;  // `next`: the field's following value, or kNone
    };
    static constexpr std::uint32_t kNone = 0xffffffffu;
    // One bit of 128 per name (word `hash >> 6 & 1`, bit `hash & 63`).
    static unsigned hash(std::string_view name) {
        const std::size_t n = name.size();
        if (n == 0) return 0;
        const auto at = [&name](std::size_t i) {
            return unsigned(static_cast<unsigned char>(name[i]));
        };
        return ((unsigned(n) << 24 ^ at(0) << 16 ^ at(n / 2) << 8 ^ at(n - 1)) * 2654435761u) >> 25;
    }

    std::string text_;
    std::vector<Field> fields_;
    std::vector<Value> values_;
    std::uint64_t names_[2] = {0, 0};  // one bit per name hash: most adds need no search
};

}  // namespace interchange::tellico
