#include "ui/screen_scale.h"

#include <gtest/gtest.h>

namespace {

struct ScreenCase {
    const char* name;
    int stored;
    QSize screen;
    int windowSize;
    double factor;
};

class ScreenChoiceTable : public testing::TestWithParam<ScreenCase> {};

TEST_P(ScreenChoiceTable, ChoosesSizeAndFactor) {
    const ScreenCase& c = GetParam();
    const ui::ScreenChoice choice = ui::chooseScreenSize(c.stored, c.screen);
    EXPECT_EQ(choice.windowSize, c.windowSize);
    EXPECT_DOUBLE_EQ(choice.factor, c.factor);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ScreenChoiceTable,
    testing::Values(ScreenCase{"Stored640", 640, {640, 480}, 640, 1.0},
                    ScreenCase{"Stored640OnTinyScreen", 640, {320, 200}, 640, 1.0},
                    ScreenCase{"Stored800Fits", 800, {800, 600}, 800, 1.25},
                    ScreenCase{"Stored800TooShort", 800, {800, 599}, 640, 1.0},
                    ScreenCase{"Stored1024Fits", 1024, {1920, 1080}, 1024, 1.6},
                    ScreenCase{"Stored1024TooNarrow", 1024, {1000, 1000}, 640, 1.0},
                    ScreenCase{"Stored1280On1024x768", 1280, {1024, 768}, 640, 1.0},
                    ScreenCase{"Stored1280Fits", 1280, {1280, 1024}, 1280, 2.0},
                    ScreenCase{"UnknownSize", 1152, {1920, 1200}, 640, 1.0},
                    ScreenCase{"Zero", 0, {1920, 1200}, 640, 1.0}),
    [](const testing::TestParamInfo<ScreenCase>& info) { return info.param.name; });

TEST(ScreenScale, SupportsOnlyTheFourSizesWithinTheScreen) {
    EXPECT_TRUE(ui::screenSupports(640, {100, 100}));
    EXPECT_TRUE(ui::screenSupports(1024, {1024, 768}));
    EXPECT_FALSE(ui::screenSupports(1280, {1279, 1024}));
    EXPECT_FALSE(ui::screenSupports(900, {2000, 2000}));
    EXPECT_EQ(ui::screenHeightFor(800), 600);
}

}  // namespace

TEST(ScreenScale, AFirstStartTakesTheLargestSizeThatLeavesRoomForTheTitleBar) {
    EXPECT_EQ(ui::largestFittingWindowSize(QSize(1280, 1024)), 1024);
    EXPECT_EQ(ui::largestFittingWindowSize(QSize(1920, 1080)), 1280);
    EXPECT_EQ(ui::largestFittingWindowSize(QSize(1024, 768)), 800);
    EXPECT_EQ(ui::largestFittingWindowSize(QSize(1366, 768)), 800);
    EXPECT_EQ(ui::largestFittingWindowSize(QSize(800, 600)), 640);
}
