#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/table.h"

namespace {

using engine::CodePage;
using engine::FieldInfo;
using engine::FieldType;
using engine::RecordView;

// One record laid out by hand: C(8) "Öst" + N(6,2) " -1.50" + D "19970307" + L "y".
struct Sample {
    std::vector<FieldInfo> fields{
        {"NAME", FieldType::Character, 'C', 8, 0, 1},
        {"COST", FieldType::Numeric, 'N', 6, 2, 9},
        {"DAY", FieldType::Date, 'D', 8, 0, 15},
        {"OK", FieldType::Logical, 'L', 1, 0, 23},
    };
    std::string bytes = std::string(" \xD6st     ") + " -1.50" + "19970307" + "y";
    RecordView view() const { return RecordView(bytes.data(), &fields, CodePage::Cp1252, 1); }
};

TEST(RecordViewText, TextIntoMatchesTextAndReusesTheBuffer) {
    Sample s;
    RecordView v = s.view();
    std::string buffer = "left over from an earlier field, long enough to be on the heap";
    const char* storage = buffer.data();
    const char* expected[] = {"\xC3\x96st", "-1.50", "19970307", "T"};
    for (int f = 0; f < 4; ++f) {
        v.textInto(f, buffer);
        EXPECT_EQ(buffer, expected[f]) << "field " << f;
        EXPECT_EQ(buffer, v.text(f));
    }
    EXPECT_EQ(buffer.data(), storage);  // no new allocation for shorter texts
}

}  // namespace
