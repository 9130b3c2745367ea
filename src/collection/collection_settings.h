// One collection's settings: every section of its settings file (the
// collection base path + ".INI") other than "Misc" and "Defaults".
//
// Plain values with their defaults: a default-constructed CollectionSettings is
// what a collection without any stored settings shows. readCollection() reads
// the collection's own file when it exists and otherwise TESSELON.INI, key by
// key with the same defaults (normally all defaults, as TESSELON.INI does not
// hold these sections). writeCollection() creates or updates the collection's
// file; a file that cannot be written is left alone without a message.
#pragma once

#include <QString>
#include <array>

#include "collection/color_set.h"
#include "collection/font_settings.h"
#include "collection/stamp_schema.h"

namespace collection {

class ProfileFile;

// Viewer and export settings of one field (sections "Field Names", "Display
// Fields", "Field Width", "Field Order", "Export Fields", "Export Order", keyed
// by the field's dBase name).
struct FieldSettings {
    QString label;  // at most 20 characters
    bool display = true;
    int width = 15;  // viewer column width in characters
    int order = 0;   // viewer position; as read, the 25 form a permutation of 1..25
    bool exported = true;
    int exportOrder = 0;

    bool operator==(const FieldSettings&) const = default;
};

struct InterchangeSettings {
    bool firstRow = true;  // "First Row" of [Export], "Skip First" of [Import]
    int fileType = 1;

    bool operator==(const InterchangeSettings&) const = default;
};

struct GridSettings {
    bool showTitles = true;
    int titleBackgroundColor = kMidGrey;
    int titleAlignment = 2;  // 1 left, 2 centred, 3 right
    FontSettings titleFont{.size = 12};
    FontSettings font{.size = 10};
    int cellColor = kLightGrey;
    bool columnLines = true;
    bool rowLines = true;
    bool rowIndicator = true;
    bool fieldEditing = false;

    bool operator==(const GridSettings&) const = default;
};

struct ReportSettings {
    int lastReport = 0;
    bool defaultPrinter = true;
    int printerIndex = 0;
    int viewLeft = 0;  // report preview window geometry
    int viewTop = 0;
    int viewWidth = 640;
    int viewHeight = 480;

    bool operator==(const ReportSettings&) const = default;
};

struct CollectionSettings {
    CollectionSettings();

    std::array<FieldSettings, kFieldCount> fields;  // index = field number - 1
    InterchangeSettings exportOptions;
    InterchangeSettings importOptions;
    std::array<int, 4> sortLevels = {3, 0, 0, 0};    // field numbers, 0 = none
    std::array<ColorSet, kWindowGroupCount> colors;  // index = WindowGroup
    GridSettings grid;
    FontSettings editFont;    // name, bold and italic stored
    FontSettings labelFont;   // name, bold and italic stored
    FontSettings buttonFont;  // name, bold and italic stored
    ReportSettings reports;

    FieldSettings& field(int number) { return fields.at(number - 1); }
    const FieldSettings& field(int number) const { return fields.at(number - 1); }
    ColorSet& colorSet(WindowGroup g) { return colors[static_cast<int>(g)]; }
    const ColorSet& colorSet(WindowGroup g) const { return colors[static_cast<int>(g)]; }

    bool operator==(const CollectionSettings&) const = default;
};

// From `settingsPath` when that file exists, else from TESSELON.INI.
CollectionSettings readCollection(const QString& settingsPath);
void writeCollection(const QString& settingsPath, const CollectionSettings& settings);

// The same on a given profile file.
CollectionSettings readCollection(const ProfileFile& file);
void writeCollection(ProfileFile& file, const CollectionSettings& settings);

}  // namespace collection
