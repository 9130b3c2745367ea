#include "collection/global_settings.h"

#include <QDir>
#include <QLocale>

#include "collection/date_format.h"
#include "collection/profile_file.h"
#include "collection/setting_values.h"
#include "collection/settings_paths.h"
#include "collection/text_decoding.h"

namespace collection {

namespace {

const QString kMisc = QStringLiteral("Misc");
const QString kDefaults = QStringLiteral("Defaults");
const QString kLastImportFile = QStringLiteral("Last Import File");
const QString kLastExportFile = QStringLiteral("Last Export File");
const QString kLastDatabase = QStringLiteral("Last Database");
const QString kShowTips = QStringLiteral("Show Tips");
const QString kLeadingZeros = QStringLiteral("Date Leading Zeros");
const QString kLoadWithAdd = QStringLiteral("Load Defaults With Add");
const QString kLoadWithClear = QStringLiteral("Load Defaults With Clear");

struct IntKey {
    const char* key;
    int MiscSettings::*member;
};
constexpr std::array<IntKey, 9> kMiscIntegers = {{
    {"Button Bar", &MiscSettings::buttonBar},
    {"Main Window Left", &MiscSettings::mainWindowLeft},
    {"Main Window Top", &MiscSettings::mainWindowTop},
    {"Main Window Width", &MiscSettings::mainWindowWidth},
    {"Main Window Height", &MiscSettings::mainWindowHeight},
    {"Window Size", &MiscSettings::windowSize},
    {"Date Format", &MiscSettings::dateFormat},
    {"Currency Format", &MiscSettings::currencyFormat},
    {"Numeric Format", &MiscSettings::numericFormat},
}};

QString lastFileKey(int slot) {
    return QStringLiteral("Last File %1").arg(slot + 1);
}

QString defaultKey(int index) {
    return QString::fromUtf8(stampSchema()[index].settingsDefaultKey);
}

MiscSettings readMisc(const ProfileFile& file, const QString& startupDirectory) {
    MiscSettings misc;
    // A new installation shows four-digit years; a stored format is kept as it is.
    misc.dateFormat = defaultDateFormatType(QLocale::system());
    for (const IntKey& k : kMiscIntegers)
        misc.*k.member = readInt(file, kMisc, QLatin1String(k.key), misc.*k.member);
    misc.lastImportFile = file.read(kMisc, kLastImportFile, startupDirectory, kPathReadLimit);
    misc.lastExportFile = file.read(kMisc, kLastExportFile, startupDirectory, kPathReadLimit);
    misc.lastDatabase = file.read(kMisc, kLastDatabase, {}, kPathReadLimit);
    for (int i = 0; i < kRecentFileCount; ++i)
        misc.lastFiles[i] = file.read(kMisc, lastFileKey(i), {}, kPathReadLimit);
    misc.showTips = readYesNo(file, kMisc, kShowTips, misc.showTips);
    misc.dateLeadingZeros = readYesNo(file, kMisc, kLeadingZeros, misc.dateLeadingZeros);
    misc.placeStored = file.contains(kMisc, QStringLiteral("Main Window Left"));
    misc.windowSizeStored = file.contains(kMisc, QStringLiteral("Window Size"));
    return misc;
}

void writeMisc(ProfileFile& file, const MiscSettings& misc) {
    for (const IntKey& k : kMiscIntegers)
        writeInt(file, kMisc, QLatin1String(k.key), misc.*k.member);
    file.write(kMisc, kLastImportFile, misc.lastImportFile);
    file.write(kMisc, kLastExportFile, misc.lastExportFile);
    file.write(kMisc, kLastDatabase, misc.lastDatabase);
    for (int i = 0; i < kRecentFileCount; ++i) file.write(kMisc, lastFileKey(i), misc.lastFiles[i]);
    writeYesNo(file, kMisc, kShowTips, misc.showTips);
    writeYesNo(file, kMisc, kLeadingZeros, misc.dateLeadingZeros);
}

RecordDefaults readDefaults(const ProfileFile& file) {
    RecordDefaults d;
    d.loadWithAdd = readYesNo(file, kDefaults, kLoadWithAdd, d.loadWithAdd);
    d.loadWithClear = readYesNo(file, kDefaults, kLoadWithClear, d.loadWithClear);
    for (size_t i = 0; i < d.values.size(); ++i) {
        const QString value = file.read(kDefaults, defaultKey(i), {}, kDefaultValueReadLimit);
        d.values[i] = cutToChars(value, stampSchema()[i].defaultKeyLength);
    }
    d.wanted = readYesNo(file, kDefaults, defaultKey(kWantedField - 1), d.wanted);
    return d;
}

void writeDefaults(ProfileFile& file, const RecordDefaults& d) {
    writeYesNo(file, kDefaults, kLoadWithAdd, d.loadWithAdd);
    writeYesNo(file, kDefaults, kLoadWithClear, d.loadWithClear);
    for (size_t i = 0; i < d.values.size(); ++i) file.write(kDefaults, defaultKey(i), d.values[i]);
    writeYesNo(file, kDefaults, defaultKey(kWantedField - 1), d.wanted);
}

}  // namespace

GlobalSettings readGlobal(const ProfileFile& file, const QString& startupDirectory) {
    return {readMisc(file, startupDirectory), readDefaults(file)};
}

void writeGlobal(ProfileFile& file, const GlobalSettings& settings) {
    writeMisc(file, settings.misc);
    writeDefaults(file, settings.defaults);
}

GlobalSettings readGlobal(const QString& startupDirectory) {
    return readGlobal(ProfileFile(globalSettingsPath()), startupDirectory);
}

void writeGlobal(const GlobalSettings& settings) {
    QDir().mkpath(globalSettingsFolder());
    ProfileFile file(globalSettingsPath());
    writeGlobal(file, settings);
    file.save();
}

}  // namespace collection
