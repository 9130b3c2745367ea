#include "collection/font_settings.h"

#include "collection/profile_file.h"
#include "collection/setting_values.h"

namespace collection {

namespace {
const QString kColor = QStringLiteral("Color");
const QString kFontName = QStringLiteral("Font Name");
const QString kSize = QStringLiteral("Size");
const QString kBold = QStringLiteral("Bold");
const QString kItalic = QStringLiteral("Italic");
const QString kUnderline = QStringLiteral("Underline");
const QString kStrikeout = QStringLiteral("Strikeout");
}  // namespace

FontSettings readFont(const ProfileFile& file, const QString& section, FontKeys keys,
                      const FontSettings& defaults) {
    FontSettings font = defaults;
    font.name = file.read(section, kFontName, defaults.name, kNameReadLimit);
    font.bold = readYesNo(file, section, kBold, defaults.bold);
    font.italic = readYesNo(file, section, kItalic, defaults.italic);
    if (keys == FontKeys::NameAndStyle) {
        font.underline = false;
        font.strikeout = false;
        return font;
    }
    font.color = readInt(file, section, kColor, defaults.color);
    font.size = readInt(file, section, kSize, defaults.size);
    font.underline = readYesNo(file, section, kUnderline, defaults.underline);
    font.strikeout = readYesNo(file, section, kStrikeout, defaults.strikeout);
    return font;
}

void writeFont(ProfileFile& file, const QString& section, FontKeys keys, const FontSettings& font) {
    if (keys == FontKeys::All) writeInt(file, section, kColor, font.color);
    file.write(section, kFontName, font.name);
    if (keys == FontKeys::All) writeInt(file, section, kSize, font.size);
    writeYesNo(file, section, kBold, font.bold);
    writeYesNo(file, section, kItalic, font.italic);
    if (keys == FontKeys::NameAndStyle) return;
    writeYesNo(file, section, kUnderline, font.underline);
    writeYesNo(file, section, kStrikeout, font.strikeout);
}

}  // namespace collection
