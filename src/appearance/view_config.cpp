#include "appearance/view_config.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <algorithm>

#include "appearance/font_choice.h"
#include "appearance/view_settings_edit.h"
#include "collection/stamp_schema.h"
#include "ui/font_dialog_preset.h"
#include "ui/messages.h"
#include "ui/platform.h"
#include "ui/window_colors.h"

namespace appearance {

const std::array<const char*, 6> kViewConfigHelpKeywords = {
    "Viewer Configuration Title",  "Viewer Configuration Look",  "Viewer Configuration Show",
    "Viewer Configuration Widths", "Viewer Configuration Order", "Viewer Configuration Names"};

namespace {

enum Page { TitlePage, LookPage, ShowPage, WidthsPage, OrderPage, NamesPage };

const QString kShowText = QStringLiteral(
    "For each field that you would like displayed in the Viewer, select 'Yes'.  If you do not "
    "wish a field to appear in the Viewer, then select 'No' for that field.  Double Click on the "
    "field to change between 'Yes' and 'No'.");

constexpr int kRowHeight = 22;

QTableWidgetItem* fixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidgetItem* editableItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    return item;
}

}  // namespace

TViewConfig::TViewConfig(ViewConfigContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), settings_(*context_.settings) {
    setObjectName(QStringLiteral("ViewConfig"));
    setWindowTitle(QStringLiteral("Viewer Configuration"));
    resize(640, 400);

    Notebook = new QTabWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    Notebook->setGeometry(8, 8, 624, 344);

    QWidget* title = addPage(QStringLiteral("&Title"));
    ShowGridTitle = addCheck(title, "ShowGridTitle", QStringLiteral("Show Column Titles"), 16,
                             &TViewConfig::ShowGridTitleClick);
    addHeading(title, QStringLiteral("Background"), QRect(16, 56, 160, 20));
    TitleColorSample = new QLabel(title);
    TitleColorSample->setObjectName(QStringLiteral("TitleColorSample"));
    TitleColorSample->setGeometry(16, 80, 80, 24);
    TitleColorSample->setFrameShape(QFrame::Box);
    addButton(title, "Button1", QStringLiteral("New &Color"), QRect(108, 78, 100, 28),
              &TViewConfig::Button1Click);
    addHeading(title, QStringLiteral("Title Font"), QRect(16, 124, 160, 20));
    TitleFontText = new QLineEdit(title);
    TitleFontText->setObjectName(QStringLiteral("TitleFontText"));
    TitleFontText->setReadOnly(true);
    TitleFontText->setGeometry(16, 148, 200, 24);
    addButton(title, "TitleFontButton", QStringLiteral("New &Font"), QRect(228, 146, 100, 28),
              &TViewConfig::TitleFontButtonClick);
    addButton(title, "TitleFontColorButton", QStringLiteral("Font Colo&r"),
              QRect(340, 146, 100, 28), &TViewConfig::TitleFontColorClick);
    addHeading(title, QStringLiteral("Alignment"), QRect(340, 16, 140, 20));
    auto addRadio = [&](const char* name, const QString& text, int top,
                        void (TViewConfig::*handler)()) {
        auto* radio = new QRadioButton(text, title);
        radio->setObjectName(QString::fromLatin1(name));
        radio->setGeometry(340, top, 140, 22);
        connect(radio, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on) (this->*handler)();
        });
        return radio;
    };
    TitleLeft =
        addRadio("TitleLeft", QStringLiteral("Left Justify"), 40, &TViewConfig::TitleLeftClick);
    TitleCenter =
        addRadio("TitleCenter", QStringLiteral("Center"), 66, &TViewConfig::TitleCenterClick);
    TitleRight =
        addRadio("TitleRight", QStringLiteral("Right Justify"), 92, &TViewConfig::TitleRightClick);

    QWidget* look = addPage(QStringLiteral("&Look and Feel"));
    addHeading(look, QStringLiteral("Grid Options"), QRect(16, 16, 220, 20));
    ColumnLines = addCheck(look, "ColumnLines", QStringLiteral("Show lines between columns"), 40,
                           &TViewConfig::ColumnLinesClick);
    RowLines = addCheck(look, "RowLines", QStringLiteral("Show lines between rows"), 66,
                        &TViewConfig::RowLinesClick);
    RowIndicator = addCheck(look, "RowIndicator", QStringLiteral("Show current row indicator"), 92,
                            &TViewConfig::RowIndicatorClick);
    FieldEditing = addCheck(look, "FieldEditing", QStringLiteral("Allow field editing"), 118,
                            &TViewConfig::FieldEditingClick);
    addHeading(look, QStringLiteral("Cell Color"), QRect(270, 16, 200, 20));
    CellColorSample = new QLabel(look);
    CellColorSample->setObjectName(QStringLiteral("CellColorSample"));
    CellColorSample->setGeometry(270, 40, 80, 24);
    CellColorSample->setFrameShape(QFrame::Box);
    addButton(look, "NewColorBUtton", QStringLiteral("New &Color"), QRect(362, 38, 100, 28),
              &TViewConfig::NewColorBUttonClick);
    addHeading(look, QStringLiteral("Cell Font"), QRect(270, 90, 200, 20));
    CellFontText = new QLineEdit(look);
    CellFontText->setObjectName(QStringLiteral("CellFontText"));
    CellFontText->setReadOnly(true);
    CellFontText->setGeometry(270, 114, 200, 24);
    addButton(look, "NewFontButton", QStringLiteral("New &Font"), QRect(270, 146, 100, 28),
              &TViewConfig::NewFontButtonClick);
    addButton(look, "CellFontColorButton", QStringLiteral("Font Colo&r"), QRect(382, 146, 100, 28),
              &TViewConfig::CellFontColorClick);

    QWidget* show = addPage(QStringLiteral("Fields to &Show"));
    FieldsToDisplay =
        addGrid(show, "FieldsToDisplay", {QStringLiteral("FIELD"), QStringLiteral("DISPLAY IT")},
                QRect(8, 8, 320, 300));
    connect(FieldsToDisplay, &QTableWidget::cellDoubleClicked, this,
            &TViewConfig::FieldsToDisplayDblClick);
    auto* showText = new QLabel(kShowText, show);
    showText->setObjectName(QStringLiteral("ShowText"));
    showText->setWordWrap(true);
    showText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    showText->setGeometry(340, 8, 150, 240);

    QWidget* widths = addPage(QStringLiteral("Field &Widths"));
    FieldWidthGrid =
        addGrid(widths, "FieldWidthGrid", {QStringLiteral("FIELD"), QStringLiteral("WIDTH")},
                QRect(8, 8, 320, 300));

    QWidget* order = addPage(QStringLiteral("Field &Order"));
    addHeading(order, QStringLiteral("Field"), QRect(8, 4, 200, 18), false);
    FieldOrderGrid = addGrid(order, "FieldOrderGrid", {}, QRect(8, 24, 240, 284));
    addHeading(order, QStringLiteral("Ordering"), QRect(270, 24, 120, 18), false);
    addButton(order, "OrderUp", QStringLiteral("&Up"), QRect(270, 48, 100, 28),
              &TViewConfig::OrderUpClick);
    addButton(order, "OrderDown", QStringLiteral("&Down"), QRect(270, 84, 100, 28),
              &TViewConfig::OrderDownClick);
    addButton(order, "OrderDefaults", QStringLiteral("D&efaults"), QRect(270, 120, 100, 28),
              &TViewConfig::OrderDefaultsClick);

    QWidget* names = addPage(QStringLiteral("Field &Names"));
    FieldNameGrid =
        addGrid(names, "FieldNameGrid", {QStringLiteral("FIELD"), QStringLiteral("NAME TO USE")},
                QRect(8, 8, 424, 300));

    addButton(this, "ExitButton", QStringLiteral("E&xit"), QRect(420, 362, 100, 28),
              &TViewConfig::ExitButtonClick);
    addButton(this, "HelpButton", QStringLiteral("&Help"), QRect(532, 362, 100, 28),
              &TViewConfig::HelpButtonClick);

    FormCreate();
}

