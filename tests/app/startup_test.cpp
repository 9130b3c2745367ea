// Start-up of the main window: first start, command line, screen size, invalid last collection.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFrame>

#include "app_test_env.h"
#include "collection/recent_files.h"
#include "collection/date_format.h"
#include "collection/profile_file.h"
#include "collection/settings_paths.h"
#include "engine/table.h"

namespace app::testing {
namespace {

using StartupTest = AppTest;

bool checked(TMain& w, const char* name) {
    return w.findChild<QAction*>(QString::fromLatin1(name))->isChecked();
}

TEST_F(StartupTest, FirstStartCreatesAndOpensMasterWithDefaults) {
    TMain& w = start();
    ASSERT_FALSE(w.startFailed()) << platform_.boxSummary().join('\n').toStdString();
    // The largest screen size that fits the scripted 1024 x 768 screen, centred on it.
    EXPECT_EQ(QRect(w.x(), w.y(), w.width(), w.height()), QRect(112, 84, 800, 600));
    EXPECT_EQ(w.buttonBar(), 1);
    EXPECT_TRUE(checked(w, "MenuSpeedButtons"));
    EXPECT_FALSE(w.findChild<QFrame*>(QStringLiteral("SpeedPanel"))->isHidden());
    EXPECT_EQ(w.windowSize(), 800);
    EXPECT_DOUBLE_EQ(w.scaleFactor(), 1.25);
    EXPECT_TRUE(checked(w, "Menu800"));
    // Four-digit years, in the order of the system's locale.
    const int dates = collection::defaultDateFormatType(QLocale::system());
    EXPECT_EQ(collection::currentDateFormat(), (collection::DateFormat{dates, false}));
    EXPECT_TRUE(checked(w, QStringLiteral("MenuDate%1").arg(dates).toLatin1().constData()));
    EXPECT_FALSE(checked(w, "MenuLeadingZeros"));
    EXPECT_TRUE(checked(w, "MenuCurrencyUS"));
    EXPECT_TRUE(checked(w, "MenuNumericUS"));
    EXPECT_TRUE(QFileInfo::exists(masterPath()));
    EXPECT_TRUE(w.MyTable.isOpen());
    EXPECT_EQ(QString::fromStdString(w.MyTable.path()), masterPath());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (MASTER)"));
    EXPECT_EQ(w.currentCollection(), masterPath());
    EXPECT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join('\n').toStdString();
}

TEST_F(StartupTest, StoredSettingsPlaceTheWindowAndChooseTheBar) {
    setGlobal("Misc", "Main Window Left", "30");
    setGlobal("Misc", "Main Window Top", "40");
    setGlobal("Misc", "Main Window Width", "700");
    setGlobal("Misc", "Main Window Height", "500");
    setGlobal("Misc", "Button Bar", "2");
    setGlobal("Misc", "Date Format", "4");
    setGlobal("Misc", "Date Leading Zeros", "yes");
    TMain& w = start();
    EXPECT_EQ(QRect(w.x(), w.y(), w.width(), w.height()), QRect(30, 40, 700, 500));
    EXPECT_TRUE(checked(w, "MenuLetteredButtons"));
    EXPECT_FALSE(checked(w, "MenuSpeedButtons"));
    EXPECT_TRUE(checked(w, "MenuDate4"));
    EXPECT_TRUE(checked(w, "MenuLeadingZeros"));
    EXPECT_EQ(collection::currentDateFormat().format(QDate(1997, 3, 7)),
              QStringLiteral("07/03/97"));
}

TEST_F(StartupTest, AWindowLeftOnAScreenThatIsGoneIsCentredAndAFirstStartFitsTheScreen) {
    setGlobal("Misc", "Main Window Left", "9000");
    setGlobal("Misc", "Main Window Top", "40");
    setGlobal("Misc", "Main Window Width", "700");
    setGlobal("Misc", "Main Window Height", "500");
    setGlobal("Misc", "Window Size", "640");
    TMain& w = start();
    EXPECT_EQ(QRect(w.x(), w.y(), w.width(), w.height()), QRect(162, 134, 700, 500));
    EXPECT_EQ(w.windowSize(), 640);  // a stored size stays
    main_.reset();

    QFile::remove(collection::globalSettingsPath());
    platform_.setScreenSize(QSize(1280, 1024));
    TMain& again = start();
    EXPECT_EQ(again.windowSize(), 1024);  // 1280 x 1024 would leave no room for the title bar
    EXPECT_EQ(QRect(again.x(), again.y(), again.width(), again.height()),
              QRect(128, 128, 1024, 768));
}

TEST_F(StartupTest, BrowseArgumentInAnyCaseAsFirstArgumentOnly) {
    struct Case {
        QStringList arguments;
        bool browse;
    };
    const Case cases[] = {
        {{QStringLiteral("/browse")}, true},
        {{QStringLiteral("/BrOwSe"), QStringLiteral("ignored")}, true},
        {{QStringLiteral("/BROWSE")}, true},
        {{}, false},
        {{QStringLiteral("/other")}, false},
        {{QStringLiteral("x"), QStringLiteral("/BROWSE")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        TMain& w = start(c.arguments);
        EXPECT_EQ(w.browseMode(), c.browse);
        for (const char* name :
             {"MenuAdd", "MenuCopy", "MenuDelete", "MenuBackup", "MenuRestore", "MenuViewer",
              "MenuImport", "MenuListMaintenance", "MenuSearchReplace"})
            EXPECT_EQ(w.findChild<QAction*>(QString::fromLatin1(name))->isEnabled(), !c.browse)
                << name;
        for (const char* name :
             {"AddSpeed", "CopySpeed", "ImportSpeed", "DeleteSpeed", "ViewerSpeed"})
            EXPECT_EQ(w.findChild<QWidget*>(QString::fromLatin1(name))->isEnabled(), !c.browse)
                << name;
        EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("MenuEdit"))->isEnabled());
        main_.reset();
    }
}

TEST_F(StartupTest, StoredScreenSizeBeyondTheScreenFallsBackAndLargerSizesAreRefused) {
    setGlobal("Misc", "Window Size", "1280");
    platform_.setScreenSize(QSize(1024, 768));
    TMain& w = start();
    EXPECT_EQ(w.windowSize(), 640);
    EXPECT_DOUBLE_EQ(w.scaleFactor(), 1.0);
    EXPECT_TRUE(checked(w, "Menu640"));

    trigger("Menu1280");
    ASSERT_EQ(platform_.boxes().size(), 1u);
    EXPECT_EQ(platform_.boxes()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(
        platform_.boxes()[0].text,
        QStringLiteral("Your current screen resolution does not support 1280 x 1024 pixels."));
    EXPECT_EQ(w.windowSize(), 640);
    EXPECT_TRUE(checked(w, "Menu640"));
    EXPECT_FALSE(checked(w, "Menu1280"));

    trigger("Menu1024");
    EXPECT_EQ(w.windowSize(), 1024);
    EXPECT_DOUBLE_EQ(w.scaleFactor(), 1.6);
    EXPECT_TRUE(checked(w, "Menu1024"));
    EXPECT_FALSE(checked(w, "Menu640"));
    EXPECT_EQ(platform_.boxes().size(), 1u);
}

TEST_F(StartupTest, StoredScreenSizeKeptOnALargeEnoughScreen) {
    setGlobal("Misc", "Window Size", "1280");
    platform_.setScreenSize(QSize(1280, 1024));
    TMain& w = start();
    EXPECT_EQ(w.windowSize(), 1280);
    EXPECT_DOUBLE_EQ(w.scaleFactor(), 2.0);
}

class InvalidLastCollectionTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        foreign_ = path(QStringLiteral("FOREIGN.DBF"));
        engine::Table::create(foreign_.toStdString(),
                              {{"NAME", engine::FieldType::Character, 10, 0}});
        setGlobal("Misc", "Last Database", foreign_);
    }
    QString foreign_;
};

const QString kNotCreatedWith = QStringLiteral(
    "Error: This DBase file was not created with Tessellon.  It cannot be opened.  You may, "
    "however, import data from this file using the import function.");
const QString kLastNotValid = QStringLiteral(
    "Error: The last database used as recorded in the INI file is not a valid Tessellon file.  "
    "You will need to choose a new file.");

TEST_F(InvalidLastCollectionTest, OpenDialogRepeatsUntilAValidCollectionIsChosen) {
    const QString good = path(QStringLiteral("GOOD.DBF"));
    makeCollection(good, {QStringLiteral("1"), QStringLiteral("2")});
    platform_.queueFilePath(path(QStringLiteral("notes.txt")));
    platform_.queueFilePath(foreign_);
    platform_.queueFilePath(good);
    TMain& w = start();
    ASSERT_FALSE(w.startFailed());
    EXPECT_EQ(platform_.boxSummary(),
              QStringList({kNotCreatedWith, kLastNotValid,
                           QStringLiteral("Error: Invalid file type selected."), kNotCreatedWith}));
    EXPECT_EQ(platform_.fileDialogs().size(), 3u);
    EXPECT_EQ(platform_.fileDialogs()[0].request.title, QStringLiteral("Open Database File"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (GOOD)"));
    EXPECT_EQ(w.MyTable.recordCount(), 2u);
    // Nothing is written beside the foreign file, and it does not enter the recent list.
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("FOREIGN.INI"))));
    EXPECT_TRUE(w.globalSettings().misc.lastFiles[0].isEmpty());
}

