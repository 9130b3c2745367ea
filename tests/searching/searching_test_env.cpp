#include "common/isolated_qt_environment.h"

TESSELLON_ISOLATED_QT_ENVIRONMENT("tess_searching_tests")
