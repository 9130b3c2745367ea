// The main window's menus: every item with its caption, shortcut and object name, wired to the
// operation that carries it out.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "collection/date_format.h"

namespace app {

namespace {

QMenu* addMenu(QMenuBar* bar, QMenu* parent, const char* objectName, const QString& caption) {
    QMenu* menu = parent ? parent->addMenu(caption) : bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(objectName));
    menu->menuAction()->setObjectName(QString::fromLatin1(objectName));
    return menu;
}

QKeySequence ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}
QKeySequence shift(Qt::Key key) {
    return QKeySequence(Qt::SHIFT | key);
}

}  // namespace

void TMain::buildMenus() {
    buildFileMenu();
    buildRecordsMenu();
    buildEditMenu();
    buildNavigateMenu();
    buildViewMenu();
    buildOptionsMenu();
    buildToolsAndHelpMenus();
}

void TMain::buildFileMenu() {
    fileMenu_ = addMenu(menuBar(), nullptr, "MenuFile", QStringLiteral("&File"));
    QMenu* m = fileMenu_;
    addCommand(m, QStringLiteral("MenuNew"), QStringLiteral("&New Database"), ctrl(Qt::Key_W),
               &TMain::DoNew);
    addCommand(m, QStringLiteral("MenuOpen"), QStringLiteral("&Open Database"), ctrl(Qt::Key_O),
               &TMain::DoOpen);
    addCommand(m, QStringLiteral("MenuUpdateDatabase"), QStringLiteral("&Update Database"),
               ctrl(Qt::Key_Z), &TMain::DoUpdateDatabase);
    m->addSeparator();
    addCommand(m, QStringLiteral("MenuBackup"), QStringLiteral("&Back Up Data"), ctrl(Qt::Key_B),
               &TMain::DoBackup);
    addCommand(m, QStringLiteral("MenuRestore"), QStringLiteral("&Restore Data"), ctrl(Qt::Key_Y),
               &TMain::DoRestore);
    m->addSeparator();
    addCommand(m, QStringLiteral("MenuPrint"), QStringLiteral("&Print"), ctrl(Qt::Key_P),
               &TMain::DoReports);
    m->addSeparator();
    addCommand(m, QStringLiteral("MenuExit"), QStringLiteral("E&xit"), ctrl(Qt::Key_X),
               &TMain::DoExit);
    lastFilesSeparator_ = m->addSeparator();
    for (int slot = 1; slot <= collection::kRecentFileCount; ++slot) {
        QAction* item = addCommand(m, QStringLiteral("MenuLastFile%1").arg(slot),
                                   QStringLiteral("&%1").arg(slot), {}, nullptr);
        connect(item, &QAction::triggered, this, [this, slot] {
            runCommand([this, slot] { OpenSaveFile(global_.misc.lastFiles[slot - 1]); });
        });
        lastFileActions_[slot - 1] = item;
    }
}

void TMain::buildRecordsMenu() {
    QMenu* m = addMenu(menuBar(), nullptr, "MenuRecords", QStringLiteral("&Records"));
    addCommand(m, QStringLiteral("MenuAdd"), QStringLiteral("&Add"), ctrl(Qt::Key_A),
               &TMain::DoAdd);
    addCommand(m, QStringLiteral("MenuEdit"), QStringLiteral("&Edit"), ctrl(Qt::Key_E),
               &TMain::DoEdit);
    addCommand(m, QStringLiteral("MenuCopy"), QStringLiteral("&Copy"), ctrl(Qt::Key_C),
               &TMain::DoCopy);
    addCommand(m, QStringLiteral("MenuDelete"), QStringLiteral("&Delete"), ctrl(Qt::Key_D),
               &TMain::DoDelete);
    m->addSeparator();
    addCommand(m, QStringLiteral("MenuImport"), QStringLiteral("&Import"), ctrl(Qt::Key_M),
               &TMain::DoImport);
    addCommand(m, QStringLiteral("MenuExport"), QStringLiteral("E&xport"), ctrl(Qt::Key_T),
               &TMain::DoExport);
}

