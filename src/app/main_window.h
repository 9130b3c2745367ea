// The main window: the current collection in the viewer grid, the menus and button bars, and the
// dispatch of every command.
//
// Ownership: TMain owns the one open stamp table `MyTable` (the current collection), the viewer
// grid and navigator bound to it, the five shared fonts and both settings groups while the
// program runs. Other windows work on the table through `MyTable` and call back the public
// operations below (`DisplayCount`, `SetViewerOptions`, `DoEndSearch`, `EnableEndSearch`, ...).
//
// The record editor `TMyEdit` is created once, right after the start-up has made a collection
// current (it loads that collection's nine pick lists), and lives as long as the window; Add,
// Edit and Copy show it modally. It owns the pick lists, mirrored into the grid's nine list
// boxes; every switch of collection saves them for the collection left and loads them for the
// new one.
//
// Life cycle: constructing runs the start-up (`FormCreate`): settings are read, the last
// collection (or MASTER.DBF in the program directory, created when missing) is validated and
// opened. When no collection can be had the window reports `startFailed()` and the program ends
// without writing any settings (and no record editor is made). Closing the window writes the
// global settings, those of the current collection and its pick lists.
//
// Failures: every command runs through one dispatch wrapper that shows a table-engine failure
// with the engine's message titled "Error" and stops only that command.
#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "collection/collection_paths.h"
#include "collection/collection_settings.h"
#include "collection/global_settings.h"
#include "editing/undo_history.h"
#include "pictures/fingerprint_follower.h"
#include "engine/table.h"
#include "ui/grid_cell_text.h"
#include "ui/platform.h"
#include "ui/shared_fonts.h"
#include "ui/window_base.h"

class QAbstractButton;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace editing {
class TMyEdit;
class TMyLocateDialog;
class TMySearch;
}  // namespace editing
namespace interchange {
struct InterchangeContext;
}
namespace statistics {
class StatusTotalsBar;
}
namespace picture_windows {
class PicturePane;
class PictureStrip;
class PictureWindow;
class ThumbnailColumn;
}  // namespace picture_windows
namespace ui {
class DataGrid;
class ListComboSource;
class RecordNavigator;
class StampTableModel;
}  // namespace ui

