#include "collection/collection_settings.h"

#include <QFileInfo>

#include "collection/field_positions.h"
#include "collection/profile_file.h"
#include "collection/setting_values.h"
#include "collection/settings_paths.h"
#include "collection/text_decoding.h"

namespace collection {

namespace {

const QString kFieldNames = QStringLiteral("Field Names");
const QString kDisplayFields = QStringLiteral("Display Fields");
const QString kFieldWidth = QStringLiteral("Field Width");
const QString kFieldOrder = QStringLiteral("Field Order");
const QString kExportFields = QStringLiteral("Export Fields");
const QString kExportOrder = QStringLiteral("Export Order");
const QString kExport = QStringLiteral("Export");
const QString kImport = QStringLiteral("Import");
const QString kFileType = QStringLiteral("File Type");
const QString kSortOrder = QStringLiteral("Sort Order");
const QString kGridTitle = QStringLiteral("Grid Title");
const QString kGridOptions = QStringLiteral("Grid Options");
const QString kReports = QStringLiteral("Reports");

const std::array<QString, 4> kSortKeys = {
    QStringLiteral("Primary Sort"), QStringLiteral("Secondary Sort"),
    QStringLiteral("Third Level Sort"), QStringLiteral("Fourth Level Sort")};

struct FlagKey {
    const char* section;
    const char* key;
    bool GridSettings::*member;
};
constexpr std::array<FlagKey, 5> kGridFlags = {{
    {"Grid Title", "Show Titles", &GridSettings::showTitles},
    {"Grid Options", "Column Lines", &GridSettings::columnLines},
    {"Grid Options", "Row Lines", &GridSettings::rowLines},
    {"Grid Options", "Row Indicator", &GridSettings::rowIndicator},
    {"Grid Options", "Field Editing", &GridSettings::fieldEditing},
}};

struct ReportKey {
    const char* key;
    int ReportSettings::*member;
};
constexpr std::array<ReportKey, 6> kReportIntegers = {{
    {"Last Report", &ReportSettings::lastReport},
    {"Printer Index", &ReportSettings::printerIndex},
    {"Report Viewing Window Left", &ReportSettings::viewLeft},
    {"Report Viewing Window Top", &ReportSettings::viewTop},
    {"Report Viewing Window Width", &ReportSettings::viewWidth},
    {"Report Viewing Window Height", &ReportSettings::viewHeight},
}};

// The shared fonts of which only name, bold and italic are stored.
struct StyleFont {
    const char* section;
    FontSettings CollectionSettings::*member;
};
constexpr std::array<StyleFont, 3> kStyleFonts = {{
    {"Edit Font", &CollectionSettings::editFont},
    {"Label Font", &CollectionSettings::labelFont},
    {"Button Font", &CollectionSettings::buttonFont},
}};

const QString kGridTitleFont = QStringLiteral("Grid Title Font");
const QString kGridFont = QStringLiteral("Grid Font");

QString fieldKey(int index) {
    return QString::fromUtf8(stampSchema()[index].name);
}

// Viewer positions are repaired to a permutation as they are read (field_positions.h); a stored
// position that is no number counts as invalid rather than as the field's default.
void readFields(const ProfileFile& file, CollectionSettings& s) {
    FieldPositions positions{};
    for (int i = 0; i < kFieldCount; ++i) {
        FieldSettings& f = s.fields[i];
        const QString key = fieldKey(i);
        f.label = cutToChars(file.read(kFieldNames, key, f.label, kNameReadLimit), kLabelLimit);
        f.display = readYesNo(file, kDisplayFields, key, f.display);
        f.width = readInt(file, kFieldWidth, key, f.width);
        positions[std::size_t(i)] =
            file.contains(kFieldOrder, key) ? readInt(file, kFieldOrder, key, 0) : f.order;
        f.exported = readYesNo(file, kExportFields, key, f.exported);
        f.exportOrder = readInt(file, kExportOrder, key, f.exportOrder);
    }
    positions = repairPositions(positions);
    for (int i = 0; i < kFieldCount; ++i) s.fields[i].order = positions[std::size_t(i)];
}

void writeFields(ProfileFile& file, const CollectionSettings& s) {
    for (int i = 0; i < kFieldCount; ++i) {
        const FieldSettings& f = s.fields[i];
        const QString key = fieldKey(i);
        file.write(kFieldNames, key, cutToChars(f.label, kLabelLimit));
        writeYesNo(file, kDisplayFields, key, f.display);
        writeInt(file, kFieldWidth, key, f.width);
        writeInt(file, kFieldOrder, key, f.order);
        writeYesNo(file, kExportFields, key, f.exported);
        writeInt(file, kExportOrder, key, f.exportOrder);
    }
}

void readGrid(const ProfileFile& file, GridSettings& g) {
    for (const FlagKey& k : kGridFlags)
        g.*k.member = readYesNo(file, QLatin1String(k.section), QLatin1String(k.key), g.*k.member);
    g.titleBackgroundColor =
        readInt(file, kGridTitle, QStringLiteral("Background Color"), g.titleBackgroundColor);
    g.titleAlignment = readInt(file, kGridTitle, QStringLiteral("Alignment"), g.titleAlignment);
    g.cellColor = readInt(file, kGridOptions, QStringLiteral("Cell Color"), g.cellColor);
    g.titleFont = readFont(file, kGridTitleFont, FontKeys::All, g.titleFont);
    g.font = readFont(file, kGridFont, FontKeys::All, g.font);
}

void writeGrid(ProfileFile& file, const GridSettings& g) {
    for (const FlagKey& k : kGridFlags)
        writeYesNo(file, QLatin1String(k.section), QLatin1String(k.key), g.*k.member);
    writeInt(file, kGridTitle, QStringLiteral("Background Color"), g.titleBackgroundColor);
    writeInt(file, kGridTitle, QStringLiteral("Alignment"), g.titleAlignment);
    writeInt(file, kGridOptions, QStringLiteral("Cell Color"), g.cellColor);
    writeFont(file, kGridTitleFont, FontKeys::All, g.titleFont);
    writeFont(file, kGridFont, FontKeys::All, g.font);
}

void readReports(const ProfileFile& file, ReportSettings& r) {
    for (const ReportKey& k : kReportIntegers)
        r.*k.member = readInt(file, kReports, QLatin1String(k.key), r.*k.member);
    r.defaultPrinter =
        readYesNo(file, kReports, QStringLiteral("Default Printer"), r.defaultPrinter);
}

void writeReports(ProfileFile& file, const ReportSettings& r) {
    for (const ReportKey& k : kReportIntegers)
        writeInt(file, kReports, QLatin1String(k.key), r.*k.member);
    writeYesNo(file, kReports, QStringLiteral("Default Printer"), r.defaultPrinter);
}

}  // namespace

CollectionSettings::CollectionSettings() {
    for (int i = 0; i < kFieldCount; ++i) {
        fields[i].label = QString::fromUtf8(stampSchema()[i].label);
        fields[i].order = i + 1;
        fields[i].exportOrder = i + 1;
    }
}

CollectionSettings readCollection(const ProfileFile& file) {
    CollectionSettings s;
    readFields(file, s);
    s.exportOptions.firstRow = readYesNo(file, kExport, QStringLiteral("First Row"), true);
    s.exportOptions.fileType = readInt(file, kExport, kFileType, 1);
    s.importOptions.firstRow = readYesNo(file, kImport, QStringLiteral("Skip First"), true);
    s.importOptions.fileType = readInt(file, kImport, kFileType, 1);
    for (size_t i = 0; i < kSortKeys.size(); ++i)
        s.sortLevels[i] = readInt(file, kSortOrder, kSortKeys[i], s.sortLevels[i]);
    for (int g = 0; g < kWindowGroupCount; ++g)
        s.colors[g] = readColorSet(file, static_cast<WindowGroup>(g));
    readGrid(file, s.grid);
    for (const StyleFont& f : kStyleFonts)
        s.*f.member = readFont(file, QLatin1String(f.section), FontKeys::NameAndStyle, s.*f.member);
    readReports(file, s.reports);
    return s;
}

void writeCollection(ProfileFile& file, const CollectionSettings& s) {
    writeFields(file, s);
    writeYesNo(file, kExport, QStringLiteral("First Row"), s.exportOptions.firstRow);
    writeInt(file, kExport, kFileType, s.exportOptions.fileType);
    writeYesNo(file, kImport, QStringLiteral("Skip First"), s.importOptions.firstRow);
    writeInt(file, kImport, kFileType, s.importOptions.fileType);
    for (size_t i = 0; i < kSortKeys.size(); ++i)
        writeInt(file, kSortOrder, kSortKeys[i], s.sortLevels[i]);
    for (int g = 0; g < kWindowGroupCount; ++g)
        writeColorSet(file, static_cast<WindowGroup>(g), s.colors[g]);
    writeGrid(file, s.grid);
    for (const StyleFont& f : kStyleFonts)
        writeFont(file, QLatin1String(f.section), FontKeys::NameAndStyle, s.*f.member);
    writeReports(file, s.reports);
}

CollectionSettings readCollection(const QString& settingsPath) {
    const bool own = QFileInfo(settingsPath).isFile();
    return readCollection(ProfileFile(own ? settingsPath : globalSettingsPath()));
}

void writeCollection(const QString& settingsPath, const CollectionSettings& settings) {
    ProfileFile file(settingsPath);
    writeCollection(file, settings);
    file.save();
}

}  // namespace collection
