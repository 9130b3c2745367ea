// Screen size choice and the screen scale factor that every window is scaled by.
//
// The stored `Window Size` (640, 800, 1024 or 1280) is kept only when the screen reaches it;
// anything else becomes 640. The factor follows from the size: 1.0, 1.25, 1.6, 2.0. Pure
// functions, no state.
#pragma once

#include <QSize>

namespace ui {

struct ScreenChoice {
    int windowSize = 640;  // 640, 800, 1024 or 1280
    double factor = 1.0;   // 1.0, 1.25, 1.6 or 2.0
};

// The height a screen needs for a window size (640 -> 480, ... 1280 -> 1024); 0 for others.
int screenHeightFor(int windowSize);

// True when `windowSize` is one of the four sizes and the screen is at least that large.
bool screenSupports(int windowSize, QSize screen);

// Scale factor of a window size; 1.0 for anything but the four sizes.
double scaleFactorFor(int windowSize);

// The stored size when the screen supports it, else 640; with its factor.
ScreenChoice chooseScreenSize(int storedWindowSize, QSize screen);

// The largest of the four sizes a window fits in on `screen` with room left for its title bar
// and the desktop's panels (as wide as the screen at most, less high): a first start's choice.
// 1024 on a 1280 x 1024 screen, 1280 on 1920 x 1080, 640 on anything smaller than 800 x 601.
int largestFittingWindowSize(QSize screen);

}  // namespace ui
