// The viewer: grid options from the collection settings, the record count, the search filter and
// the search state, the sort expression, fonts and colours of the main window.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

#include "app/main_window.h"
#include "collection/date_format.h"
#include "collection/number_format.h"
#include "collection/sort_expression.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/grid_columns.h"
#include "ui/window_colors.h"

namespace app {

namespace {

QFont fontOf(const collection::FontSettings& stored, bool withSizeAndEffects) {
    QFont font(stored.name);
    font.setBold(stored.bold);
    font.setItalic(stored.italic);
    if (withSizeAndEffects) {
        font.setPointSize(stored.size > 0 ? stored.size : 10);
        font.setUnderline(stored.underline);
        font.setStrikeOut(stored.strikeout);
    }
    return font;
}

void setTextColors(QWidget* w, const QColor& background, const QColor& text) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, ui::legibleOn(background, text));
    w->setPalette(palette);
}

}  // namespace

ui::GridFormatters TMain::displayFormatters() {
    ui::GridFormatters f;
    // Money and the date follow the display formats in force when the cell is drawn.
    f.number = [this](double value) {
        return collection::formatMoney(value, 0, global_.misc.currencyFormat,
                                       collection::currentRegionalSettings())
            .trimmed();
    };
    f.date = [](engine::Date date) {
        return collection::currentDateFormat().format(QDate(date.year, date.month, date.day));
    };
    f.parseNumber = [this](const QString& text) -> std::optional<double> {
        bool ok = false;
        const double value = collection::machineNumberText(text, global_.misc.currencyFormat,
                                                           collection::currentRegionalSettings())
                                 .toDouble(&ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    };
    f.parseDate = [](const QString& text) -> std::optional<engine::Date> {
        const std::optional<QDate> date = collection::currentDateFormat().parse(text);
        if (!date) return std::nullopt;
        return engine::Date{date->year(), date->month(), date->day()};
    };
    return f;
}

void TMain::applySettingsFonts() {
    fonts_.gridTitle = fontOf(settings_.grid.titleFont, true);
    fonts_.grid = fontOf(settings_.grid.font, true);
    fonts_.label = fontOf(settings_.labelFont, false);
    fonts_.edit = fontOf(settings_.editFont, false);
    fonts_.button = fontOf(settings_.buttonFont, false);
}

void TMain::SetViewerOptions() {
    const collection::GridSettings& g = settings_.grid;
    ui::DataGridOptions options;
    options.rowIndicator = g.rowIndicator;
    options.rowLines = g.rowLines;
    options.columnLines = g.columnLines;
    options.showTitles = g.showTitles;
    options.cellEditing = g.fieldEditing;
    options.gridFont = fonts_.grid;
    options.titleFont = fonts_.gridTitle;
    options.cellColor = ui::colorFromBgr(g.cellColor);
    options.titleColor = ui::colorFromBgr(g.titleBackgroundColor);
    options.gridTextColor = ui::colorFromBgr(g.font.color);
    options.titleTextColor = ui::colorFromBgr(g.titleFont.color);
    options.titleAlignment = g.titleAlignment;

    ui::FieldViewSettings view;
    for (int number = 1; number <= collection::kFieldCount; ++number) {
        const collection::FieldSettings& field = settings_.field(number);
        ui::FieldViewSetting& v = view[number - 1];
        v.shown = field.display;
        v.label = field.label;
        v.widthChars = field.width;
        v.position = field.order;
    }
    // Options first, while the rows are as they were, then columns and rows
    // in one go: each relayout of a million-row grid costs.
    ViewerGrid->applyOptions(options);
    std::vector<ui::GridColumn> columns = ui::layoutColumns(view);
    for (const ui::GridColumn& column : columns) displayLabels_[column.field - 1] = column.label;
    MyDataSource->setColumnsAndReload(std::move(columns));
    markSortColumn();
}

void TMain::refreshViewer() {
    MyDataSource->reload();
}

void TMain::DisplayCount() {
    if (!collectionOpen_ || !MyTable.isOpen()) return;
    CountLabel->setText(QString::number(MyTable.recordCount()));
    refreshStatusTotals();
    showCurrentPictures();
}

// The filter callback is installed only while a search restricts the viewer:
// without one the table shows and counts its rows straight from the index.
void TMain::applyRecordFilter() {
    if (searchActive_)
        MyTable.setFilter([this](const engine::RecordView& record) { return MyTableFilter(record); });
    else
        MyTable.clearFilter();
}

bool TMain::MyTableFilter(const engine::RecordView& record) const {
    if (!searchActive_) return true;
    return !searchCriteria_ || searchCriteria_(record);
}

void TMain::EnableEndSearch() {
    searchActive_ = true;
    applyRecordFilter();
    action(QStringLiteral("MenuEndSearch"))->setEnabled(true);
    findChild<QPushButton*>(QStringLiteral("EndSearchButton"))
        ->setEnabled(global_.misc.buttonBar == 2);
    findChild<QToolButton*>(QStringLiteral("EndSearchSpeed"))->setEnabled(true);
    SearchOnLabel->show();
}

void TMain::DisableEndSearch() {
    searchActive_ = false;
    applyRecordFilter();
    action(QStringLiteral("MenuEndSearch"))->setEnabled(false);
    findChild<QPushButton*>(QStringLiteral("EndSearchButton"))->setEnabled(false);
    findChild<QToolButton*>(QStringLiteral("EndSearchSpeed"))->setEnabled(false);
    SearchOnLabel->hide();
}

// The filter no longer restricts the table once it is re-opened with the flag clear.
void TMain::DoEndSearch() {
    DisableEndSearch();
    OpenMyTable();
    SetViewerOptions();
    DisplayCount();
}

void TMain::BuildSortString() {
    sortExpression_ = collection::BuildSortString(settings_.sortLevels);
}

ui::ShowOptions TMain::showOptions(collection::WindowGroup group) const {
    ui::ShowOptions options;
    options.fonts = &fonts_;
    options.scaleFactor = scaleFactor_;
    options.moveUp =
        group == collection::WindowGroup::Configure || group == collection::WindowGroup::Edit;
    options.colors = &settings_.colorSet(group);
    return options;
}

void TMain::SetColors() {
    const collection::ColorSet& set = settings_.colorSet(collection::WindowGroup::Main);
    const QColor background = ui::colorOf(set, collection::ColorRole::MainBackground);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    // Plain labels (the count) read on any background; the menu bar keeps the platform's colours.
    palette.setColor(QPalette::WindowText,
                     ui::legibleOn(background, QApplication::palette().color(QPalette::WindowText)));
    setPalette(palette);
    setAutoFillBackground(true);
    if (menuBar()) ui::usePlatformColors(menuBar());
    setTextColors(ViewerLabel, background, ui::colorOf(set, collection::ColorRole::MajorTitle));
    setTextColors(NavigatorLabel, background, ui::colorOf(set, collection::ColorRole::MinorTitle));
}

}  // namespace app
