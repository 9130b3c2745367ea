// Start-up of the main window: settings, the collection to open, the screen size, browse mode,
// and what happens when the window is first shown and activated.
#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QShowEvent>
#include <QTimer>

#include "app/main_window.h"
#include "app/tip_of_day.h"
#include "collection/collection_file.h"
#include "collection/date_format.h"
#include "collection/recent_files.h"
#include "collection/regional_settings.h"
#include "collection/settings_paths.h"
#include "collection/sort_order.h"
#include "engine/error.h"
#include "engine/table_probe.h"
#include "reports/report_file.h"
#include "ui/messages.h"
#include "ui/platform.h"
#include "ui/screen_scale.h"

namespace app {

namespace {

const QString kMasterFileName = QStringLiteral("MASTER.DBF");
const QString kChooseAnother = QStringLiteral("  You will need to choose a new file.");
const QString kLastNotValid =
    QStringLiteral(
        "The last database used as recorded in the INI file is not a valid Tessellon file.") +
    kChooseAnother;

}  // namespace

void TMain::FormCreate(const QStringList& arguments) {
    DisableEndSearch();
    setWindowTitle(QStringLiteral("Tessellon"));
    programDir_ = collection::programDirectory();
    startupDir_ = QDir::currentPath();
    fonts_ = ui::SharedFonts::defaults();
    reports::ensureReportFile(programDir_);

    global_ = collection::readGlobal(startupDir_);
    BuildSortString();
    applyDateFormatMenus();

    // "/BROWSE" (or --browse) as the first argument asks for browse mode; the next argument,
    // when there is one, names the collection to open instead of the last one.
    QStringList rest = arguments;
    browseArgument_ = !rest.isEmpty() && (rest.first().toUpper() == QLatin1String("/BROWSE") ||
                                          rest.first().toLower() == QLatin1String("--browse"));
    if (browseArgument_) rest.removeFirst();
    if (!rest.isEmpty() && !rest.first().isEmpty() && !rest.first().startsWith(u'-'))
        startFile_ = QFileInfo(rest.first()).absoluteFilePath();

    if (!chooseStartCollection()) {
        startFailed_ = true;
        return;
    }
    SetButtonBar();
    chooseScreenSize();
    placeMainWindow();
    collection::setCurrentRegionalSettings(collection::readRegionalSettings());
    SetMenuLastFiles();
    CheckForConversion();
    if (browseArgument_) EnterBrowseMode();
}

// The last collection; when that file is gone, MASTER.DBF in the program directory, created
// when missing. A collection that fails validation sends the user to the Open dialog.
bool TMain::chooseStartCollection() {
    if (!startFile_.isEmpty() && openCommandLineCollection(startFile_)) return true;
    QString path = global_.misc.lastDatabase;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        path = programDir_ + QLatin1Char('/') + kMasterFileName;
        if (!QFileInfo(path).isFile()) {
            bool made = false;
            try {
                made =
                    collection::MakeNewDB(path, [this](const QString& title, const QString& text) {
                        ui::showTitled(this, title, text);
                    });
            } catch (const engine::EngineError& e) {
                // Without a collection the program cannot run; say why before it ends.
                ui::showError(this, QString::fromUtf8(e.what()));
            }
            if (!made) return false;
        }
    }
    // Each refusal is told once, for what it is: a file that is no collection (or no readable
    // table) is not a valid file; one another program holds, or one that cannot be written, is
    // valid but cannot be had now.
    try {
        if (validateCollection(path)) {
            if (refuseReadOnly(path)) return runStartupOpenLoop();
            return openStartCollection(path);
        }
    } catch (const engine::TableInUseError& e) {
        ui::showError(this, QString::fromUtf8(e.what()) + kChooseAnother);
        return runStartupOpenLoop();
    } catch (const engine::EngineError& e) {
        ui::showError(this, QString::fromUtf8(e.what()));
    }
    ui::showError(this, kLastNotValid);
    return runStartupOpenLoop();
}

