#include "ui/platform.h"

#include <memory>

#include "ui/qt_platform.h"

namespace ui {

namespace {

Platform* installed = nullptr;

Platform& defaultPlatform() {
    static std::unique_ptr<QtPlatform> instance = std::make_unique<QtPlatform>();
    return *instance;
}

}  // namespace

Platform& platform() {
    return installed ? *installed : defaultPlatform();
}

Platform* setPlatform(Platform* p) {
    Platform* previous = installed;
    installed = p;
    return previous;
}

}  // namespace ui
