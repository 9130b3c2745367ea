#include "collection/sort_expression.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    std::array<int, 4> levels;
    const char* expected;
};

TEST(BuildSortString, GivesTheExpressionOfEachCombination) {
    const Case cases[] = {
        {{3, 0, 0, 0}, "Upper(Left(Country,80))"},
        {{3, 7, 2, 0}, "Upper(Left(Country,26))+STR(Year,12,0)+Upper(Left(Descriptio,26))"},
        {{14, 15, 0, 0}, "DTOS(Date)+STR(Cost,12,2)"},
        {{1, 0, 0, 0}, "Upper(Left(Catalog,80))"},
        {{0, 0, 0, 0}, ""},
        {{3, 3, 0, 0}, "Upper(Left(Country,40))+Upper(Left(Country,40))"},
        {{0, 0, 14, 0}, "DTOS(Date)"},
        {{3, 13, 9, 16},
         "Upper(Left(Country,20))+Upper(Left(Topic,20))+Upper(Left(Condition,20))+"
         "Upper(Left(Gum,20))"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(collection::BuildSortString(c.levels).toStdString(), c.expected);
}

}  // namespace