void TMain::buildNavigateMenu() {
    QMenu* m = addMenu(menuBar(), nullptr, "MenuNavigate", QStringLiteral("&Navigate"));
    addCommand(m, QStringLiteral("MenuSearch"), QStringLiteral("&Search (Query)"), ctrl(Qt::Key_S),
               &TMain::DoSearch);
    addCommand(m, QStringLiteral("MenuEndSearch"), QStringLiteral("&End Search"), ctrl(Qt::Key_I),
               &TMain::DoEndSearch);
    addCommand(m, QStringLiteral("MenuLocate"), QStringLiteral("&Locate"), ctrl(Qt::Key_L),
               &TMain::DoFind);
    addCommand(m, QStringLiteral("MenuLocateNext"), QStringLiteral("Locate &Next"), ctrl(Qt::Key_N),
               &TMain::DoFindNext);
    m->addSeparator();
    addCommand(m, QStringLiteral("MenuReports"), QStringLiteral("&Reports"), ctrl(Qt::Key_R),
               &TMain::DoReports);
    addCommand(m, QStringLiteral("MenuViewer"), QStringLiteral("&Viewer"), ctrl(Qt::Key_V),
               &TMain::DoViewer);
}

void TMain::buildViewMenu() {
    // Made in the menu bar's order, after Navigate; other commands add their items to it.
    QMenu* m = addMenu(menuBar(), nullptr, "MenuView", QStringLiteral("&View"));
    QAction* pane = addCommand(m, QStringLiteral("MenuPicturePane"),
                               QStringLiteral("&Picture Pane"), {}, &TMain::TogglePicturePane);
    pane->setCheckable(true);
    QAction* thumbnails =
        addCommand(m, QStringLiteral("MenuThumbnailColumn"), QStringLiteral("&Thumbnail Column"),
                   {}, &TMain::ToggleThumbnailColumn);
    thumbnails->setCheckable(true);
}

void TMain::addValueCommands(QMenu* menu, std::initializer_list<ValueItem> items,
                             void (TMain::*operation)(int), bool checkable) {
    for (const ValueItem& item : items) {
        QAction* entry = addCommand(menu, QString::fromLatin1(item.name),
                                    QString::fromLatin1(item.caption), item.shortcut, nullptr);
        entry->setCheckable(checkable);
        const int value = item.value;
        connect(entry, &QAction::triggered, this, [this, operation, value] {
            runCommand([this, operation, value] { (this->*operation)(value); });
        });
    }
}

