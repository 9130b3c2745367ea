// The installation's settings: sections "Misc" and "Defaults" of TESSELON.INI.
//
// Plain values with their defaults; a new installation (no TESSELON.INI) reads
// as a default-constructed GlobalSettings except for the two dialog start
// folders, which take the start-up directory the caller passes. Read and
// written as a whole (at start and at close, and when the record defaults are
// saved). Writing creates the settings folder when missing; a file that cannot
// be written is left alone without a message.
#pragma once

#include <QString>
#include <array>

#include "collection/stamp_schema.h"

namespace collection {

class ProfileFile;

inline constexpr int kRecentFileCount = 5;

struct MiscSettings {
    int buttonBar = 1;  // 1 speed buttons, 2 lettered buttons, 3 none
    int mainWindowLeft = 0;
    int mainWindowTop = 0;
    int mainWindowWidth = 640;
    int mainWindowHeight = 480;
    QString lastImportFile;
    QString lastExportFile;
    QString lastDatabase;
    std::array<QString, kRecentFileCount> lastFiles;  // "Last File 1" ... "Last File 5"
    bool showTips = true;
    int windowSize = 640;  // 640, 800, 1024 or 1280
    int dateFormat = 1;    // date format type 1..12; read: defaultDateFormatType() when unset
    bool dateLeadingZeros = false;
    int currencyFormat = 1;  // 1 U.S., 2 regional
    int numericFormat = 1;   // 1 U.S., 2 regional
    // Whether the file held the main window's place and the screen size (not at first start).
    bool placeStored = false;
    bool windowSizeStored = false;

    bool operator==(const MiscSettings&) const = default;
};

// Default values for new records.
struct RecordDefaults {
    bool loadWithAdd = false;
    bool loadWithClear = false;
    // Values of the text, number and date fields 1..24, index = field number - 1,
    // each at most its key's length. Field 25 (Wanted) is the flag below.
    std::array<QString, kFieldCount - 1> values;
    bool wanted = false;

    bool operator==(const RecordDefaults&) const = default;
};

struct GlobalSettings {
    MiscSettings misc;
    RecordDefaults defaults;

    bool operator==(const GlobalSettings&) const = default;
};

// From TESSELON.INI (globalSettingsPath()).
GlobalSettings readGlobal(const QString& startupDirectory);
void writeGlobal(const GlobalSettings& settings);

// The same on a given profile file.
GlobalSettings readGlobal(const ProfileFile& file, const QString& startupDirectory);
void writeGlobal(ProfileFile& file, const GlobalSettings& settings);

}  // namespace collection
