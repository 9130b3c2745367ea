// The 13 colours of one window group and the five groups that have one.
//
// Colours are 0x00BBGGRR integers (red + 256 x green + 65536 x blue), kept in
// that form here and in the settings; the window layers convert them. Each
// group's set lives in its own section of the collection settings, one key
// per colour, in the order of ColorRole.
#pragma once

#include <QString>
#include <array>

namespace collection {

class ProfileFile;

enum class ColorRole {
    MainBackground,
    MajorTitle,
    MinorTitle,
    EditBackground,
    EditText,
    ComboBackground,
    ComboText,
    ListBoxBackground,
    ListBoxText,
    RadioBackground,
    RadioText,
    CheckBackground,
    CheckText,
};
inline constexpr int kColorRoleCount = 13;

enum class WindowGroup { Main, Edit, Search, Report, Configure };
inline constexpr int kWindowGroupCount = 5;

inline constexpr int kLightGrey = 12632256;  // 192, 192, 192
inline constexpr int kWhite = 16777215;
inline constexpr int kMidGrey = 8553090;  // 130, 130, 130
inline constexpr int kBlack = 0;

struct ColorSet {
    // Silver windows, white entry boxes, black text.
    std::array<int, kColorRoleCount> colors = {kLightGrey, kBlack,     kBlack, kWhite, kBlack,
                                               kWhite,     kBlack,     kWhite, kBlack, kLightGrey,
                                               kBlack,     kLightGrey, kBlack};

    int& operator[](ColorRole role) { return colors[static_cast<int>(role)]; }
    int operator[](ColorRole role) const { return colors[static_cast<int>(role)]; }
    bool operator==(const ColorSet&) const = default;
};

// Settings key of a colour ("Main Background", ... "Check Text").
QString colorKey(ColorRole role);
// Settings section of a group ("Main Window Color", ... "Configure Window Color").
QString colorSection(WindowGroup group);

ColorSet readColorSet(const ProfileFile& file, WindowGroup group);
void writeColorSet(ProfileFile& file, WindowGroup group, const ColorSet& set);

}  // namespace collection
