// GridLeadingColumn has no code of its own; this file gives its signals a home.
#include "ui/grid_leading_column.h"