void TMain::buildOptionsMenu() {
    QMenu* m = addMenu(menuBar(), nullptr, "MenuOptions", QStringLiteral("&Options"));
    addCommand(m, QStringLiteral("MenuSortOrder"), QStringLiteral("Sort &Order"), ctrl(Qt::Key_Q),
               &TMain::DoSortOrder);
    addValueCommands(addMenu(nullptr, m, "MenuScreenSize", QStringLiteral("Screen Si&ze")),
                     {{"Menu640", "640 x 480", shift(Qt::Key_F1), 640},
                      {"Menu800", "800 x 600", shift(Qt::Key_F2), 800},
                      {"Menu1024", "1024 x 768", shift(Qt::Key_F3), 1024},
                      {"Menu1280", "1280 x 1024", shift(Qt::Key_F4), 1280}},
                     &TMain::SetScreenSize, true);
    addValueCommands(addMenu(nullptr, m, "MenuScreenAccess", QStringLiteral("&Screen Access")),
                     {{"MenuSpeedButtons", "&Speed Buttons", ctrl(Qt::Key_F1), 1},
                      {"MenuLetteredButtons", "&Lettered Buttons", ctrl(Qt::Key_F2), 2},
                      {"MenuNoButtons", "&None", ctrl(Qt::Key_F3), 3}},
                     &TMain::SetScreenAccess, true);
    addValueCommands(addMenu(nullptr, m, "MenuColor", QStringLiteral("&Color")),
                     {{"MenuMainColor", "&Main Window Color", ctrl(Qt::Key_F4), 1},
                      {"MenuEditColor", "&Edit Window Color", ctrl(Qt::Key_F5), 2},
                      {"MenuSearchColor", "&Search Window Color", ctrl(Qt::Key_F6), 3},
                      {"MenuReportColor", "&Report Window Color", ctrl(Qt::Key_F7), 4},
                      {"MenuConfigColor", "&Configure Window Color", ctrl(Qt::Key_F8), 5},
                      {"MenuAllColor", "&ALL Windows Color", ctrl(Qt::Key_F9), 6}},
                     &TMain::DoColor, false);

    QMenu* lists = addMenu(nullptr, m, "MenuListMaintenance", QStringLiteral("List &Maintenance"));
    addCommand(lists, QStringLiteral("MenuSaveDefaults"), QStringLiteral("&Save As Defaults"), {},
               &TMain::MenuSaveDefaultsClick);
    addCommand(lists, QStringLiteral("MenuLoadDefaults"), QStringLiteral("Load In &Defaults"), {},
               &TMain::MenuLoadDefaultsClick);
    lists->addSeparator();
    // Each item opens the list editor on its list number.
    addValueCommands(lists,
                     {{"MenuMaintainCountry", "&Country", {}, 1},
                      {"MenuMaintainTopic", "&Topic", {}, 2},
                      {"MenuMaintainCondition", "C&ondition", {}, 3},
                      {"MenuMaintainStampType", "Stamp T&ype", {}, 5},
                      {"MenuMaintainGroup", "&Group", {}, 4},
                      {"MenuMaintainCancellation", "C&ancellation", {}, 6},
                      {"MenuMaintainHinged", "&Hinged", {}, 9},
                      {"MenuMaintainColor", "Co&lor", {}, 8},
                      {"MenuMaintainGum", "G&um", {}, 7},
                      {"MenuMaintainFaults", "&Faults", {}, 10},
                      {"MenuMaintainMisc", "&Miscellaneous", {}, 11}},
                     &TMain::MaintainList, false);

    m->addSeparator();
    addValueCommands(addMenu(nullptr, m, "MenuCurrencyFormat", QStringLiteral("C&urrency Format")),
                     {{"MenuCurrencyUS", "&U.S. Dollars", {}, 1},
                      {"MenuCurrencyWindows", "&Windows Setting", {}, 2}},
                     &TMain::SetCurrencyFormat, true);
    addValueCommands(addMenu(nullptr, m, "MenuNumericFormat", QStringLiteral("&Numeric Format")),
                     {{"MenuNumericUS", "&U.S. Format", {}, 1},
                      {"MenuNumericWindows", "&Windows Setting", {}, 2}},
                     &TMain::SetNumericFormat, true);
    buildDateFormatMenu(m);
    m->addSeparator();
    addValueCommands(m,
                     {{"MenuLabelFont", "&Label Font", shift(Qt::Key_F8), 0},
                      {"MenuEditFont", "&Edit Font", shift(Qt::Key_F9), 1},
                      {"MenuButtonFont", "&Button Font", shift(Qt::Key_F10), 2}},
                     &TMain::DoFont, false);
}

void TMain::buildDateFormatMenu(QMenu* options) {
    QMenu* dates = addMenu(nullptr, options, "MenuDateFormat", QStringLiteral("&Date Format"));
    for (int type = 1; type <= collection::kDateFormatTypeCount; ++type) {
        QAction* item = addCommand(dates, QStringLiteral("MenuDate%1").arg(type),
                                   collection::dateFormatCaption(type), {}, nullptr);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this,
                [this, type] { runCommand([this, type] { SetDateFormat(type); }); });
    }
    dates->addSeparator();
    QAction* zeros = addCommand(dates, QStringLiteral("MenuLeadingZeros"),
                                QStringLiteral("&Leading Zeros"), {}, &TMain::ToggleLeadingZeros);
    zeros->setCheckable(true);
}

void TMain::buildToolsAndHelpMenus() {
    QMenu* tools = addMenu(menuBar(), nullptr, "MenuTools", QStringLiteral("&Tools"));
    addCommand(tools, QStringLiteral("MenuSearchReplace"), QStringLiteral("&Search and Replace"),
               ctrl(Qt::Key_F), &TMain::DoSearchReplace);
    addCommand(tools, QStringLiteral("MenuRebuildIndexes"), QStringLiteral("&Rebuild Indexes"), {},
               &TMain::MenuRebuildClick);
    addCommand(tools, QStringLiteral("MenuPackDatabase"), QStringLiteral("&Pack Database"), {},
               &TMain::MenuPackClick);

    QMenu* help = addMenu(menuBar(), nullptr, "MenuHelp", QStringLiteral("&Help"));
    addCommand(help, QStringLiteral("MenuContents"), QStringLiteral("&Contents"), ctrl(Qt::Key_H),
               &TMain::DoHelp);
    addCommand(help, QStringLiteral("MenuTips"), QStringLiteral("&Review \"Tips of the Day\""), {},
               &TMain::DoTips);
}

}  // namespace app
