// TMySearch: construction, showing, the grid and its pick windows. Collecting and running the
// search is in my_search_run.cpp.
#include "searching/my_search.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <cmath>

#include "collection/collection_settings.h"
#include "collection/data_list_files.h"
#include "searching/search_grid.h"
#include "searching/search_options.h"
#include "ui/platform.h"
#include "ui/window_base.h"
#include "ui/window_colors.h"

namespace editing {

namespace {

constexpr int kLabelColumn = 0;
constexpr int kMarkerColumn = SearchGridWidget::kMarkerColumn;
constexpr int kValueColumn = SearchGridWidget::kValueColumn;
constexpr int kDesignRowHeight = 18;
constexpr int kMaxLabelText = 21;

const QStringList kOperatorTexts = {QStringLiteral(" = "), QStringLiteral(" > "),
                                    QStringLiteral(" < "), QStringLiteral(" > X < ")};

// Rows whose pick window offers list items: the seven collection pick lists and the two fields
// filled from the shared lists.
constexpr int kFaults = 18;
constexpr int kMiscellaneous = 20;
bool hasItemList(int field) {
    switch (field) {
        case 3:
        case 9:
        case 10:
        case 11:
        case 12:
        case 13:
        case 16:
        case kFaults:
        case kMiscellaneous:
            return true;
        default:
            return false;
    }
}

int scaled(int pixels, double factor) {
    return int(std::lround(pixels * factor));
}

}  // namespace

TMySearch::TMySearch(const MySearchContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("MySearch"));
    setWindowTitle(QStringLiteral("Search"));
    resize(640, 490);
    operators_.fill(collection::kOpEqual);

    SearchGrid = new SearchGridWidget([this](int row) { return SearchGridGetEditMask(row); },
                                      [this](int row) { return hasPickWindow(row); }, this);
    SearchGrid->setObjectName(QStringLiteral("SearchGrid"));
    SearchGrid->setGeometry(10, 10, 620, 404);
    SearchGrid->setColumnCount(3);
    SearchGrid->setRowCount(kRows);
    SearchGrid->horizontalHeader()->hide();
    SearchGrid->verticalHeader()->hide();
    SearchGrid->verticalHeader()->setDefaultSectionSize(kDesignRowHeight);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < 3; ++column) SearchGrid->setCellText(row, column, {});
    const QBrush fixed = SearchGrid->palette().button();
    for (int row = 0; row < kRows; ++row) SearchGrid->item(row, kLabelColumn)->setBackground(fixed);
    for (int column = 1; column < 3; ++column) SearchGrid->item(0, column)->setBackground(fixed);
    connect(SearchGrid, &QTableWidget::cellPressed, this, &TMySearch::SearchGridMouseDown);
    connect(SearchGrid, &QTableWidget::cellClicked, this, &TMySearch::SearchGridMouseUp);
    SearchGrid->keyChoice = [this](int row, const QKeyEvent& key) {
        return SearchGridKeyChoice(row, key);
    };

    LevelsNote = new QLabel(
        QStringLiteral("A record must match every field filled in on a level; each level added "
                       "with Find More is an alternative."),
        this);
    LevelsNote->setObjectName(QStringLiteral("LevelsNote"));
    LevelsNote->setGeometry(10, 418, 620, 20);

    auto makeButton = [this](const char* name, const QString& caption, int left,
                             void (TMySearch::*handler)()) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 446, 110, 32);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handler);
        return button;
    };
    OkButton = makeButton("OkButton", QStringLiteral("&Ok"), 10, &TMySearch::OkButtonClick);
    MoreButton =
        makeButton("MoreButton", QStringLiteral("&Find More"), 136, &TMySearch::MoreButtonClick);
    ClearButton = makeButton("ClearButton", QStringLiteral("&Clear Search"), 262,
                             &TMySearch::ClearButtonClick);
    ExitButton =
        makeButton("ExitButton", QStringLiteral("E&xit"), 388, &TMySearch::ExitButtonClick);
    HelpButton =
        makeButton("HelpButton", QStringLiteral("&Help"), 514, &TMySearch::HelpButtonClick);

    geometry_ = ui::GeometryRecord::capture(this);
}

