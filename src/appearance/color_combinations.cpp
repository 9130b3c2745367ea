#include "appearance/color_combinations.h"

#include <array>

namespace appearance {

namespace {

using collection::ColorRole;

struct Rgb {
    int r, g, b;
    int bgr() const { return r | (g << 8) | (b << 16); }
};

struct Combination {
    const char* name;
    Rgb mainBackground, majorTitle, minorTitle, editBackground, editText, radioText;
};

constexpr std::array<Combination, kColorCombinationCount> kCombinations = {{
    {"Monochrome", {255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}},
    {"Gray Mist", {192, 192, 192}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}},
    {"Midnight Black",
     {0, 0, 0},
     {192, 192, 192},
     {255, 255, 255},
     {127, 127, 127},
     {0, 0, 0},
     {255, 255, 255}},
    {"Desert Sunset", {255, 255, 128}, {0, 0, 0}, {0, 0, 0}, {255, 255, 0}, {0, 0, 0}, {0, 0, 0}},
    {"Easter Pastel",
     {255, 128, 255},
     {0, 0, 255},
     {0, 0, 0},
     {128, 0, 128},
     {0, 255, 255},
     {0, 0, 0}},
    {"Ocean Blue", {0, 255, 255}, {255, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 128}, {0, 0, 0}},
    {"Fiery Red", {255, 0, 0}, {0, 0, 128}, {0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 0}},
    {"Christmas Season",
     {0, 255, 0},
     {255, 255, 255},
     {255, 0, 0},
     {255, 0, 0},
     {255, 255, 255},
     {255, 0, 0}},
    {"Wine", {128, 0, 64}, {255, 0, 0}, {255, 0, 255}, {128, 0, 128}, {255, 0, 0}, {255, 0, 255}},
    {"More Pastels",
     {0, 255, 128},
     {255, 0, 255},
     {128, 0, 128},
     {0, 255, 255},
     {0, 0, 255},
     {128, 0, 128}},
    {"Green Glow", {0, 0, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 0, 0}, {0, 255, 0}},
    {"Camouflage",
     {128, 128, 0},
     {0, 128, 0},
     {127, 127, 127},
     {0, 128, 128},
     {192, 192, 192},
     {127, 127, 127}},
}};

bool valid(int number) {
    return number >= 1 && number <= kColorCombinationCount;
}

}  // namespace

QString colorCombinationName(int number) {
    return valid(number) ? QLatin1String(kCombinations[number - 1].name) : QString();
}

void applyColorCombination(collection::ColorSet& set, int number) {
    if (!valid(number)) return;
    const Combination& c = kCombinations[number - 1];
    set[ColorRole::MainBackground] = c.mainBackground.bgr();
    set[ColorRole::MajorTitle] = c.majorTitle.bgr();
    set[ColorRole::MinorTitle] = c.minorTitle.bgr();
    set[ColorRole::EditBackground] = c.editBackground.bgr();
    set[ColorRole::EditText] = c.editText.bgr();
    set[ColorRole::RadioText] = c.radioText.bgr();
    // The derived seven.
    set[ColorRole::ComboBackground] = set[ColorRole::EditBackground];
    set[ColorRole::ListBoxBackground] = set[ColorRole::EditBackground];
    set[ColorRole::ComboText] = set[ColorRole::EditText];
    set[ColorRole::ListBoxText] = set[ColorRole::EditText];
    set[ColorRole::RadioBackground] = set[ColorRole::MainBackground];
    set[ColorRole::CheckBackground] = set[ColorRole::MainBackground];
    set[ColorRole::CheckText] = set[ColorRole::RadioText];
}

}  // namespace appearance
