#include "ui/screen_scale.h"

namespace ui {

namespace {

struct SizeRow {
    int width;
    int height;
    double factor;
};

constexpr SizeRow kSizes[] = {
    {640, 480, 1.0},
    {800, 600, 1.25},
    {1024, 768, 1.6},
    {1280, 1024, 2.0},
};

const SizeRow* rowFor(int windowSize) {
    for (const SizeRow& row : kSizes)
        if (row.width == windowSize) return &row;
    return nullptr;
}

}  // namespace

int screenHeightFor(int windowSize) {
    const SizeRow* row = rowFor(windowSize);
    return row ? row->height : 0;
}

bool screenSupports(int windowSize, QSize screen) {
    if (windowSize == 640) return true;  // the smallest size is always accepted
    const SizeRow* row = rowFor(windowSize);
    return row && screen.width() >= row->width && screen.height() >= row->height;
}

double scaleFactorFor(int windowSize) {
    const SizeRow* row = rowFor(windowSize);
    return row ? row->factor : 1.0;
}

int largestFittingWindowSize(QSize screen) {
    for (int size : {1280, 1024, 800})
        if (size <= screen.width() && screenHeightFor(size) < screen.height()) return size;
    return 640;
}

ScreenChoice chooseScreenSize(int storedWindowSize, QSize screen) {
    const int size = screenSupports(storedWindowSize, screen) ? storedWindowSize : 640;
    return ScreenChoice{size, scaleFactorFor(size)};
}

}  // namespace ui
