#include "ui/window_colors.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QHeaderView>

#include "sample_window.h"

namespace {

using collection::ColorRole;

QColor role(QWidget* w, QPalette::ColorRole r) {
    return w->palette().color(r);
}

TEST(WindowColors, WindowsColourValuesConvertBothWays) {
    EXPECT_EQ(ui::colorFromBgr(12632256), QColor(192, 192, 192));
    EXPECT_EQ(ui::colorFromBgr(0x00800000), QColor(0, 0, 128));  // blue in the high byte
    EXPECT_EQ(ui::bgrFromColor(QColor(0, 255, 255)), 0x00FFFF00);
    EXPECT_EQ(ui::bgrFromColor(ui::colorFromBgr(0x00123456)), 0x00123456);
}

TEST(WindowColors, DefaultSetGivesSilverWindowsWhiteBoxesBlackText) {
    uitest::SampleWindow w;
    ui::applyColors(&w, ui::ColorSet{});
    const QColor silver(192, 192, 192);
    EXPECT_EQ(role(&w, QPalette::Window), silver);
    EXPECT_EQ(role(w.label, QPalette::Window), silver);
    EXPECT_EQ(role(w.edit, QPalette::Base), Qt::white);
    EXPECT_EQ(role(w.edit, QPalette::Text), Qt::black);
    EXPECT_EQ(role(w.check, QPalette::Button), silver);
}

TEST(WindowColors, EachControlKindTakesItsPair) {
    ui::ColorSet set;
    // Thirteen distinct colours, light backgrounds and dark texts (a pair that does not read
    // would be drawn with another text colour).
    for (int i = 0; i < collection::kColorRoleCount; ++i) {
        const bool background = i == 0 || i == 3 || i == 5 || i == 7 || i == 9 || i == 11;
        set.colors[std::size_t(i)] = background ? 0xF0F0F0 - i : i;
    }
    uitest::SampleWindow w;
    ui::applyColors(&w, set, {w.label}, {w.minor});
    auto colour = [&](ColorRole r) { return ui::colorOf(set, r); };

    struct Expect {
        QWidget* widget;
        QPalette::ColorRole paletteRole;
        ColorRole setRole;
    };
    const std::vector<Expect> expected = {
        {&w, QPalette::Window, ColorRole::MainBackground},
        {w.label, QPalette::Window, ColorRole::MainBackground},
        {w.label, QPalette::WindowText, ColorRole::MajorTitle},
        {w.minor, QPalette::WindowText, ColorRole::MinorTitle},
        {w.inGroup, QPalette::Window, ColorRole::MainBackground},
        {w.bevel, QPalette::Window, ColorRole::MainBackground},
        {w.edit, QPalette::Base, ColorRole::EditBackground},
        {w.edit, QPalette::Text, ColorRole::EditText},
        {w.memo, QPalette::Base, ColorRole::EditBackground},
        {w.masked, QPalette::Text, ColorRole::EditText},
        {w.combo, QPalette::Base, ColorRole::ComboBackground},
        {w.combo, QPalette::ButtonText, ColorRole::ComboText},
        {w.combo->view(), QPalette::Base, ColorRole::ComboBackground},
        {w.list, QPalette::Base, ColorRole::ListBoxBackground},
        {w.list, QPalette::Text, ColorRole::ListBoxText},
        {w.grid, QPalette::Base, ColorRole::ListBoxBackground},
        {w.grid->horizontalHeader(), QPalette::ButtonText, ColorRole::MinorTitle},
        {w.radio, QPalette::Button, ColorRole::RadioBackground},
        {w.radio, QPalette::Base, ColorRole::RadioBackground},
        {w.radio, QPalette::WindowText, ColorRole::RadioText},
        {w.check, QPalette::Button, ColorRole::CheckBackground},
        {w.check, QPalette::Base, ColorRole::CheckBackground},
        {w.check, QPalette::WindowText, ColorRole::CheckText},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.widget->objectName().toStdString() + " role " +
                     std::to_string(int(e.paletteRole)));
        EXPECT_EQ(role(e.widget, e.paletteRole), colour(e.setRole));
    }
    EXPECT_NE(role(w.button, QPalette::ButtonText), colour(ColorRole::ComboText));
}

TEST(WindowColors, ApplyingAnotherSetReplacesTheColours) {
    uitest::SampleWindow w;
    ui::ColorSet ocean;
    ocean[ColorRole::MainBackground] = 0x00FFFF00;  // 0, 255, 255
    ocean[ColorRole::EditText] = 0x00800000;        // 0, 0, 128
    ui::applyColors(&w, ocean);
    EXPECT_EQ(role(&w, QPalette::Window), QColor(0, 255, 255));
    EXPECT_EQ(role(w.edit, QPalette::Text), QColor(0, 0, 128));
    ui::applyColors(&w, ui::ColorSet{});
    EXPECT_EQ(role(&w, QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(role(w.edit, QPalette::Text), Qt::black);
}

}  // namespace