TMySearch::~TMySearch() = default;

bool TMySearch::hasPickWindow(int row) const {
    if (row < 1 || row > collection::kFieldCount) return false;
    return collection::searchRowKind(row) != collection::SearchRowKind::Text || hasItemList(row);
}

QString TMySearch::SearchGridGetEditMask(int row) const {
    if (row < 1 || row > collection::kFieldCount) return {};
    const collection::SearchRowKind kind = collection::searchRowKind(row);
    if (kind == collection::SearchRowKind::Text)
        return QString(collection::schemaField(row).length, u'c');
    static const QString kNumberMasks[] = {
        QStringLiteral("= ccccccccc;1"), QStringLiteral("\\> ccccccccc;1"),
        QStringLiteral("\\< ccccccccc;1"), QStringLiteral("\\> ccccccccc \\A\\ND \\< cccccccc")};
    static const QString kDateMasks[] = {QStringLiteral("= 99/99/0000;1"),
                                         QStringLiteral("\\> 99/99/0000;1"),
                                         QStringLiteral("\\< 99/99/0000;1"),
                                         QStringLiteral("\\> 99/99/0000 \\A\\ND \\< 99/99/0000;1")};
    const int op = rowOperator(row) - 1;
    return kind == collection::SearchRowKind::Number ? kNumberMasks[op] : kDateMasks[op];
}

QString TMySearch::fieldLabel(int field) const {
    if (context_.collection) return context_.collection->field(field).label;
    const std::string_view label = collection::schemaField(field).label;
    return QString::fromLatin1(label.data(), qsizetype(label.size()));
}

QStringList TMySearch::pickItems(int field) const {
    if (field == kFaults || field == kMiscellaneous) {
        QStringList items = collection::readListFile(collection::defaultListPath(
            field == kFaults ? collection::kFaultsList : collection::kMiscList));
        collection::sortNoCase(items);
        return items;
    }
    return context_.pickList ? context_.pickList(field) : QStringList();
}

void TMySearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system is shown again spontaneously: it keeps its state.
    if (!event->spontaneous()) FormShow();
}

void TMySearch::FormShow() {
    ui::ShowOptions options;
    options.fonts = context_.fonts;
    options.geometry = &geometry_;
    options.scaleFactor = context_.scaleFactor ? *context_.scaleFactor : 1.0;
    options.moveUp = true;
    ui::prepareWindowForShow(this, options);
    criteria_.clear();
    level_ = 1;
    layoutGrid();
    for (int row = 1; row < kRows; ++row)
        SearchGrid->setCellText(row, kLabelColumn,
                                (QLatin1Char(' ') + fieldLabel(row)).left(kMaxLabelText));
    emptyValueCells();
    setHeader();
    SetColors();
    SearchGrid->setCurrentCell(1, kValueColumn);
    SearchGrid->setFocus();
}

void TMySearch::layoutGrid() {
    const double factor = context_.scaleFactor ? *context_.scaleFactor : 1.0;
    SearchGrid->setColumnWidth(kLabelColumn, scaled(200, factor));
    SearchGrid->setColumnWidth(kMarkerColumn, scaled(20, factor));
    SearchGrid->setColumnWidth(kValueColumn, scaled(378, factor));
    SearchGrid->resize(scaled(600, factor) + 20, SearchGrid->height());
    SearchGrid->verticalHeader()->setDefaultSectionSize(scaled(kDesignRowHeight, factor));
}

void TMySearch::setHeader() {
    SearchGrid->setCellText(0, kLabelColumn, QStringLiteral(" FIELD"));
    SearchGrid->setCellText(0, kValueColumn,
                            QStringLiteral(" SEARCH CRITERIA    (Level %1)").arg(level_));
}

