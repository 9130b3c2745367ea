#include "app/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "collection/collection_paths.h"
#include "editing/my_edit.h"
#include "searching/my_search.h"
#include "engine/error.h"
#include "statistics/status_totals_bar.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/list_combo_source.h"
#include "ui/messages.h"
#include "ui/record_navigator.h"
#include "ui/window_keys.h"

namespace app {

TMain::TMain(const QStringList& arguments, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Main"));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client_);
    client_->installEventFilter(this);
    buildViewer();
    buildPictures();
    buildSpeedPanel();
    buildLetteredButtons();
    buildMenus();
    buildStatistics();
    // F1 opens the help contents; Escape is left to the grid and the boxes.
    ui::installWindowKeys(this, false);
    FormCreate(arguments);
    // Changes made from here on can be undone (a conversion at start-up cannot).
    undo_.setChangedCallback([this] { refreshUndoItem(); });
    undo_.setChangeListener([this](const engine::RecordChange& c) { followPictureLinks(c); });
    undo_.attach(&MyTable);
    if (!startFailed_) {
        createRecordEditor();
        createSearchWindows();
    }
}

TMain::~TMain() {
    MyTable.close();
}

void TMain::buildViewer() {
    ViewerBevel = new QFrame(client_);
    ViewerBevel->setObjectName(QStringLiteral("ViewerBevel"));
    ViewerBevel->setFrameShape(QFrame::Box);
    ViewerBevel->setFrameShadow(QFrame::Sunken);

    auto makeLabel = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, client_);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    ViewerLabel = makeLabel("ViewerLabel", QStringLiteral("Stamp Viewer"));
    ViewerLabel->setAlignment(Qt::AlignCenter);
    QFont heading = ViewerLabel->font();
    heading.setPointSize(12);
    heading.setBold(true);
    ViewerLabel->setFont(heading);
    CountLabel = makeLabel("CountLabel", QStringLiteral("0"));
    CountLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Count2Label = makeLabel("Count2Label", QStringLiteral("Stamps"));
    Count2Label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SearchOnLabel = makeLabel("SearchOnLabel", QStringLiteral("SEARCH ON"));
    QFont searchFont = SearchOnLabel->font();
    searchFont.setBold(true);
    SearchOnLabel->setFont(searchFont);
    SearchOnLabel->setStyleSheet(QStringLiteral("color: red"));
    SearchOnLabel->hide();
    NavigatorLabel = makeLabel("NavigatorLabel", QStringLiteral("Navigation Controls"));

    // The search filter stays with the table across every close and re-open.
    MyTable.setFilter([this](const engine::RecordView& record) { return MyTableFilter(record); });
    MyDataSource = new ui::StampTableModel(&MyTable, this);
    MyDataSource->setObjectName(QStringLiteral("MyDataSource"));
    MyDataSource->setFormatters(displayFormatters());
    ViewerGrid = new ui::DataGrid(client_);
    ViewerGrid->setObjectName(QStringLiteral("ViewerGrid"));
    ViewerGrid->setTableModel(MyDataSource);
    listCombos_ = std::make_unique<ui::ListComboSource>(client_);
    ViewerGrid->setListSource(listCombos_.get());
    connect(ViewerGrid, &ui::DataGrid::recordActivated, this,
            [this] { runCommand([this] { DoEdit(); }); });

    ViewerGrid->horizontalHeader()->setSectionsClickable(true);
    connect(ViewerGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { runCommand([this, column] { SortByColumnTitle(column); }); });

    MyNavigator = new ui::RecordNavigator(client_);
    MyNavigator->setObjectName(QStringLiteral("MyNavigator"));
    MyNavigator->bind(ViewerGrid);
    connect(MyNavigator, &ui::RecordNavigator::changed, this, [this] { DisplayCount(); });
    connect(MyNavigator, &ui::RecordNavigator::deleteRequested, this,
            [this] { runCommand([this] { DoDelete(); }); });

    // The grid and navigator report engine failures instead of throwing them.
    auto showFailure = [this](const QString& message) { ui::showError(this, message); };
    connect(ViewerGrid, &ui::DataGrid::errorOccurred, this, showFailure);
    connect(MyNavigator, &ui::RecordNavigator::errorOccurred, this, showFailure);
}

void TMain::runCommand(const std::function<void()>& command) {
    // The status bar's totals wait while a command runs: it may need the table to itself.
    if (statusTotals_) statusTotals_->hold();
    try {
        command();
    } catch (const engine::EngineError& e) {
        ui::showError(this, QString::fromUtf8(e.what()));
    }
    if (statusTotals_) statusTotals_->release();
}

QAction* TMain::addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                           const QKeySequence& shortcut, void (TMain::*operation)()) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(objectName);
    if (!shortcut.isEmpty()) item->setShortcut(shortcut);
    if (operation)
        connect(item, &QAction::triggered, this,
                [this, operation] { runCommand([this, operation] { (this->*operation)(); }); });
    return item;
}

void TMain::connectButton(QAbstractButton* button, void (TMain::*operation)()) {
    connect(button, &QAbstractButton::clicked, this,
            [this, operation] { runCommand([this, operation] { (this->*operation)(); }); });
}

// The record editor is a child window with menu items of the same names; only the main
// window's own menu bar is searched.
QAction* TMain::action(const QString& objectName) const {
    return menuBar()->findChild<QAction*>(objectName);
}

QString TMain::indexPath() const {
    return collection::companionFile(basePath_, QStringLiteral(".MDX"));
}

void TMain::setSearchCriteria(std::function<bool(const engine::RecordView&)> criteria) {
    searchCriteria_ = std::move(criteria);
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) FormResize();
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace app
