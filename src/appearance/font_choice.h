// What the settings keep of a font chosen for one of the shared label, edit and button fonts:
// its name and its bold and italic styles. Size, colour, underline and strikeout live only in the
// shared font while the program runs.
#pragma once

#include <QFont>

#include "collection/font_settings.h"

namespace appearance {

collection::FontSettings storedFace(const QFont& font);

// The text a font is shown by in the viewer configuration: size + "pt " + name ("12pt Arial").
QString fontDescription(const collection::FontSettings& font);

}  // namespace appearance
