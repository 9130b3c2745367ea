// The criteria of a query search: what the user typed beside the 25 stamp fields, one level at a
// time, converted once into criteria that the record test (search_filter.h) applies.
//
// Levels: the criteria of one level must all hold (AND); a record passes when any level holds
// (OR). The last criterion of each level carries the end-of-level flag. A search holds at most
// kMaxSearchCriteria criteria in at most kMaxSearchLevels levels.
//
// Value cells: a row of a number or date field has an operator (1 " = ", 2 " > ", 3 " < ",
// 4 " > X < " range) and its cell holds the operator's characters followed by the value:
// "= 1950", "> 1900", "< 01/01/1950", "> 1900 AND < 1950". Reading a cell
// (`collectSearchRow`) removes the operator character (for the range, the first ">" and the first
// "<") and trims; the range is split at its first "AND" (in any letter case). Numbers are read
// with "." as decimal separator; dates in the date format given, where "/  /", "-  -" and
// ".  ." (an untouched date box) count as empty. A text row's value is trimmed and upper-cased,
// at most 110 characters kept, and tested as "contains".
//
// `addSearchLevel` is the whole of collecting one level (the search window's "&Find More" and
// "&Ok" and the companion's criterion arguments use it): rows are read in order; the first row
// that does not convert, or a range with one side missing, drops every criterion this level had
// added; passing kMaxSearchCriteria clears the whole search; a level that added nothing is
// refused. Only QtCore; no widgets.
#pragma once

#include <QString>
#include <vector>

#include "collection/date_format.h"

namespace collection {

inline constexpr int kMaxSearchCriteria = 75;
inline constexpr int kMaxSearchLevels = 10;
inline constexpr int kMaxSearchText = 110;

enum class SearchTest { Equal = 1, Greater = 2, Less = 3, Contains = 5 };

// Row operators of number and date rows.
enum SearchOperator { kOpEqual = 1, kOpGreater = 2, kOpLess = 3, kOpRange = 4 };

// How a field's row is read: text rows are "contains" tests, number and date rows compare.
enum class SearchRowKind { Text, Number, Date };
SearchRowKind searchRowKind(int field);  // field 1..25

struct SearchCriterion {
    QString text;      // the value as typed, trimmed; upper-cased for text rows
    double value = 0;  // number, or a date as YYYYMMDD
    int field = 0;     // 1..25
    SearchTest test = SearchTest::Contains;
    bool endOfLevel = false;
    bool isDate = false;

    bool operator==(const SearchCriterion&) const = default;
};

// A date as the number the criteria and the record test compare: YYYYMMDD; 0 for no date.
inline double searchDateValue(int year, int month, int day) {
    return year * 10000.0 + month * 100.0 + day;
}

// One value cell as the window or the companion hands it over.
struct SearchRowInput {
    int field = 0;      // 1..25
    int op = kOpEqual;  // operator of a number or date row; ignored for text rows
    QString text;       // the cell's text
};

enum class RowStatus { Empty, Added, Invalid };

// Reads one cell: Empty adds nothing, Added appends its one or two criteria (range: greater
// than low, then less than high) to `out`, Invalid appends nothing.
RowStatus collectSearchRow(const SearchRowInput& row, const DateFormat& dates,
                           std::vector<SearchCriterion>& out);

// The operator the text of a number or date cell names: a range when it holds "AND", otherwise
// the leading ">" or "<", otherwise equal. (The companion has no operator column.)
int operatorFromText(const QString& text);

struct LevelResult {
    enum Status { Added, NoCriteria, Invalid, TooMany } status = Added;
    int failedRow = -1;  // index into the rows given, for Invalid (and TooMany)
};

class SearchCriteria;
// Collects one level from `rows` as described above. Added: the level's criteria are appended
// and its last one ends the level. NoCriteria and Invalid: `criteria` is as it was before.
// TooMany: `criteria` is cleared.
LevelResult addSearchLevel(SearchCriteria& criteria, const std::vector<SearchRowInput>& rows,
                           const DateFormat& dates);

class SearchCriteria {
  public:
    const std::vector<SearchCriterion>& items() const { return items_; }
    int count() const { return int(items_.size()); }
    bool empty() const { return items_.empty(); }
    int levels() const;  // completed levels
    void clear() { items_.clear(); }

    bool operator==(const SearchCriteria&) const = default;

  private:
    friend LevelResult addSearchLevel(SearchCriteria&, const std::vector<SearchRowInput>&,
                                      const DateFormat&);
    std::vector<SearchCriterion> items_;
};

}  // namespace collection