QWidget* TViewConfig::addPage(const QString& caption) {
    auto* page = new QWidget;
    Notebook->addTab(page, caption);
    return page;
}

QLabel* TViewConfig::addHeading(QWidget* page, const QString& text, const QRect& place,
                                bool major) {
    auto* label = new QLabel(text, page);
    label->setGeometry(place);
    (major ? majorTitles_ : minorTitles_).append(label);
    return label;
}

QCheckBox* TViewConfig::addCheck(QWidget* page, const char* name, const QString& text, int top,
                                 void (TViewConfig::*handler)()) {
    auto* box = new QCheckBox(text, page);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(16, top, 240, 22);
    connect(box, &QCheckBox::toggled, this, handler);
    return box;
}

QPushButton* TViewConfig::addButton(QWidget* page, const char* name, const QString& text,
                                    const QRect& place, void (TViewConfig::*handler)()) {
    auto* button = new QPushButton(text, page);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

QTableWidget* TViewConfig::addGrid(QWidget* page, const char* name, const QStringList& titles,
                                   const QRect& place) {
    auto* grid =
        new QTableWidget(collection::kFieldCount, titles.isEmpty() ? 1 : titles.size(), page);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setGeometry(place);
    grid->verticalHeader()->hide();
    if (titles.isEmpty())
        grid->horizontalHeader()->hide();
    else
        grid->setHorizontalHeaderLabels(titles);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    return grid;
}

void TViewConfig::Configure(ViewConfigContext context, QWidget* parent) {
    TViewConfig window(std::move(context), parent);
    ui::platform().execModal(window);
}

void TViewConfig::FormCreate() {
    const collection::GridSettings& g = settings_.grid;
    ShowGridTitle->setChecked(g.showTitles);
    ColumnLines->setChecked(g.columnLines);
    RowLines->setChecked(g.rowLines);
    RowIndicator->setChecked(g.rowIndicator);
    FieldEditing->setChecked(g.fieldEditing);
}

void TViewConfig::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TViewConfig::FormShow() {
    ui::ShowOptions options = context_.show;
    options.geometry = nullptr;
    options.centre = true;
    options.moveUp = true;
    options.colors = &context_.colors;
    options.majorTitles = majorTitles_;
    options.minorTitles = minorTitles_;
    ui::prepareWindowForShow(this, options);
    showFonts();
    paintSamples();
    TitleLeft->setChecked(settings_.grid.titleAlignment == 1);
    TitleCenter->setChecked(settings_.grid.titleAlignment == 2);
    TitleRight->setChecked(settings_.grid.titleAlignment == 3);
    fillGrids();
    const double scale = options.scaleFactor;
    auto sizeColumns = [scale](QTableWidget* grid, std::initializer_list<int> widths) {
        int c = 0;
        for (int w : widths) grid->setColumnWidth(c++, int(w * scale));
        for (int r = 0; r < grid->rowCount(); ++r) grid->setRowHeight(r, int(kRowHeight * scale));
    };
    sizeColumns(FieldsToDisplay, {200, 100});
    sizeColumns(FieldWidthGrid, {200, 100});
    sizeColumns(FieldOrderGrid, {200});
    sizeColumns(FieldNameGrid, {200, 200});
}

void TViewConfig::fillGrids() {
    labelsAtOpen_.clear();
    for (int row = 0; row < collection::kFieldCount; ++row) {
        const collection::FieldSettings& field = settings_.fields[row];
        labelsAtOpen_.append(field.label);
        FieldsToDisplay->setItem(row, 0, fixedItem(field.label));
        FieldsToDisplay->setItem(
            row, 1, fixedItem(field.display ? QStringLiteral("Yes") : QStringLiteral("No")));
        FieldWidthGrid->setItem(row, 0, fixedItem(field.label));
        FieldWidthGrid->setItem(row, 1, editableItem(QString::number(field.width)));
        FieldNameGrid->setItem(
            row, 0,
            fixedItem(QString::fromLatin1(collection::schemaField(row + 1).name.data(),
                                          int(collection::schemaField(row + 1).name.size()))));
        FieldNameGrid->setItem(row, 1, editableItem(field.label));
    }
    setOrderRows(orderRows(settings_.fields));
}

void TViewConfig::setOrderRows(const QStringList& rows) {
    for (int row = 0; row < rows.size() && row < FieldOrderGrid->rowCount(); ++row)
        FieldOrderGrid->setItem(row, 0, fixedItem(rows[row]));
}

void TViewConfig::showFonts() {
    TitleFontText->setText(fontDescription(settings_.grid.titleFont));
    CellFontText->setText(fontDescription(settings_.grid.font));
}

void TViewConfig::paintSamples() {
    auto paint = [](QLabel* sample, int color) {
        QPalette palette = sample->palette();
        palette.setColor(QPalette::Window, ui::colorFromBgr(color));
        sample->setPalette(palette);
        sample->setAutoFillBackground(true);
    };
    paint(TitleColorSample, settings_.grid.titleBackgroundColor);
    paint(CellColorSample, settings_.grid.cellColor);
}

void TViewConfig::chooseColor(int& setting) {
    const std::optional<QColor> chosen =
        ui::platform().chooseColor(this, ui::colorFromBgr(setting));
    if (!chosen) return;
    setting = ui::bgrFromColor(*chosen);
    paintSamples();
}

void TViewConfig::chooseFont(QFont& shared, collection::FontSettings& stored) {
    QFont preset(stored.name);
    preset.setPointSize(std::max(1, stored.size));
    preset.setBold(stored.bold);
    preset.setItalic(stored.italic);
    preset.setUnderline(stored.underline);
    preset.setStrikeOut(stored.strikeout);
    const std::optional<ui::FontChoice> choice = ui::platform().chooseFont(
        this, ui::FontChoice{ui::fontDialogPreset(preset), ui::colorFromBgr(stored.color)});
    if (!choice) return;
    stored.color = ui::bgrFromColor(choice->color);
    stored.name = ui::keptFontName(stored.name, choice->font);
    if (choice->font.pointSize() > 0) stored.size = choice->font.pointSize();
    stored.bold = choice->font.bold();
    stored.italic = choice->font.italic();
    stored.underline = choice->font.underline();
    stored.strikeout = choice->font.strikeOut();
    shared = choice->font;
    shared.setFamilies(QStringList{stored.name});
    showFonts();
}

void TViewConfig::chooseFontColor(collection::FontSettings& stored) {
    const std::optional<QColor> chosen =
        ui::platform().chooseColor(this, ui::colorFromBgr(stored.color));
    if (chosen) stored.color = ui::bgrFromColor(*chosen);
}

void TViewConfig::TitleFontColorClick() {
    chooseFontColor(settings_.grid.titleFont);
}

void TViewConfig::CellFontColorClick() {
    chooseFontColor(settings_.grid.font);
}

void TViewConfig::ShowGridTitleClick() {
    settings_.grid.showTitles = ShowGridTitle->isChecked();
}

void TViewConfig::Button1Click() {
    chooseColor(settings_.grid.titleBackgroundColor);
}

void TViewConfig::TitleFontButtonClick() {
    QFont scratch;
    chooseFont(context_.fonts ? context_.fonts->gridTitle : scratch, settings_.grid.titleFont);
}

void TViewConfig::TitleLeftClick() {
    settings_.grid.titleAlignment = 1;
}

void TViewConfig::TitleCenterClick() {
    settings_.grid.titleAlignment = 2;
}

void TViewConfig::TitleRightClick() {
    settings_.grid.titleAlignment = 3;
}

void TViewConfig::ColumnLinesClick() {
    settings_.grid.columnLines = ColumnLines->isChecked();
}

void TViewConfig::RowLinesClick() {
    settings_.grid.rowLines = RowLines->isChecked();
}

void TViewConfig::RowIndicatorClick() {
    settings_.grid.rowIndicator = RowIndicator->isChecked();
}

void TViewConfig::FieldEditingClick() {
    settings_.grid.fieldEditing = FieldEditing->isChecked();
}

void TViewConfig::NewColorBUttonClick() {
    chooseColor(settings_.grid.cellColor);
}

void TViewConfig::NewFontButtonClick() {
    QFont scratch;
    chooseFont(context_.fonts ? context_.fonts->grid : scratch, settings_.grid.font);
}

void TViewConfig::FieldsToDisplayDblClick(int row, int column) {
    if (column != 1) return;
    QTableWidgetItem* item = FieldsToDisplay->item(row, 1);
    item->setText(item->text() == QLatin1String("Yes") ? QStringLiteral("No")
                                                       : QStringLiteral("Yes"));
}

void TViewConfig::swapOrderRows(int row, int other) {
    QTableWidgetItem* a = FieldOrderGrid->takeItem(row, 0);
    QTableWidgetItem* b = FieldOrderGrid->takeItem(other, 0);
    FieldOrderGrid->setItem(row, 0, b);
    FieldOrderGrid->setItem(other, 0, a);
    FieldOrderGrid->setCurrentCell(other, 0);
}

void TViewConfig::OrderUpClick() {
    const int row = FieldOrderGrid->currentRow();
    if (row > 0) swapOrderRows(row, row - 1);
}

void TViewConfig::OrderDownClick() {
    const int row = FieldOrderGrid->currentRow();
    if (row >= 0 && row < FieldOrderGrid->rowCount() - 1) swapOrderRows(row, row + 1);
}

void TViewConfig::OrderDefaultsClick() {
    if (!ui::askYesNo(this, QStringLiteral("Re-Order"),
                      QStringLiteral("This will set the order of fields to the program defaults. "
                                     " Continue?")))
        return;
    setOrderRows(labelsAtOpen_);
}

void TViewConfig::HelpButtonClick() {
    const int page =
        std::clamp(Notebook->currentIndex(), 0, int(kViewConfigHelpKeywords.size()) - 1);
    ui::platform().showHelpKeyword(this, QLatin1String(kViewConfigHelpKeywords[page]));
}

void TViewConfig::ExitButtonClick() {
    accept();
}

QStringList TViewConfig::column(QTableWidget* grid, int column) const {
    QStringList out;
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QTableWidgetItem* item = grid->item(row, column);
        out.append(item ? item->text() : QString());
    }
    return out;
}

