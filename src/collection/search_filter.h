// The record test of a query search: SearchCriteria prepared once for one open table, then
// asked of each record straight from its record buffer.
//
// Preparing binds each criterion's field number (1..25) to the table's field of that stamp-schema
// name and converts its value to the form the record holds: a "contains" text becomes upper-case
// bytes in the table's code page, numbers and dates stay numbers. A criterion whose field the
// table lacks, or whose text the code page cannot hold, never holds.
//
// The test (`passes`, also the call operator, so a SearchFilter is a table filter callback):
//  - criteria are taken in order; within a level they must all hold, and once one fails the
//    rest of its level is skipped; at an end-of-level criterion a level that held passes the
//    record. With no criteria no record passes.
//  - contains: the field's text, upper-cased, holds the criterion text anywhere.
//  - equal, greater, less: the field's value against the criterion's, exact equality.
//    Dates compare as YYYYMMDD numbers, a blank (or unreadable) date counting as 0, before every
//    date. A blank number field has no value and fails every number test (so "Year < 1950" does
//    not pick up stamps whose year was never entered); an unreadable one fails too.
//
// The filter copies what it needs; it holds no pointer to the criteria or the table, and may be
// used for any table with the same field layout (the same table re-opened).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "collection/search_criteria.h"
#include "engine/table.h"

namespace collection {

class SearchFilter {
  public:
    SearchFilter() = default;  // no criteria: passes nothing
    SearchFilter(const SearchCriteria& criteria, const engine::Table& table);
    SearchFilter(const SearchCriteria& criteria, const std::vector<engine::FieldInfo>& fields,
                 engine::CodePage codePage);

    bool passes(const engine::RecordView& record) const;
    bool operator()(const engine::RecordView& record) const { return passes(record); }
    bool empty() const { return tests_.empty(); }

  private:
    struct Test {
        SearchTest test = SearchTest::Contains;
        bool isDate = false;
        bool endOfLevel = false;
        bool never = false;  // field missing or text not representable
        int field = -1;      // 0-based table field
        int offset = 0;      // byte offset in the record
        int length = 0;
        double value = 0;
        std::string needle;  // contains: upper-case bytes in the code page
    };
    bool holds(const Test& t, const engine::RecordView& record) const;

    std::vector<Test> tests_;
    unsigned char upper_[256] = {};
};

}  // namespace collection
