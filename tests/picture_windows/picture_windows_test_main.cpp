// Test program of the picture windows: one QApplication, offscreen, in a temporary configuration.
#include "common/isolated_qt_environment.h"

TESSELLON_ISOLATED_QT_ENVIRONMENT("tess_picture_windows_tests")
