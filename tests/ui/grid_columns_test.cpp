#include "ui/grid_columns.h"

#include <gtest/gtest.h>

namespace {

using ui::FieldViewSettings;

std::vector<int> fieldsOf(const std::vector<ui::GridColumn>& columns) {
    std::vector<int> fields;
    for (const auto& c : columns) fields.push_back(c.field);
    return fields;
}

std::vector<int> schemaOrder() {
    std::vector<int> all;
    for (int n = 1; n <= collection::kFieldCount; ++n) all.push_back(n);
    return all;
}

struct WalkCase {
    const char* name;
    void (*change)(FieldViewSettings&);
    std::vector<int> expected;
};

class ColumnWalkTest : public testing::TestWithParam<WalkCase> {};

TEST_P(ColumnWalkTest, FieldsInDisplayOrder) {
    FieldViewSettings settings = ui::defaultFieldViewSettings();
    GetParam().change(settings);
    EXPECT_EQ(fieldsOf(ui::layoutColumns(settings)), GetParam().expected);
}

// Field n's setting is settings[n - 1].
INSTANTIATE_TEST_SUITE_P(
    Walks, ColumnWalkTest,
    testing::Values(WalkCase{"Defaults", [](FieldViewSettings&) {}, schemaOrder()},
                    WalkCase{"HiddenFieldsLeaveNoGap",
                             [](FieldViewSettings& s) {
                                 for (int n = 3; n <= 25; ++n) s[std::size_t(n - 1)].shown = false;
                                 s[6].shown = true;  // Year
                             },
                             {1, 2, 7}},
                    WalkCase{"SwappedPositions",
                             [](FieldViewSettings& s) {
                                 for (int n = 4; n <= 25; ++n) s[std::size_t(n - 1)].shown = false;
                                 s[0].position = 3;  // Catalog last
                                 s[2].position = 1;  // Country first
                             },
                             {3, 2, 1}},
                    // Descriptio and Country both claim 2: Descriptio (the first) wins, Country
                    // never shows, and the unclaimed position 3 goes to Catalog.
                    WalkCase{"UnclaimedPositionGoesToCatalog",
                             [](FieldViewSettings& s) {
                                 for (int n = 5; n <= 25; ++n) s[std::size_t(n - 1)].shown = false;
                                 s[2].position = 2;
                             },
                             {1, 2, 1, 4}},
                    WalkCase{"HiddenCatalogFillsNothing",
                             [](FieldViewSettings& s) {
                                 for (int n = 5; n <= 25; ++n) s[std::size_t(n - 1)].shown = false;
                                 s[0].shown = false;
                                 s[2].position = 0;
                             },
                             {2, 4}}),
    [](const testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

TEST(ColumnWalk, ColumnsCarryLabelAndWidth) {
    FieldViewSettings settings = ui::defaultFieldViewSettings();
    settings[4].label = QStringLiteral("Value");
    settings[4].widthChars = 9;
    const auto columns = ui::layoutColumns(settings);
    ASSERT_EQ(columns.size(), 25u);
    EXPECT_EQ(columns[0].label, QStringLiteral("Alpha Catalog"));
    EXPECT_EQ(columns[4], (ui::GridColumn{5, QStringLiteral("Value"), 9}));
}

}  // namespace