namespace app {

class TMain : public QMainWindow {
    Q_OBJECT
    friend class MainSafekeepingHost;
  public:
    // `arguments` are the command-line arguments after the program name.
    explicit TMain(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TMain() override;

    // True when start-up could not make any collection current; the program then ends.
    bool startFailed() const { return startFailed_; }

    // --- the current collection ---------------------------------------------------------
    engine::Table MyTable;
    const QString& currentCollection() const { return global_.misc.lastDatabase; }
    // Full path without extension; the index file, settings file and data lists hang off it.
    const QString& collectionBasePath() const { return basePath_; }
    QString indexPath() const;
    QString collectionSettingsPath() const;
    const QString& programDirectory() const { return programDir_; }
    const QString& startupDirectory() const { return startupDir_; }

    collection::GlobalSettings& globalSettings() { return global_; }
    collection::CollectionSettings& collectionSettings() { return settings_; }
    const ui::SharedFonts& sharedFonts() const { return fonts_; }
    const QString& sortExpression() const { return sortExpression_; }
    // What a secondary window of `group` is shown with: the shared fonts, the screen scale
    // factor and the group's colour set (configuration and editing windows also move up).
    ui::ShowOptions showOptions(collection::WindowGroup group) const;
    // The record editor; nullptr only when the start-up failed.
    editing::TMyEdit* recordEditor() const { return MyEdit.get(); }
    // The search window and the locate component; nullptr only when the start-up failed.
    editing::TMySearch* searchWindow() const { return MySearch.get(); }
    editing::TMyLocateDialog* locateDialog() const { return MyLocateDialog; }

    // --- state that other windows read ---------------------------------------------------
    bool searchActive() const { return searchActive_; }
    bool browseMode() const { return browseMode_; }
    int editorMode() const { return editorMode_; }  // 1 add, 2 edit, 3 copy
    int buttonBar() const { return global_.misc.buttonBar; }
    int windowSize() const { return global_.misc.windowSize; }
    double scaleFactor() const { return scaleFactor_; }
    QSize screenSize() const { return QSize(screenWidth_, screenHeight_); }

    // The search window installs the test a record must pass while a search is active.
    void setSearchCriteria(std::function<bool(const engine::RecordView&)> criteria);

    // --- operations other windows call back -----------------------------------------------
    void DisplayCount();
    // The status bar's totals are computed again (off the interface thread).
    void refreshStatusTotals();
    void SetViewerOptions();
    void SetColors();
    void EnableEndSearch();
    void DisableEndSearch();
    void DoEndSearch();
    void BuildSortString();
    bool MyTableFilter(const engine::RecordView& record) const;
    // The label the viewer grid last showed for field 1..25 (its dBase name until it is shown).
    QString displayLabel(int field) const;
    void applyRecordFilter();
    // Opens `MyTable` shared on the current collection with the sort tag selected.
    void OpenMyTable();

    // --- commands ---------------------------------------------------------------------------
    void DoNew();
    void DoOpen();
    void OpenSaveFile(const QString& path);
    void DoUpdateDatabase();
    void DoBackup();
    void DoRestore();
    void DoExit();
    void DoAdd();
    void DoEdit();
    void DoCopy();
    void DoDelete();
    void DoImport();
    void DoExport();
    void DoSearch();
    void DoFind();
    void DoFindNext();
    void DoReports();
    void DoViewer();
    void DoSortOrder();
    void DoColor(int group);  // 1 main ... 5 configure, 6 all
    void DoFont(int which);   // 0 label, 1 edit, 2 button
    void DoSearchReplace();
    // Tools "&Rebuild Indexes" and "&Pack Database": asked first, then run on the table held
    // exclusively; a refusal is told after the table is open and shown again.
    void MenuRebuildClick();
    void MenuPackClick();
    // View "&Picture Pane": shows or hides the pane of the current stamp's pictures beside the
    // grid, remembered in the collection's settings.
    void TogglePicturePane();
    bool picturePaneShown() const;
    // View "&Thumbnail Column": shows or hides each stamp's main picture in the grid's first
    // column, remembered in the collection's settings (hidden unless asked for).
    void ToggleThumbnailColumn();
    bool thumbnailColumnShown() const;
    picture_windows::PicturePane* picturePane() const { return picturePane_; }
    picture_windows::PictureStrip* pictureStrip() const { return pictureStrip_; }
    picture_windows::PictureWindow* pictureWindow() const { return pictureWindow_; }
    void DoHelp();
    void DoTips();
    // View "Collection &Statistics": the statistics window on the records in view.
    void DoStatistics();
    // Edit "&Undo" (Ctrl+Shift+Z): takes back the newest change of this session, or says why
    // it cannot. Edit "&Recall Deleted Stamps...": the Recall window.
    void DoUndo();
    void DoRecall();
    // A click on a column title: the column's field becomes the first sort level, as the Sort
    // Order window would make it, the other levels following; the title shows the leading field.
    void SortByColumnTitle(int column);
    void markSortColumn();
    editing::UndoHistory& undoHistory() { return undo_; }

    // "List &Maintenance": the list-wide replacements and the list editor on list 1..11.
    void MenuSaveDefaultsClick();
    void MenuLoadDefaultsClick();
    void MaintainList(int list);

    void SetScreenSize(int windowSize);
    void SetScreenAccess(int mode);
    void SetDateFormat(int type);
    void ToggleLeadingZeros();
    void SetCurrencyFormat(int format);
    void SetNumericFormat(int format);

    void SetButtonBar();
    void FormResize();
    void DoFileSpecific();
    void FormActivate();
    void SetMenuLastFiles();
    // Updates the recent list after leaving `previous` for `current`.
    void DoLastFiles(const QString& previous, const QString& current);

    // Runs `command`; a table-engine failure is shown titled "Error" and ends only the command.
    void runCommand(const std::function<void()>& command);

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Construction of the components, by area.
    void buildViewer();
    void buildMenus();
    void buildFileMenu();
    void buildRecordsMenu();
    void buildEditMenu();
    // The Undo item names the step it would take back.
    void refreshUndoItem();
    void buildNavigateMenu();
    void buildOptionsMenu();
    void buildDateFormatMenu(QMenu* options);
    struct ValueItem {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        int value;
    };
    // Menu items that each call `operation` with their value.
    void addValueCommands(QMenu* menu, std::initializer_list<ValueItem> items,
                          void (TMain::*operation)(int), bool checkable);
    void buildToolsAndHelpMenus();
    // The View menu's statistics item and the status bar's totals (main_statistics.cpp).
    void buildStatistics();
    // The stamps' pictures (main_pictures.cpp).
    void buildPictures();
    void buildViewMenu();
    void adoptCollectionPictures();
    void setPicturePaneShown(bool shown);
    void setThumbnailColumnShown(bool shown);
    void showCurrentPictures();
    void addPictureStrip();
    // Keeps picture links' fingerprints with records changed here (grid, replace, undo).
    void followPictureLinks(const engine::RecordChange& change);
    void buildSpeedPanel();
    void buildLetteredButtons();
    QAction* addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                        const QKeySequence& shortcut, void (TMain::*operation)());
    void connectButton(QAbstractButton* button, void (TMain::*operation)());