TEST_F(InvalidLastCollectionTest, CancellingTheOpenDialogEndsTheProgram) {
    TMain& w = start();
    EXPECT_TRUE(w.startFailed());
    EXPECT_EQ(platform_.boxSummary(), QStringList({kNotCreatedWith, kLastNotValid}));
    // Nothing of the failed start is written back.
    w.close();
    EXPECT_FALSE(collection::ProfileFile(collection::globalSettingsPath())
                     .contains(QStringLiteral("Misc"), QStringLiteral("Main Window Width")));
}

TEST_F(AppTest, UnreadableLastCollectionShowsTheEngineMessageThenAsksForAnother) {
    const QString broken = path(QStringLiteral("BROKEN.DBF"));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a table");
    }
    setGlobal("Misc", "Last Database", broken);
    platform_.queueFilePath(masterPath());
    makeCollection(masterPath());
    TMain& w = start();
    ASSERT_FALSE(w.startFailed());
    ASSERT_GE(platform_.boxes().size(), 2u);
    EXPECT_EQ(platform_.boxes()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(QStringLiteral("Error: ") + platform_.boxes()[1].text, kLastNotValid);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (MASTER)"));
}

TEST_F(StartupTest, CollectionNamedOnTheCommandLineOpensInsteadOfTheLast) {
    const QString other = path(QStringLiteral("OTHER.DBF"));
    makeCollection(other, {QStringLiteral("A1")});
    TMain& w = start({other});
    ASSERT_FALSE(w.startFailed());
    EXPECT_EQ(w.currentCollection(), other);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (OTHER)"));
    EXPECT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join('\n').toStdString();
    main_.reset();

    // With browse mode first, the collection is the second argument.
    TMain& browsing = start({QStringLiteral("/BROWSE"), other});
    EXPECT_TRUE(browsing.browseMode());
    EXPECT_EQ(browsing.currentCollection(), other);
}

