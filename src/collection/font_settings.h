// A shared font as the settings store it.
//
// The grid title and grid fonts store all seven keys ("Color", "Font Name",
// "Size", "Bold", "Italic", "Underline", "Strikeout"). The edit, label and
// button fonts store only "Font Name", "Bold" and "Italic": reading one of
// them sets name, bold and italic and clears underline and strikeout, while
// colour and size keep the values the caller passed as defaults. Colours are
// 0x00BBGGRR integers. Plain values; conversion to a QFont happens in the
// window layers.
#pragma once

#include <QString>

namespace collection {

class ProfileFile;

struct FontSettings {
    int color = 0;
    QString name = QStringLiteral("Arial");
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    bool operator==(const FontSettings&) const = default;
};

enum class FontKeys { All, NameAndStyle };

FontSettings readFont(const ProfileFile& file, const QString& section, FontKeys keys,
                      const FontSettings& defaults);
void writeFont(ProfileFile& file, const QString& section, FontKeys keys, const FontSettings& font);

}  // namespace collection
