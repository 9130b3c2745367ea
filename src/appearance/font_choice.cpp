#include "appearance/font_choice.h"

namespace appearance {

collection::FontSettings storedFace(const QFont& font) {
    collection::FontSettings stored;
    stored.name = font.family();
    stored.bold = font.bold();
    stored.italic = font.italic();
    return stored;
}

QString fontDescription(const collection::FontSettings& font) {
    return QString::number(font.size) + QStringLiteral("pt ") + font.name;
}

}  // namespace appearance
