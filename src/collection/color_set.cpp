#include "collection/color_set.h"

#include "collection/profile_file.h"
#include "collection/setting_values.h"

namespace collection {

namespace {
constexpr std::array<const char*, kColorRoleCount> kKeys = {
    "Main Background", "Major Title",      "Minor Title", "Edit Background",
    "Edit Text",       "Combo Background", "Combo Text",  "List Box Background",
    "List Box Text",   "Radio Background", "Radio Text",  "Check Background",
    "Check Text"};
constexpr std::array<const char*, kWindowGroupCount> kSections = {
    "Main Window Color", "Edit Window Color", "Search Window Color", "Report Window Color",
    "Configure Window Color"};
}  // namespace

QString colorKey(ColorRole role) {
    return QLatin1String(kKeys[static_cast<int>(role)]);
}

QString colorSection(WindowGroup group) {
    return QLatin1String(kSections[static_cast<int>(group)]);
}

ColorSet readColorSet(const ProfileFile& file, WindowGroup group) {
    ColorSet set;
    const QString section = colorSection(group);
    for (int i = 0; i < kColorRoleCount; ++i)
        set.colors[i] = readInt(file, section, QLatin1String(kKeys[i]), set.colors[i]);
    return set;
}

void writeColorSet(ProfileFile& file, WindowGroup group, const ColorSet& set) {
    const QString section = colorSection(group);
    for (int i = 0; i < kColorRoleCount; ++i)
        writeInt(file, section, QLatin1String(kKeys[i]), set.colors[i]);
}

}  // namespace collection