    // Start-up, in order.
    void FormCreate(const QStringList& arguments);
    bool chooseStartCollection();
    bool openCommandLineCollection(const QString& path);
    bool openStartCollection(const QString& path);
    bool runStartupOpenLoop();
    void chooseScreenSize();
    // Where it was last closed, at that size, when that place is still on a screen; otherwise
    // (and at first start, at the chosen screen size) centred on the screen.
    void placeMainWindow();
    void checkScreenSizeMenu();
    void EnterBrowseMode();
    void CheckForConversion();
    void showNavigatorButtons();

    // Switching collections.
    enum class OpenResult { Opened, Refused, Cancelled };
    OpenResult openByDialog();
    ui::FileDialogRequest databaseDialog(const QString& title, int flags);
    bool validateCollection(const QString& path);
    // True (and told) when `path` cannot be written and so cannot become current.
    bool refuseReadOnly(const QString& path);
    // A collection of this program that can be worked on here; each refusal has been told.
    bool acceptCollection(const QString& path);
    void setCollectionPaths(const QString& path);
    // The collection named in the settings and the window caption.
    void showCollectionName(const collection::CollectionPaths& paths);
    // "NewIndex" while there is a sort expression, otherwise record order.
    std::string sortTagToSelect() const;
    void switchTo(const QString& path, bool newCollection);
    // The pick lists of the collection now current: its own, or the defaults for a new one.
    void loadCollectionLists(bool newCollection);
    void readCollectionSettings(const QString& settingsPath);
    void adoptCollectionSettings(collection::CollectionSettings settings);
    collection::CollectionSettings settingsToWrite() const;
    void writeCollectionSettings();

    void FormClose();
    void createRecordEditor();
    // The search window and the locate component (main_search.cpp).
    void createSearchWindows();
    interchange::InterchangeContext interchangeContext();
    // Shows the record editor in `mode` (1 add, 2 edit, 3 copy), then refreshes grid and count.
    void showRecordEditor(int mode);
    ui::GridFormatters displayFormatters();
    void applySettingsFonts();
    void applyDateFormatMenus();
    void checkFormatMenus();
    void refreshViewer();
    QAction* action(const QString& objectName) const;

    // Settings and paths.
    collection::GlobalSettings global_;
    collection::CollectionSettings settings_;
    bool storedFieldEditing_ = false;  // browse mode holds Field Editing off for the run
    QString programDir_;
    QString startupDir_;
    QString basePath_;
    QString sortExpression_;
    ui::SharedFonts fonts_;

    // State.
    bool startFailed_ = false;
    QString startFile_;  // collection named on the command line, absolute; empty when none
    bool collectionOpen_ = false;  // a collection has been made current
    bool searchActive_ = false;
    bool shownOnce_ = false;  // the grid reads rows only once the window has been shown
    bool browseMode_ = false;
    bool browseArgument_ = false;  // "/BROWSE" given: known before the browse mode is entered
    bool activatedOnce_ = false;
    bool closed_ = false;
    int editorMode_ = 1;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    double scaleFactor_ = 1.0;
    std::function<bool(const engine::RecordView&)> searchCriteria_;
    std::array<QString, collection::kFieldCount> displayLabels_;  // see displayLabel()

    // Components (named after their roles; children of the window).
    QWidget* client_ = nullptr;
    ui::StampTableModel* MyDataSource = nullptr;
    ui::DataGrid* ViewerGrid = nullptr;
    ui::RecordNavigator* MyNavigator = nullptr;
    std::unique_ptr<ui::ListComboSource> listCombos_;
    QFrame* ViewerBevel = nullptr;
    QLabel* ViewerLabel = nullptr;
    QLabel* CountLabel = nullptr;
    QLabel* Count2Label = nullptr;
    QLabel* SearchOnLabel = nullptr;
    QLabel* NavigatorLabel = nullptr;
    QFrame* SpeedPanel = nullptr;
    std::array<QFrame*, 4> bevels_{};
    std::vector<QPushButton*> letteredButtons_;
    QMenu* fileMenu_ = nullptr;
    QAction* lastFilesSeparator_ = nullptr;
    std::array<QAction*, collection::kRecentFileCount> lastFileActions_{};
    editing::TMyLocateDialog* MyLocateDialog = nullptr;
    statistics::StatusTotalsBar* statusTotals_ = nullptr;
    pictures::FingerprintFollower pictureLinks_;
    bool pictureLinksQueued_ = false;
    picture_windows::PicturePane* picturePane_ = nullptr;
    picture_windows::PictureWindow* pictureWindow_ = nullptr;
    picture_windows::ThumbnailColumn* thumbnailColumn_ = nullptr;
    picture_windows::PictureStrip* pictureStrip_ = nullptr;  // owned by the record editor
    QAction* undoItem_ = nullptr;
    // After MyTable: detaches from it before the table goes.
    editing::UndoHistory undo_;
    // Declared last: they point at the members above and go first.
    std::unique_ptr<editing::TMyEdit> MyEdit;
    std::unique_ptr<editing::TMySearch> MySearch;
};

}  // namespace app
