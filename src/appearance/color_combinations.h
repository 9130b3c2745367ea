// The twelve predefined colour combinations offered by the colour configuration window.
//
// A combination states six colours of a set (Main Background, Major Title, Minor Title, Edit
// Background, Edit Text, Radio Text); the other seven follow from them: the combo and list box
// pairs take the edit pair, the radio and check backgrounds the main background, and the check
// text the radio text. Combinations are numbered 1..12 in the order the window lists them.
#pragma once

#include <QString>

#include "collection/color_set.h"

namespace appearance {

inline constexpr int kColorCombinationCount = 12;

// "Monochrome", "Gray Mist", ... "Camouflage"; empty outside 1..12.
QString colorCombinationName(int number);

// Puts combination `number` into all 13 colours of `set`; a number outside 1..12 leaves it.
void applyColorCombination(collection::ColorSet& set, int number);

}  // namespace appearance