void TMySearch::emptyValueCells() {
    for (int row = 1; row < kRows; ++row) SearchGrid->setCellText(row, kValueColumn, {});
}

void TMySearch::SetColors() {
    if (!context_.collection) return;
    ui::applyColors(this, context_.collection->colorSet(collection::WindowGroup::Search));
}

void TMySearch::HelpButtonClick() {
    ui::platform().showHelpKeyword(this, QStringLiteral("Search Window"));
}

void TMySearch::SearchGridMouseDown(int row, int column) {
    pressedRow_ = row;
    pressedColumn_ = column;
}

void TMySearch::SearchGridMouseUp(int row, int column) {
    const bool sameCell = row == pressedRow_ && column == pressedColumn_;
    pressedRow_ = pressedColumn_ = -1;
    if (!sameCell || column != kMarkerColumn || !hasPickWindow(row)) return;
    openPickWindow(row);
}

bool TMySearch::SearchGridKeyChoice(int row, const QKeyEvent& key) {
    if (row < 1 || row > collection::kFieldCount) return false;
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    const bool onMarker = SearchGrid->currentColumn() == kMarkerColumn;
    const bool opens = (key.key() == Qt::Key_F4 && mods == Qt::NoModifier) ||
                       (key.key() == Qt::Key_Down && mods == Qt::AltModifier) ||
                       (onMarker && mods == Qt::NoModifier &&
                        (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter ||
                         key.key() == Qt::Key_Space));
    // The windows open after the key is handled: the value editor goes away on the way.
    if (opens && hasPickWindow(row)) {
        QMetaObject::invokeMethod(this, [this, row] { openPickWindow(row); }, Qt::QueuedConnection);
        return true;
    }
    if (collection::searchRowKind(row) == collection::SearchRowKind::Text) return false;
    // "=", ">" and "<" are never part of a number or a date: they choose the comparison.
    const int op = key.text() == QLatin1String("=")   ? collection::kOpEqual
                   : key.text() == QLatin1String(">") ? collection::kOpGreater
                   : key.text() == QLatin1String("<") ? collection::kOpLess
                                                      : 0;
    if (op == 0) return false;
    QMetaObject::invokeMethod(this, [this, row, op] { setRowOperator(row, op); },
                              Qt::QueuedConnection);
    return true;
}

void TMySearch::openPickWindow(int row) {
    if (collection::searchRowKind(row) == collection::SearchRowKind::Text)
        openListWindow(row);
    else
        openOperatorWindow(row);
}

void TMySearch::openOperatorWindow(int row) {
    TSearchOptions window(this);
    window.setFieldName(fieldLabel(row));
    window.LoadList(kOperatorTexts, rowOperator(row) - 1);
    if (ui::platform().execModal(window) != QDialog::Accepted) return;
    const int chosen = window.selectedIndex();
    if (chosen < 0) return;
    setRowOperator(row, chosen + 1);
}

void TMySearch::setRowOperator(int row, int op) {
    operators_[std::size_t(row - 1)] = op;
    // The value cell's editor takes its new mask when the cell is entered again.
    if (SearchGrid->currentRow() == row)
        SearchGrid->setCurrentCell(row == collection::kFieldCount ? row - 1 : row + 1,
                                   kValueColumn);
    SearchGrid->setCurrentCell(row, kValueColumn);
}

void TMySearch::openListWindow(int row) {
    TSearchOptions window(this);
    window.setFieldName(fieldLabel(row));
    window.LoadList(pickItems(row));
    if (ui::platform().execModal(window) != QDialog::Accepted) return;
    if (window.selectedIndex() >= 0)
        SearchGrid->setCellText(row, kValueColumn, window.selectedText());
    SearchGrid->setCurrentCell(row, kValueColumn);
}

}  // namespace editing
