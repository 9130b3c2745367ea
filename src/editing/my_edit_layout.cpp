// Construction of TMyEdit: the input controls with their labels, the buttons and the menus, laid
// out in the form's own pixel positions (scaled when the window is shown).
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "collection/data_list_files.h"
#include "editing/my_edit.h"
#include "ui/fitting_label.h"
#include "ui/list_combo_box.h"
#include "ui/list_combo_source.h"
#include "ui/masked_edit.h"
#include "ui/platform.h"
#include "ui/typing_limit.h"

namespace editing {

namespace {

enum class Kind { Text, Combo, Date, Check };

// One input control: its field, object name, kind and place (label above the box).
struct ControlSpec {
    int field;
    const char* name;
    Kind kind;
    int x;
    int row;
    int width;
};

constexpr int kRowTop[] = {6, 50, 94, 138, 182, 226, 270, 314, 358};
constexpr int kLabelHeight = 16;
constexpr int kBoxHeight = 22;
constexpr int kButtonTop = 406;
constexpr int kButtonHeight = 26;
constexpr int kClientWidth = 636;
constexpr int kClientHeight = 440;

constexpr ControlSpec kControls[] = {
    {kCountry, "Country", Kind::Combo, 8, 0, 160},
    {kFaceValue, "FaceValue", Kind::Text, 176, 0, 130},
    {kAlphaCatalog, "AlphaCatalog", Kind::Text, 314, 0, 100},
    {kNumericCatalog, "NumericCatalog", Kind::Text, 422, 0, 110},
    {kYear, "Year", Kind::Text, 540, 0, 88},
    {kCondition, "Condition", Kind::Combo, 8, 1, 100},
    {kStampType, "StampType", Kind::Combo, 116, 1, 130},
    {kGroup, "Group", Kind::Combo, 254, 1, 160},
    {kCancellation, "Cancellation", Kind::Combo, 422, 1, 110},
    {kGum, "Gum", Kind::Combo, 540, 1, 88},
    {kDescription, "Description", Kind::Text, 8, 2, 620},
    {kComments, "Comments", Kind::Text, 8, 3, 620},
    {kHinged, "Hinged", Kind::Combo, 8, 4, 90},
    {kColorBox, "ColorBox", Kind::Combo, 106, 4, 130},
    {kPurchDate, "PurchDate", Kind::Date, 244, 4, 90},
    {kTopic, "Topic", Kind::Combo, 422, 4, 206},
    {kMisc, "Misc", Kind::Text, 8, 5, 540},
    {kFaults, "Faults", Kind::Text, 8, 6, 540},
    {kUserDef1, "UserDef1", Kind::Text, 8, 7, 200},
    {kUserDef2, "UserDef2", Kind::Text, 216, 7, 200},
    {kUserDef3, "UserDef3", Kind::Text, 424, 7, 204},
    {kWanted, "Wanted", Kind::Check, 8, 8, 88},
    {kQuantity, "Quantity", Kind::Text, 104, 8, 70},
    {kPurchPrice, "PurchPrice", Kind::Text, 182, 8, 100},
    {kMarketValue, "MarketValue", Kind::Text, 290, 8, 100},
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setGeometry(place);
    return button;
}

template <typename Label = QLabel>
Label* makeLabel(QWidget* parent, const QString& name, const QRect& place) {
    auto* label = new Label(parent);
    label->setObjectName(name);
    label->setGeometry(place);
    return label;
}

}  // namespace

TMyEdit::TMyEdit(const MyEditContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TMyEdit"));
    setWindowTitle(QStringLiteral("Input Stamps"));
    // No minimise and maximise icons.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientPanel"));
    client->setMinimumSize(kClientWidth, kClientHeight);
    row_ = new QHBoxLayout;
    row_->setContentsMargins(0, 0, 0, 0);
    row_->setSpacing(0);
    row_->addWidget(client);
    layout->addLayout(row_);

    buildControls(client);
    buildButtons(client);
    buildMenus();
    layout->setMenuBar(menuBar_);
    resize(kClientWidth, kClientHeight + menuBar_->sizeHint().height());
    layout->activate();  // places the client below the menu bar before the geometry is recorded

    bindLists();
    lists_.setBasePath(context_.basePath);
    lists_.LoadAllList();
    applyBrowseMode();
    geometry_ = ui::GeometryRecord::capture(this);
}

TMyEdit::~TMyEdit() = default;

void TMyEdit::addSidePanel(QWidget* panel) {
    panel->setParent(this);
    row_->addWidget(panel);
    // The fields keep their size; the window grows by the panel's width.
    resize(width() + panel->sizeHint().width(), height());
}

void TMyEdit::buildControls(QWidget* client) {
    for (const ControlSpec& entry : kControls) {
        const int top = kRowTop[entry.row];
        const QRect box(entry.x, top + kLabelHeight, entry.width, kBoxHeight);
        const int width = collection::schemaField(entry.field).length;
        QWidget* widget = nullptr;
        switch (entry.kind) {
            case Kind::Text: {
                auto* edit = new QLineEdit(client);
                ui::limitTyping(edit, width);
                widget = edit;
                break;
            }
            case Kind::Combo: {
                auto* combo = new ui::ListComboBox(client);
                ui::limitTyping(combo->lineEdit(), width);
                combo->lineEdit()->installEventFilter(this);
                widget = combo;
                break;
            }
            case Kind::Date:
                PurchDate = new ui::MaskedEdit(client);
                PurchDate->setEditMask(QStringLiteral("!99/99/9999;1;_"));
                widget = PurchDate;
                break;
            case Kind::Check:
                Wanted = new QCheckBox(client);
                connect(Wanted, &QCheckBox::clicked, this, [this] { WantedClick(); });
                widget = Wanted;
                break;
        }
        widget->setObjectName(QString::fromLatin1(entry.name));
        widget->setGeometry(box);
        widget->installEventFilter(this);
        controls_[entry.field - 1] = widget;
        if (entry.kind != Kind::Check)
            labels_[entry.field - 1] =
                makeLabel(client, QString::fromLatin1(entry.name) + QStringLiteral("Label"),
                          QRect(entry.x, top, entry.width, kLabelHeight));
    }
    Quantity = static_cast<QLineEdit*>(control(kQuantity));
    PurchPrice = static_cast<QLineEdit*>(control(kPurchPrice));
    MarketValue = static_cast<QLineEdit*>(control(kMarketValue));
    Misc = static_cast<QLineEdit*>(control(kMisc));
    Faults = static_cast<QLineEdit*>(control(kFaults));

    const int top = kRowTop[8];
    TotalsHeading = makeLabel(client, QStringLiteral("TotalsHeading"), QRect(398, top, 230, 16));
    TotalsHeading->setText(QStringLiteral("Totals"));
    TotalsHeading->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    // Totals of large amounts are shown whole, in a smaller font when they need it.
    TotalPPriceLabel = makeLabel<ui::FittingLabel>(client, QStringLiteral("TotalPPriceLabel"),
                                                   QRect(398, top + kLabelHeight, 112, kBoxHeight));
    TotalMValueLabel = makeLabel<ui::FittingLabel>(client, QStringLiteral("TotalMValueLabel"),
                                                   QRect(516, top + kLabelHeight, 112, kBoxHeight));
    for (QLabel* total : {TotalPPriceLabel, TotalMValueLabel})
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TMyEdit::buildButtons(QWidget* client) {
    const int boxTop = kRowTop[4] + kLabelHeight;
    connect(makeButton(client, "BlankDate", QStringLiteral("Blank Date"),
                       QRect(338, boxTop, 76, kBoxHeight)),
            &QPushButton::clicked, this, [this] { BlankDateClick(); });
    connect(makeButton(client, "MiscSelect", QStringLiteral("Select"),
                       QRect(556, kRowTop[5] + kLabelHeight, 72, kBoxHeight)),
            &QPushButton::clicked, this, [this] { MiscSelectClick(); });
    connect(makeButton(client, "FaultsSelect", QStringLiteral("Select"),
                       QRect(556, kRowTop[6] + kLabelHeight, 72, kBoxHeight)),
            &QPushButton::clicked, this, [this] { FaultsSelectClick(); });

    struct ButtonSpec {
        const char* name;
        const char* caption;
        int x;
        int width;
        void (TMyEdit::*handler)();
    };
    static constexpr ButtonSpec kButtons[] = {
        {"UpdateExitButton", "&Update && Exit", 8, 110, &TMyEdit::DoUpdateAndExit},
        {"UpdateButton", "Upd&ate", 126, 90, &TMyEdit::DoAnUpdate},
        {"ClearButton", "C&lear", 224, 90, &TMyEdit::ClearClick},
        {"PreviousButton", "&Previous", 322, 90, &TMyEdit::DoPreviousRecord},
        {"NextButton", "&Next", 420, 90, &TMyEdit::DoNextRecord},
        {"ExitButton", "E&xit", 538, 90, &TMyEdit::DoExit},
    };
    for (const ButtonSpec& entry : kButtons) {
        QPushButton* button = makeButton(client, entry.name, QString::fromLatin1(entry.caption),
                                         QRect(entry.x, kButtonTop, entry.width, kButtonHeight));
        connect(button, &QPushButton::clicked, this, [this, h = entry.handler] { run(h); });
    }
}

QAction* TMyEdit::addCommand(QMenu* menu, const char* objectName, const QString& caption,
                             const QKeySequence& shortcut, void (TMyEdit::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    if (handler) connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
    return action;
}

void TMyEdit::buildMenus() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("MainMenu"));
    QMenu* file = menuBar_->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    addCommand(file, "MenuNew", QStringLiteral("N&ew Record"), QKeySequence(tr("Ctrl+E")),
               &TMyEdit::MenuNewClick);
    addCommand(file, "MenuCopyRecord", QStringLiteral("Cop&y Record"), QKeySequence(tr("Ctrl+Y")),
               &TMyEdit::MenuCopyRecordClick);
    addCommand(file, "MenuClear", QStringLiteral("&Clear Record"), QKeySequence(tr("Ctrl+L")),
               &TMyEdit::ClearClick);
    addCommand(file, "MenuUpdate", QStringLiteral("Up&date Record"), QKeySequence(tr("Ctrl+R")),
               &TMyEdit::DoAnUpdate);
    addCommand(file, "MenuUpdateExit", QStringLiteral("&Update && Exit"),
               QKeySequence(tr("Ctrl+U")), &TMyEdit::DoUpdateAndExit);
    addCommand(file, "MenuPrintRecord", QStringLiteral("Prin&t Record"), QKeySequence(tr("Ctrl+T")),
               &TMyEdit::MenuPrintRecordClick);
    file->addSeparator();
    addCommand(file, "MenuPrevious", QStringLiteral("&Previous Record"), QKeySequence(tr("Ctrl+P")),
               &TMyEdit::DoPreviousRecord);
    addCommand(file, "MenuNext", QStringLiteral("&Next Record"), QKeySequence(tr("Ctrl+N")),
               &TMyEdit::DoNextRecord);
    file->addSeparator();
    addCommand(file, "MenuExit", QStringLiteral("E&xit"), QKeySequence(), &TMyEdit::DoExit);

    QMenu* edit = menuBar_->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    addCommand(edit, "MenuCut", QStringLiteral("Cu&t"), QKeySequence(tr("Ctrl+X")),
               &TMyEdit::EditCut);
    addCommand(edit, "MenuCopy", QStringLiteral("&Copy"), QKeySequence(tr("Ctrl+C")),
               &TMyEdit::EditCopy);
    addCommand(edit, "MenuPaste", QStringLiteral("&Paste"), QKeySequence(tr("Ctrl+V")),
               &TMyEdit::EditPaste);
    addCommand(edit, "MenuDelete", QStringLiteral("&Delete"), QKeySequence(tr("Ctrl+D")),
               &TMyEdit::EditDelete);

    defaultsMenu_ = menuBar_->addMenu(QStringLiteral("&Defaults"));
    defaultsMenu_->setObjectName(QStringLiteral("MenuDefaults"));
    addCommand(defaultsMenu_, "MenuLoadDefaults", QStringLiteral("&Load In Saved Defaults"),
               QKeySequence(tr("Ctrl+Q")), &TMyEdit::LoadDefaultsClick);
    addCommand(defaultsMenu_, "MenuSaveDefaults",
               QStringLiteral("&Save Current Values As Defaults"), QKeySequence(tr("Ctrl+S")),
               &TMyEdit::MenuSaveDefaultsClick);
    defaultsMenu_->addSeparator();
    loadWithClear_ =
        addCommand(defaultsMenu_, "MenuLoadWithClear", QStringLiteral("Load Defaults With &Clear"),
                   QKeySequence(tr("Ctrl+W")), nullptr);
    loadWithAdd_ =
        addCommand(defaultsMenu_, "MenuLoadWithAdd", QStringLiteral("Load Defaults With &Add"),
                   QKeySequence(tr("Ctrl+A")), nullptr);
    for (QAction* flag : {loadWithClear_, loadWithAdd_}) flag->setCheckable(true);
    if (context_.global) {
        loadWithClear_->setChecked(context_.global->defaults.loadWithClear);
        loadWithAdd_->setChecked(context_.global->defaults.loadWithAdd);
    }
    connect(loadWithClear_, &QAction::toggled, this, [this](bool on) {
        if (context_.global) context_.global->defaults.loadWithClear = on;
    });
    connect(loadWithAdd_, &QAction::toggled, this, [this](bool on) {
        if (context_.global) context_.global->defaults.loadWithAdd = on;
    });

    QAction* help = menuBar_->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    help->setShortcut(QKeySequence(tr("Ctrl+H")));
    help->setShortcutContext(Qt::WindowShortcut);
    addAction(help);  // the shortcut of a menu-bar item needs the window to hold the action
    connect(help, &QAction::triggered, this,
            [this] { ui::platform().showHelpKeyword(this, QStringLiteral("Input Window")); });
}

void TMyEdit::bindLists() {
    for (int list = 1; list <= collection::kCollectionListCount; ++list) {
        const int field = collection::dataList(list).fieldNumber;
        QComboBox* mainBox =
            context_.mainBoxes ? context_.mainBoxes->comboForField(field) : nullptr;
        lists_.bind(list, static_cast<QComboBox*>(control(field)), mainBox);
    }
}

void TMyEdit::applyBrowseMode() {
    if (!context_.browseMode) return;
    for (const char* name : {"MenuNew", "MenuClear", "MenuUpdate", "MenuUpdateExit", "MenuCut",
                             "MenuCopy", "MenuPaste", "MenuDelete"})
        findChild<QAction*>(QString::fromLatin1(name))->setEnabled(false);
    defaultsMenu_->setEnabled(false);
    for (QAction* action : defaultsMenu_->actions()) action->setEnabled(false);
    for (const char* name : {"UpdateExitButton", "UpdateButton", "ClearButton"})
        findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(false);
}

}  // namespace editing
