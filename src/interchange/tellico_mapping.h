// An entry of a Tellico stamp collection as the 25 values of our stamp fields: the rules of
// tellico_fields.h applied to the UTF-8 values of a tellico::Entry, however it was read.
//
// Values come out as UTF-8 in schema order, empty for none: Tellico's fields that stand for one
// of ours give it (a paragraph's breaks become blanks), our own fields (written by our export)
// win over them, the purchase date is given as YYYY-MM-DD (and as numbers), the price as a plain
// decimal; what has no field of its own goes to Miscellaneous as "Title: value" parts joined by
// "; ". Image fields give the stamp's picture ids, in entry order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/tellico_entry.h"
#include "interchange/tellico_fields.h"

namespace interchange::tellico {

struct StampValues {
    std::vector<std::string> fields = std::vector<std::string>(25);
    std::vector<std::string> images;   // picture ids, in entry order
    int year = 0, month = 0, day = 0;  // the purchase date; year 0 when there is none
};

// What each field name of a collection becomes, worked out once per name: the collection's
// field definitions give the titles of Miscellaneous parts, its image fields, and whether its
// title is derived. Not for use by two threads at once.
class EntryMapping {
  public:
    explicit EntryMapping(const std::vector<FieldDef>& collectionFields);

    struct Target {
        std::string name;
        FieldRole role;
        std::string title;  // for a Miscellaneous part
    };
    const Target& target(std::string_view name) const;

  private:
    std::vector<FieldDef> fields_;
    bool titleDerived_;
    mutable std::vector<std::uint32_t> slots_;  // hash table of indexes + 1 into targets_
    mutable std::vector<Target> targets_;
};

// Fills `out` with the stamp values of `entry` (its previous contents are replaced; the buffers
// are reused).
void stampValues(const Entry& entry, const EntryMapping& mapping, StampValues& out);

}  // namespace interchange::tellico
