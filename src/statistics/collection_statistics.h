// What a collection (or the records of a search) holds and is worth: the figures behind the
// status bar, the statistics window and `tessellon-cli stats`.
//
// CollectionStatistics is fed records one at a time (add), then read. It holds no pointer to
// the table; it binds the stamp fields by name once, so any table with the collection's field
// names can be counted (a field the table lacks counts as blank).
//
// Figures:
//  - Tally: stamps (records), copies (sum of Quantity), market value and purchase price, each
//    the sum over the records of quantity x amount rounded to the cent (stored_amounts.h), so
//    the sums are exact whole cents; gain is market value minus purchase price.
//  - Summary: the tally of every record counted, the stamps marked wanted (Wanted "Yes" in any
//    letter case), the stamps without a market value (blank or zero), the oldest and newest Year
//    (a year of 0 or blank is "no year" and left out).
//  - Breakdowns (only those asked for in Options): one group per distinct value, each with its
//    tally. Text fields group by their stored text exactly as a GROUP BY would (letter case
//    counts, trailing blanks do not); all blanks is the group "(blank)". Year groups by decade
//    ("1950s"), 0 or blank being "(no year)". Groups come out in the order first met.
//  - Most valuable: the `mostValuable` records of highest quantity x market value (ties: the
//    earlier record first), with what identifies them on screen.
//  - Purchases: purchase price and market value accumulated by purchase date (Date), one point
//    per date in date order; records without a purchase date are counted apart.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/table.h"

namespace statistics {

enum class Breakdown { Country, Decade, Condition, StampType, Topic, Group, Gum, Hinged, Wanted };
inline constexpr int kBreakdownCount = 9;
inline constexpr std::array<Breakdown, kBreakdownCount> kBreakdowns = {
    Breakdown::Country, Breakdown::Decade, Breakdown::Condition, Breakdown::StampType,
    Breakdown::Topic,   Breakdown::Group,  Breakdown::Gum,       Breakdown::Hinged,
    Breakdown::Wanted};

// The stamp field (1..25) a breakdown reads.
int breakdownField(Breakdown b);
// The breakdown of a field named by its dBase name or default label in any letter case
// ("Country", "StampType", "Stamp Type", "Year"); none for other fields.
std::optional<Breakdown> breakdownNamed(std::string_view name);

inline const std::string kBlankGroup = "(blank)";
inline const std::string kNoYearGroup = "(no year)";

struct Tally {
    std::int64_t stamps = 0;
    std::int64_t copies = 0;
    std::int64_t valueCents = 0;
    std::int64_t costCents = 0;
    std::int64_t gainCents() const { return valueCents - costCents; }
    Tally& operator+=(const Tally& o) {
        stamps += o.stamps;
        copies += o.copies;
        valueCents += o.valueCents;
        costCents += o.costCents;
        return *this;
    }
    bool operator==(const Tally&) const = default;
};

struct GroupTally {
    std::string name;  // UTF-8; "(blank)", "(no year)", "1950s"
    Tally tally;
};

struct Summary {
    Tally total;
    std::int64_t wanted = 0;
    std::int64_t withoutValue = 0;
    std::optional<int> oldestYear, newestYear;
};

struct ValuableStamp {
    std::uint32_t recNo = 0;
    std::int64_t valueCents = 0;  // quantity x market value
    std::int64_t quantity = 0;
    std::string catalog, country, description;  // UTF-8
    int year = 0;                                // 0: no year
};

struct PurchasePoint {
    int date = 0;                 // YYYYMMDD
    std::int64_t costCents = 0;   // accumulated up to and including this date
    std::int64_t valueCents = 0;  // accumulated
};

struct Purchases {
    std::vector<PurchasePoint> points;
    std::int64_t undated = 0;  // stamps without a purchase date
};

class CollectionStatistics {
  public:
    struct Options {
        std::vector<Breakdown> breakdowns;  // none: summary only
        int mostValuable = 0;               // how many to keep
        bool purchases = false;
    };

    CollectionStatistics(const engine::Table& table, Options options);
    CollectionStatistics(const std::vector<engine::FieldInfo>& fields, engine::CodePage codePage,
                         Options options);

    void add(const engine::RecordView& record);

    const Summary& summary() const { return summary_; }
    // The groups of `b` (empty when it was not asked for), in the order first met.
    std::vector<GroupTally> groups(Breakdown b) const;
    // Highest first.
    std::vector<ValuableStamp> mostValuable() const;
    Purchases purchases() const;

  private:
    struct FieldSlot {
        int offset = -1;  // in the record; -1 when the table lacks the field
        int length = 0;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    using TextGroups = std::unordered_map<std::string, Tally, Hash, std::equal_to<>>;
    struct BreakdownState {
        Breakdown which;
        FieldSlot slot;
        TextGroups text;                            // text fields: stored bytes -> tally
        std::vector<std::string> order;             // keys in the order first met
        std::unordered_map<int, Tally> decades;     // decade -> tally (Year)
        std::vector<int> decadeOrder;
        Tally noYear;
        bool noYearSeen = false;
    };

    FieldSlot slot(int stampField) const;
    std::string_view bytes(const engine::RecordView& r, const FieldSlot& s) const;
    void keepIfValuable(const engine::RecordView& r, std::int64_t cents, std::int64_t quantity,
                        int year);

    std::vector<engine::FieldInfo> fields_;
    engine::CodePage codePage_;
    Options options_;
    FieldSlot quantity_, value_, cost_, year_, date_, wanted_, catalog_, country_, description_;
    Summary summary_;
    std::vector<BreakdownState> breakdowns_;
    std::vector<ValuableStamp> valuable_;  // a heap, lowest value (latest record) on top
    std::unordered_map<int, std::pair<std::int64_t, std::int64_t>> purchaseDays_;
    std::int64_t undated_ = 0;
};

}  // namespace statistics