// Opening a collection by name at start keeps the recent list as switching to it would: the
// collection used last comes first, the others follow, and the one opened leaves the list.
TEST_F(StartupTest, CollectionNamedAtStartKeepsTheRecentList) {
    const QString a = path(QStringLiteral("A.DBF")), b = path(QStringLiteral("B.DBF")),
                  c = path(QStringLiteral("C.DBF")), older = path(QStringLiteral("OLD.DBF"));
    for (const QString& table : {a, b, c}) makeCollection(table);
    setGlobal(QStringLiteral("Misc"), QStringLiteral("Last Database"), a);
    setGlobal(QStringLiteral("Misc"), QStringLiteral("Last File 1"), older);
    setGlobal(QStringLiteral("Misc"), QStringLiteral("Last File 2"), c);
    start({b}).close();
    EXPECT_EQ(main_->globalSettings().misc.lastFiles,
              (collection::RecentFiles{a, older, c, QString(), QString()}));
    main_.reset();
    TMain& again = start({c});
    EXPECT_EQ(again.globalSettings().misc.lastFiles,
              (collection::RecentFiles{b, a, older, QString(), QString()}));
    EXPECT_EQ(again.globalSettings().misc.lastDatabase, c);
}

TEST_F(StartupTest, InvalidCollectionOnTheCommandLineIsRefusedAndStartGoesOn) {
    const QString notes = path(QStringLiteral("notes.DBF"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("plain text, not a table\n");
    file.close();
    TMain& w = start({notes});
    ASSERT_FALSE(w.startFailed());
    ASSERT_EQ(platform_.boxes().size(), 1u) << platform_.boxSummary().join('\n').toStdString();
    EXPECT_EQ(platform_.boxes()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(w.currentCollection(), masterPath());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessellon (MASTER)"));
}

}  // namespace
}  // namespace app::testing