bool TViewConfig::FormCloseQuery() {
    const std::optional<QString> repeated = repeatedLabel(column(FieldNameGrid, 1));
    if (!repeated) return true;
    ui::showError(this, QStringLiteral("Two field names have the same name \"") + *repeated +
                            QStringLiteral("\".  Please change one."));
    Notebook->setCurrentIndex(NamesPage);
    FieldNameGrid->setFocus();
    return false;
}

void TViewConfig::FormClose() {
    const QStringList widths = column(FieldWidthGrid, 1);
    const QStringList shown = column(FieldsToDisplay, 1);
    const QStringList names = column(FieldNameGrid, 1);
    for (int row = 0; row < collection::kFieldCount; ++row) {
        collection::FieldSettings& field = settings_.fields[row];
        field.width = widthFromCell(widths[row]);
        if (widths[row].trimmed() != QString::number(field.width))
            FieldWidthGrid->item(row, 1)->setText(QString::number(field.width));
        field.display = shown[row] == QLatin1String("Yes");
    }
    applyOrderRows(settings_.fields, labelsAtOpen_, column(FieldOrderGrid, 0));
    for (int row = 0; row < collection::kFieldCount; ++row)
        settings_.fields[row].label = labelFromCell(names[row]);
}

void TViewConfig::done(int result) {
    if (!closing_) {
        if (!FormCloseQuery()) return;
        closing_ = true;
        FormClose();
    }
    QDialog::done(result);
}

}  // namespace appearance
