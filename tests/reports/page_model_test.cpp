// Shared box edges: the lines of neighbouring boxes merge into one line per edge.
#include "reports/page_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

using reports::PlacedLine;

namespace {

// The four edges of a box, as the page engine places them.
void addBox(std::vector<PlacedLine>& lines, double left, double top, double right, double bottom) {
    lines.push_back({left, top, left, bottom});
    lines.push_back({right, top, right, bottom});
    lines.push_back({left, top, right, top});
    lines.push_back({left, bottom, right, bottom});
}

bool contains(const std::vector<PlacedLine>& lines, PlacedLine l) {
    return std::any_of(lines.begin(), lines.end(), [&](const PlacedLine& m) {
        return std::abs(m.x1 - l.x1) < 1e-9 && std::abs(m.y1 - l.y1) < 1e-9 &&
               std::abs(m.x2 - l.x2) < 1e-9 && std::abs(m.y2 - l.y2) < 1e-9;
    });
}

}  // namespace

TEST(PageModelTest, GridOfBoxesDrawsEachEdgeOnce) {
    std::vector<PlacedLine> lines;
    // Two rows of three cells; the second row's top is computed as the engine does it (its
    // bottom less a line height), which may differ from the first row's bottom in the last bit.
    const double h = 8 / 60.0, y0 = 1.25, y1 = y0 + h, y2 = y1 + h;
    for (const auto& [top, bottom] : {std::pair{y0, y1}, std::pair{y2 - h, y2}}) {
        addBox(lines, 0.5, top, 1.0, bottom);
        addBox(lines, 1.0, top, 2.5, bottom);
        addBox(lines, 2.5, top, 8.0, bottom);
    }
    const std::vector<PlacedLine> merged = reports::mergedLines(lines);
    // Three horizontal rules across the page and four column edges down both rows.
    ASSERT_EQ(merged.size(), 7u);
    EXPECT_TRUE(contains(merged, {0.5, y0, 8.0, y0}));
    EXPECT_TRUE(contains(merged, {0.5, y1, 8.0, y1}));
    EXPECT_TRUE(contains(merged, {2.5, y0, 2.5, y2}));
}

TEST(PageModelTest, SeparateAndSlantedLinesStay) {
    const std::vector<PlacedLine> lines = {
        {3, 1, 1, 1},    // drawn right to left
        {1.5, 1, 2, 1},  // inside the first
        {4, 1, 5, 1},    // same row, a gap before it
        {0, 0, 1, 1},    // slanted
    };
    const std::vector<PlacedLine> merged = reports::mergedLines(lines);
    ASSERT_EQ(merged.size(), 3u);
    EXPECT_TRUE(contains(merged, {1, 1, 3, 1}));
    EXPECT_TRUE(contains(merged, {4, 1, 5, 1}));
    EXPECT_TRUE(contains(merged, {0, 0, 1, 1}));
}
