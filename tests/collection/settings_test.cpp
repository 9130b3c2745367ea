#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "collection/collection_settings.h"
#include "collection/date_format.h"
#include "collection/global_settings.h"
#include "collection/profile_file.h"
#include "collection/setting_values.h"
#include "collection/settings_paths.h"

namespace collection {
namespace {

// Each test gets its own empty configuration folder and a collection folder.
class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toUtf8());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", saved_); }

    QString collectionIni() const { return dir_.filePath(QStringLiteral("STAMPS.INI")); }
    static void putFile(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir_;
    QByteArray saved_;
};

TEST_F(SettingsTest, GlobalFileLivesInTheConfigFolder) {
    EXPECT_EQ(globalSettingsPath(), dir_.filePath(QStringLiteral("config/tessellon/TESSELON.INI")));
}

TEST_F(SettingsTest, NewInstallationReadsAllDefaults) {
    const GlobalSettings g = readGlobal(QStringLiteral("/home/user/start"));
    const MiscSettings& m = g.misc;
    struct Row {
        const char* name;
        int actual, expected;
    };
    const Row rows[] = {
        {"Button Bar", m.buttonBar, 1},
        {"Main Window Left", m.mainWindowLeft, 0},
        {"Main Window Width", m.mainWindowWidth, 640},
        {"Main Window Height", m.mainWindowHeight, 480},
        {"Window Size", m.windowSize, 640},
        {"Date Format", m.dateFormat, defaultDateFormatType(QLocale::system())},
        {"Date Leading Zeros", m.dateLeadingZeros, 0},
        {"Currency Format", m.currencyFormat, 1},
        {"Numeric Format", m.numericFormat, 1},
        {"Show Tips", m.showTips, 1},
        {"Load Defaults With Add", g.defaults.loadWithAdd, 0},
        {"Wanted", g.defaults.wanted, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(r.actual, r.expected) << r.name;
    EXPECT_EQ(m.lastImportFile, QStringLiteral("/home/user/start"));
    EXPECT_EQ(m.lastExportFile, QStringLiteral("/home/user/start"));
    EXPECT_TRUE(m.lastDatabase.isEmpty());
    EXPECT_TRUE(m.lastFiles[4].isEmpty());
    EXPECT_TRUE(g.defaults.values[1].isEmpty());

    const CollectionSettings c = readCollection(collectionIni());
    EXPECT_EQ(c, CollectionSettings{});
    EXPECT_EQ(c.field(4).label, QStringLiteral("Face"));
    EXPECT_EQ(c.field(25).order, 25);
    EXPECT_EQ(c.field(7).width, 15);
    EXPECT_TRUE(c.field(2).display);
    EXPECT_EQ(c.sortLevels, (std::array<int, 4>{3, 0, 0, 0}));
    EXPECT_EQ(c.colorSet(WindowGroup::Search)[ColorRole::MainBackground], 12632256);
    EXPECT_EQ(c.colorSet(WindowGroup::Configure)[ColorRole::ListBoxBackground], 16777215);
    EXPECT_EQ(c.colorSet(WindowGroup::Edit)[ColorRole::CheckText], 0);
    EXPECT_EQ(c.grid.titleBackgroundColor, 8553090);
    EXPECT_EQ(c.grid.titleFont.size, 12);
    EXPECT_EQ(c.grid.font.size, 10);
    EXPECT_EQ(c.grid.font.name, QStringLiteral("Arial"));
    EXPECT_FALSE(c.grid.fieldEditing);
    EXPECT_TRUE(c.reports.defaultPrinter);
    EXPECT_EQ(c.reports.viewHeight, 480);
    EXPECT_FALSE(QFile::exists(globalSettingsPath()));  // reading creates nothing
}

TEST_F(SettingsTest, GlobalRoundTripCreatesTheFolder) {
    GlobalSettings g;
    g.misc.buttonBar = 2;
    g.misc.lastDatabase = QStringLiteral("/data/My Stamps/STAMPS.DBF");
    g.misc.lastFiles[2] = QStringLiteral("/data/OLD.DBF");
    g.misc.showTips = false;
    g.misc.dateFormat = 10;
    g.misc.dateLeadingZeros = true;
    g.misc.lastImportFile = QStringLiteral("/in.txt");
    g.defaults.values[2] = QStringLiteral("Canada");
    g.defaults.wanted = true;
    writeGlobal(g);
    ASSERT_TRUE(QFile::exists(globalSettingsPath()));
    g.misc.placeStored = g.misc.windowSizeStored = true;  // the file holds them now
    EXPECT_EQ(readGlobal(QStringLiteral("/elsewhere")), g);
    EXPECT_EQ(
        ProfileFile(globalSettingsPath()).read(QStringLiteral("Misc"), QStringLiteral("Show Tips")),
        QStringLiteral("No"));
}

TEST_F(SettingsTest, CollectionRoundTripThroughItsOwnFile) {
    CollectionSettings c;
    c.field(3).label = QStringLiteral("Land");
    c.field(8).display = false;
    c.field(2).width = 40;
    c.field(1).order = 5;
    c.field(5).order = 1;
    c.field(5).exported = false;
    c.importOptions = {false, 2};
    c.sortLevels = {7, 3, 0, 0};
    c.colorSet(WindowGroup::Report)[ColorRole::MajorTitle] = 255;
    c.grid.titleFont = {255, QStringLiteral("Courier New"), 14, true, false, true, true};
    c.grid.fieldEditing = true;
    c.labelFont.name = QStringLiteral("DejaVu Sans");
    c.labelFont.italic = true;
    c.reports.lastReport = 3;
    writeCollection(collectionIni(), c);
    EXPECT_EQ(readCollection(collectionIni()), c);
    EXPECT_FALSE(QFile::exists(globalSettingsPath()));
}

TEST_F(SettingsTest, CollectionWithoutItsOwnFileReadsTheGlobalFile) {
    putFile(globalSettingsPath(), "[Field Names]\nCountry=Land\n[Sort Order]\nPrimary Sort=7\n");
    const CollectionSettings fallback = readCollection(collectionIni());
    EXPECT_EQ(fallback.field(3).label, QStringLiteral("Land"));
    EXPECT_EQ(fallback.sortLevels[0], 7);
    EXPECT_EQ(fallback.field(1).label, QStringLiteral("Alpha Catalog"));

    putFile(collectionIni(), "[Grid Options]\nField Editing=Yes\n");
    const CollectionSettings own = readCollection(collectionIni());
    EXPECT_EQ(own.field(3).label, QStringLiteral("Country"));
    EXPECT_EQ(own.sortLevels[0], 3);
    EXPECT_TRUE(own.grid.fieldEditing);
}

TEST_F(SettingsTest, YesNoAndIntegerValues) {
    struct Row {
        const char* stored;
        bool yes;
        int number;
    };
    const Row rows[] = {
        {"yes", true, -1},          {"YES", true, -1},   {"Yes", true, -1}, {" Yes ", true, -1},
        {"Y", false, -1},           {"1", false, 1},     {"No", false, -1}, {"", false, -1},
        {"yess", false, -1},        {" 42 ", false, 42}, {"-7", false, -7}, {"12abc", false, -1},
        {"99999999999", false, -1},
    };
    for (const Row& r : rows) {
        putFile(collectionIni(), QByteArray("[S]\nk=") + r.stored + "\n");
        const ProfileFile file(collectionIni());
        EXPECT_EQ(readYesNo(file, QStringLiteral("S"), QStringLiteral("k"), true), r.yes)
            << r.stored;
        EXPECT_EQ(readInt(file, QStringLiteral("S"), QStringLiteral("k"), -1), r.number)
            << r.stored;
    }
}

TEST_F(SettingsTest, LongStoredValuesAreCut) {
    const QByteArray longText(300, 'x');
    putFile(globalSettingsPath(),
            "[Misc]\nLast Database=" + longText + "\nDate Format=000000000000000042\n" +
                "[Defaults]\nCountry=" + longText + "\nDescription=" + longText + "\n" +
                "[Field Names]\nCountry=" + longText + "\n[Grid Font]\nFont Name=" + longText +
                "\n[Label Font]\nUnderline=Yes\nBold=Yes\n");
    const GlobalSettings g = readGlobal(QString());
    EXPECT_EQ(g.misc.lastDatabase.size(), 249);
    EXPECT_EQ(g.misc.dateFormat, 0);  // only the first 14 characters, all zeros, count
    EXPECT_EQ(g.defaults.values[2].size(), 20);
    EXPECT_EQ(g.defaults.values[1].size(), 109);
    const CollectionSettings c = readCollection(collectionIni());
    EXPECT_EQ(c.field(3).label.size(), 20);
    EXPECT_EQ(c.grid.font.name.size(), 149);
    EXPECT_TRUE(c.labelFont.bold);
    EXPECT_FALSE(c.labelFont.underline);  // not stored for the label font
}

// Field Order positions that are no permutation of 1..25 are repaired as they are read: every
// field gets exactly one position; fields with a position within 1..25 keep their relative order
// (a shared position goes to the lower field number first), the others follow in field order.
TEST_F(SettingsTest, FieldOrderIsRepairedToAPermutationOnReading) {
    auto allFieldsAfter = [](std::vector<int> head, std::vector<int> tail) {
        std::vector<int> order = head;
        for (int n = 1; n <= kFieldCount; ++n)
            if (std::find(head.begin(), head.end(), n) == head.end() &&
                std::find(tail.begin(), tail.end(), n) == tail.end())
                order.push_back(n);
        order.insert(order.end(), tail.begin(), tail.end());
        return order;
    };
    const struct {
        const char* name;
        const char* stored;      // lines of [Field Order]
        std::vector<int> shown;  // field numbers by position 1..25
    } cases[] = {
        {"permutation kept", "Catalog=25\nWanted=1\n", allFieldsAfter({25}, {1})},
        {"two fields on one position", "Catalog=3\nDescriptio=1\nCountry=1\n",
         allFieldsAfter({2, 3, 1}, {})},
        {"out of range", "Catalog=0\nDescriptio=26\nCountry=-4\n", allFieldsAfter({}, {1, 2, 3})},
        {"not a number", "Country=abc\nYear=\n", allFieldsAfter({}, {3, 7})},
        {"three more fields on one position", "Catalog=9\nFaceValue=9\nWanted=9\n",
         allFieldsAfter({2, 3, 5, 6, 7, 8, 1, 4, 9, 25}, {})},
    };
    for (const auto& c : cases) {
        putFile(collectionIni(), QByteArray("[Field Order]\n") + c.stored);
        const CollectionSettings read = readCollection(collectionIni());
        std::vector<int> shown(kFieldCount, 0);
        for (int n = 1; n <= kFieldCount; ++n) {
            const int position = read.field(n).order;
            ASSERT_TRUE(position >= 1 && position <= kFieldCount) << c.name;
            EXPECT_EQ(shown[std::size_t(position - 1)], 0) << c.name << ": position taken twice";
            shown[std::size_t(position - 1)] = n;
        }
        EXPECT_EQ(shown, c.shown) << c.name;
    }
}

TEST_F(SettingsTest, ProgramDirectoryFollowsTheEnvironment) {
    const QByteArray saved = qgetenv("TESSELLON_PROGRAM_DIR");
    qputenv("TESSELLON_PROGRAM_DIR", dir_.filePath(QStringLiteral("prog/")).toUtf8());
    EXPECT_EQ(programDirectory(), dir_.filePath(QStringLiteral("prog")));
    qunsetenv("TESSELLON_PROGRAM_DIR");
    EXPECT_FALSE(programDirectory().isEmpty());
    EXPECT_FALSE(programDirectory().endsWith(u'/'));
    qputenv("TESSELLON_PROGRAM_DIR", saved);
}

}  // namespace
}  // namespace collection