// The collection named on the command line, validated as an opened file is; when it is refused
// (its message already shown) start-up goes on as without it. Once it is open, the collection
// used last enters the recent list as a switch from it would put it there.
bool TMain::openCommandLineCollection(const QString& path) {
    const QString previous = global_.misc.lastDatabase;
    try {
        if (!acceptCollection(path) || !openStartCollection(path)) return false;
    } catch (const engine::EngineError& e) {
        ui::showError(this, QString::fromUtf8(e.what()));
        return false;
    }
    if (!previous.isEmpty() && previous != currentCollection())
        collection::DoLastFiles(global_.misc.lastFiles, previous, currentCollection());
    return true;
}

// At start an existing index is trusted: its sort tag is selected, and added only when missing.
bool TMain::openStartCollection(const QString& path) {
    MyTable.close();
    setCollectionPaths(path);
    readCollectionSettings(collectionSettingsPath());
    BuildSortString();
    OpenMyTable();
    if (!sortExpression_.isEmpty() && MyTable.selectedIndex().empty() &&
        !collection::collectionReadOnly(path)) {
        collection::buildSortTag(MyTable, sortExpression_);
        refreshViewer();
    }
    collectionOpen_ = true;
    return true;
}

// The Open dialog until a valid collection is current. Cancelling ends the program: without a
// collection there is nothing to work on, and the user must be able to leave.
bool TMain::runStartupOpenLoop() {
    for (;;) {
        try {
            switch (openByDialog()) {
                case OpenResult::Opened:
                    return true;
                case OpenResult::Cancelled:
                    return false;
                case OpenResult::Refused:
                    break;
            }
        } catch (const engine::EngineError& e) {
            ui::showError(this, QString::fromUtf8(e.what()));
        }
    }
}

void TMain::chooseScreenSize() {
    const QSize screen = ui::platform().screenSize();
    screenWidth_ = screen.width();
    screenHeight_ = screen.height();
    // A first start takes the largest size that fits instead of the smallest.
    if (!global_.misc.windowSizeStored)
        global_.misc.windowSize = ui::largestFittingWindowSize(screen);
    const ui::ScreenChoice choice = ui::chooseScreenSize(global_.misc.windowSize, screen);
    global_.misc.windowSize = choice.windowSize;
    scaleFactor_ = choice.factor;
    checkScreenSizeMenu();
}

void TMain::EnterBrowseMode() {
    browseMode_ = true;
    for (const char* name :
         {"MenuAdd", "MenuCopy", "MenuDelete", "MenuBackup", "MenuRestore", "MenuViewer",
          "MenuImport", "MenuListMaintenance", "MenuSearchReplace"})
        action(QString::fromLatin1(name))->setEnabled(false);
    for (const char* name : {"AddSpeed", "CopySpeed", "ImportSpeed", "DeleteSpeed", "ViewerSpeed",
                             "AddButton", "CopyButton", "DeleteButton", "ViewerButton"})
        findChild<QWidget*>(QString::fromLatin1(name))->setEnabled(false);
    storedFieldEditing_ = settings_.grid.fieldEditing;
    settings_.grid.fieldEditing = false;
    showNavigatorButtons();
}

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        shownOnce_ = true;
        runCommand([this] { DoFileSpecific(); });
    }
}

void TMain::DoFileSpecific() {
    ui::applySharedFonts(this, fonts_);
    SetViewerOptions();
    SetColors();
    adoptCollectionPictures();
    DisplayCount();
}

void TMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// The tip window comes up once, after the window is first activated, outside the event that
// activated it.
void TMain::FormActivate() {
    if (activatedOnce_) return;
    activatedOnce_ = true;
    if (global_.misc.showTips)
        QTimer::singleShot(0, this, [this] { runCommand([this] { DoTips(); }); });
}

void TMain::DoTips() {
    TTipOfDay tips(global_.misc.showTips, scaleFactor_, this);
    ui::platform().execModal(tips);
    global_.misc.showTips = tips.showTipsChecked();
}

}  // namespace app
