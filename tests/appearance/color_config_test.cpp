// The colour configuration window: combinations with their derived colours, one colour changed
// by its button, the empty first line, Ok for one group or for all, and Cancel.
#include "appearance/color_config.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "appearance/color_combinations.h"
#include "ui/scripted_platform.h"
#include "ui/window_colors.h"

namespace appearance {
namespace {

using collection::ColorRole;
using collection::ColorSet;
using collection::WindowGroup;

constexpr int kOceanBlue = 6;
constexpr int kCyan = 0xFFFF00;  // 0, 255, 255 as 0x00BBGGRR
constexpr int kNavy = 0x800000;  // 0, 0, 128
constexpr int kRed = 0x0000FF;   // 255, 0, 0

TEST(ColorCombinationTest, OceanBlueAndCamouflageGiveAllThirteenColours) {
    ColorSet set;
    applyColorCombination(set, kOceanBlue);
    const ColorSet ocean{{kCyan, kRed, 0, collection::kWhite, kNavy, collection::kWhite, kNavy,
                          collection::kWhite, kNavy, kCyan, 0, kCyan, 0}};
    EXPECT_EQ(set, ocean);

    applyColorCombination(set, 12);  // Camouflage: grey radio and check text, teal boxes
    EXPECT_EQ(set[ColorRole::MainBackground], 0x008080);
    EXPECT_EQ(set[ColorRole::CheckText], 0x7F7F7F);
    EXPECT_EQ(set[ColorRole::ListBoxBackground], 0x808000);
    EXPECT_EQ(set[ColorRole::ComboText], 0xC0C0C0);
    EXPECT_EQ(colorCombinationName(12), QStringLiteral("Camouflage"));

    const ColorSet before = set;
    applyColorCombination(set, 0);
    applyColorCombination(set, 13);
    EXPECT_EQ(set, before);
}

class ColorConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sets[static_cast<int>(WindowGroup::Main)][ColorRole::MainBackground] = 0x123456;
        sets[static_cast<int>(WindowGroup::Search)][ColorRole::EditText] = 0x654321;
    }
    ColorConfigContext context(int group) {
        ColorConfigContext c;
        c.sets = &sets;
        c.group = group;
        c.repaintMain = [this] { ++repaints; };
        return c;
    }
    static void choose(QDialog& d, int combination) {
        auto* list = d.findChild<QComboBox*>(QStringLiteral("ColorSets"));
        list->setCurrentIndex(combination);
        emit list->activated(combination);
    }
    static void click(QDialog& d, const char* name) {
        d.findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }
    static ColorSet working(QDialog& d) { return static_cast<TColorConfig&>(d).workingSet(); }

    ui::ScriptedPlatform platform;
    ui::ScopedPlatform scoped{platform};
    std::array<ColorSet, collection::kWindowGroupCount> sets;
    int repaints = 0;
};

TEST_F(ColorConfigTest, OceanBlueForTheSearchGroupChangesOnlyThatGroup) {
    const auto before = sets;
    platform.queueModal([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Color Configuration"));
        // The working set starts as the search group's own.
        EXPECT_EQ(working(d)[ColorRole::EditText], 0x654321);
        auto* list = d.findChild<QComboBox*>(QStringLiteral("ColorSets"));
        ASSERT_EQ(list->count(), 13);
        EXPECT_TRUE(list->itemText(0).isEmpty());
        EXPECT_EQ(list->itemText(kOceanBlue), QStringLiteral("Ocean Blue"));
        choose(d, kOceanBlue);
        // The samples show the working set: the window cyan, the edit sample white on navy.
        EXPECT_EQ(d.palette().color(QPalette::Window), QColor(0, 255, 255));
        auto* sample = d.findChild<QLineEdit*>(QStringLiteral("EditSample"));
        EXPECT_EQ(sample->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(sample->palette().color(QPalette::Text), QColor(0, 0, 128));
        click(d, "OkButton");
    });
    TColorConfig::Configure(context(3));
    ColorSet ocean;
    applyColorCombination(ocean, kOceanBlue);
    EXPECT_EQ(sets[static_cast<int>(WindowGroup::Search)], ocean);
    for (WindowGroup g :
         {WindowGroup::Main, WindowGroup::Edit, WindowGroup::Report, WindowGroup::Configure})
        EXPECT_EQ(sets[static_cast<int>(g)], before[static_cast<int>(g)]);
    EXPECT_EQ(repaints, 0);
}

TEST_F(ColorConfigTest, ACombinationThenOneButtonKeepsTheOtherColoursAndTheEmptyLineNothing) {
    platform.queueColor(QColor(255, 0, 0));
    platform.queueColor(std::nullopt);  // the second dialog is cancelled
    platform.queueModal([](QDialog& d) {
        choose(d, kOceanBlue);
        click(d, "EditBoxText");
        click(d, "CheckBack");
        const ColorSet afterButton = working(d);
        choose(d, 0);
        EXPECT_EQ(working(d), afterButton);
        click(d, "OkButton");
    });
    TColorConfig::Configure(context(2));
    ColorSet expected;
    applyColorCombination(expected, kOceanBlue);
    expected[ColorRole::EditText] = kRed;
    EXPECT_EQ(sets[static_cast<int>(WindowGroup::Edit)], expected);
    EXPECT_EQ(platform.colorDialogs(), 2);
}

TEST_F(ColorConfigTest, AllWindowsStartsFromTheMainSetCopiesItEverywhereAndRepaintsMain) {
    platform.queueModal([](QDialog& d) {
        EXPECT_EQ(working(d)[ColorRole::MainBackground], 0x123456);
        click(d, "OkButton");
    });
    TColorConfig::Configure(context(kAllWindowGroups));
    for (const ColorSet& set : sets) EXPECT_EQ(set, sets[0]);
    EXPECT_EQ(sets[0][ColorRole::MainBackground], 0x123456);
    EXPECT_EQ(repaints, 1);

    platform.queueModal([](QDialog& d) {
        choose(d, 3);
        click(d, "CancelButton");
    });
    const auto before = sets;
    TColorConfig::Configure(context(kAllWindowGroups));
    EXPECT_EQ(sets, before);
    EXPECT_EQ(repaints, 1);
}

}  // namespace
}  // namespace appearance
