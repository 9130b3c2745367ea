#include "statistics/statistics_window.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "collection/stamp_schema.h"
#include "engine/error.h"
#include "statistics/collection_scan.h"
#include "ui/messages.h"
#include "ui/platform.h"
#include "ui/window_colors.h"

namespace statistics {

namespace {

constexpr int kMostValuable = 20;

// A cell that sorts by the whole number behind its text (counts, cents, basis points).
class FigureItem : public QTableWidgetItem {
  public:
    FigureItem(const QString& text, std::int64_t figure) : QTableWidgetItem(text) {
        setData(Qt::UserRole, QVariant::fromValue<qlonglong>(figure));
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toLongLong() < other.data(Qt::UserRole).toLongLong();
    }
};

QTableWidgetItem* textItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidget* makeTable(QWidget* parent, const char* name, const QStringList& headings) {
    auto* table = new QTableWidget(0, int(headings.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QChartView* makeChartView(QWidget* parent, const char* name) {
    auto* view = new QChartView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 300);
    return view;
}

}  // namespace

TStatisticsWindow::TStatisticsWindow(StatisticsContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(QStringLiteral("Collection Statistics"));
    auto* layout = new QVBoxLayout(this);
    ScopeLabel = new QLabel(scopeText(context_.filter.has_value()), this);
    ScopeLabel->setObjectName(QStringLiteral("ScopeLabel"));
    QFont bold = ScopeLabel->font();
    bold.setBold(true);
    ScopeLabel->setFont(bold);
    layout->addWidget(ScopeLabel);
    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    layout->addWidget(Tabs, 1);
    buildSummaryTab();
    buildBreakdownTab();
    buildTimeTab();
    buildValuableTab();

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    ExportTableButton = button("ExportTableButton", QStringLiteral("Export &Table..."));
    ExportChartButton = button("ExportChartButton", QStringLiteral("Export C&hart..."));
    PrintButton = button("PrintButton", QStringLiteral("&Print"));
    buttons->addStretch(1);
    CloseButton = button("CloseButton", QStringLiteral("&Close"));
    HelpButton = button("HelpButton", QStringLiteral("&Help"));
    layout->addLayout(buttons);
    connect(ExportTableButton, &QPushButton::clicked, this, [this] { exportTable(); });
    connect(ExportChartButton, &QPushButton::clicked, this, [this] { exportChart(); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { print(); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, [this] {
        ui::platform().showHelpKeyword(this, QStringLiteral("Collection Statistics"));
    });
    resize(980, 620);
}

TStatisticsWindow::~TStatisticsWindow() = default;

void TStatisticsWindow::buildSummaryTab() {
    SummaryTable = makeTable(Tabs, "SummaryTable", {QStringLiteral("Figure"), QStringLiteral("Value")});
    SummaryTable->horizontalHeader()->setStretchLastSection(false);
    SummaryTable->setColumnWidth(0, 220);
    SummaryTable->setColumnWidth(1, 220);
    Tabs->addTab(SummaryTable, QStringLiteral("&Summary"));
}

void TStatisticsWindow::buildBreakdownTab() {
    auto* page = new QWidget(Tabs);
    auto* layout = new QVBoxLayout(page);
    auto* choices = new QHBoxLayout;
    auto combo = [page, choices](const char* name, const QString& caption) {
        auto* label = new QLabel(caption, page);
        auto* box = new QComboBox(page);
        box->setObjectName(QString::fromLatin1(name));
        label->setBuddy(box);
        choices->addWidget(label);
        choices->addWidget(box);
        return box;
    };
    BreakdownCombo = combo("BreakdownCombo", QStringLiteral("&By:"));
    for (Breakdown b : kBreakdowns) BreakdownCombo->addItem(breakdownCaption(b), int(b));
    MeasureCombo = combo("MeasureCombo", QStringLiteral("Chart &of:"));
    for (Measure m : {Measure::Value, Measure::Cost, Measure::Stamps, Measure::Copies})
        MeasureCombo->addItem(measureCaption(m), int(m));
    ChartKindCombo = combo("ChartKindCombo", QStringLiteral("Chart &as:"));
    ChartKindCombo->addItem(QStringLiteral("Bar Chart"), int(ChartKind::Bar));
    ChartKindCombo->addItem(QStringLiteral("Pie Chart"), int(ChartKind::Pie));
    choices->addStretch(1);
    layout->addLayout(choices);
    auto* split = new QSplitter(Qt::Horizontal, page);
    BreakdownTable = makeTable(split, "BreakdownTable", columnHeadings(QString()));
    BreakdownTable->setSortingEnabled(true);
    BreakdownChart = makeChartView(split, "BreakdownChart");
    split->addWidget(BreakdownTable);
    split->addWidget(BreakdownChart);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
    Tabs->addTab(page, QStringLiteral("&Breakdown"));

    connect(BreakdownCombo, &QComboBox::activated, this, [this] {
        chooseBreakdown(Breakdown(BreakdownCombo->currentData().toInt()));
    });
    auto chartChosen = [this] {
        chooseChart(ChartKind(ChartKindCombo->currentData().toInt()),
                    Measure(MeasureCombo->currentData().toInt()));
    };
    connect(ChartKindCombo, &QComboBox::activated, this, chartChosen);
    connect(MeasureCombo, &QComboBox::activated, this, chartChosen);
    // The view sorts first; the groups then follow the rows as shown.
    connect(BreakdownTable->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this] { tableSorted(); }, Qt::QueuedConnection);
}

void TStatisticsWindow::buildTimeTab() {
    auto* page = new QWidget(Tabs);
    auto* layout = new QVBoxLayout(page);
    PurchasesChart = makeChartView(page, "PurchasesChart");
    layout->addWidget(PurchasesChart, 1);
    UndatedLabel = new QLabel(page);
    UndatedLabel->setObjectName(QStringLiteral("UndatedLabel"));
    layout->addWidget(UndatedLabel);
    Tabs->addTab(page, QStringLiteral("&Over Time"));
}

void TStatisticsWindow::buildValuableTab() {
    ValuableTable = makeTable(Tabs, "ValuableTable",
                              {QStringLiteral("Market Value"), QStringLiteral("Quantity"),
                               context_.label ? context_.label(1) : QStringLiteral("Catalog"),
                               context_.label ? context_.label(3) : QStringLiteral("Country"),
                               context_.label ? context_.label(7) : QStringLiteral("Year"),
                               context_.label ? context_.label(2) : QStringLiteral("Description")});
    ValuableTable->setToolTip(QStringLiteral("Double-click a stamp to show it in the viewer."));
    Tabs->addTab(ValuableTable, QStringLiteral("&Most Valuable"));
    connect(ValuableTable, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        const QTableWidgetItem* item = ValuableTable->item(row, 0);
        if (!item || !context_.showRecord) return;
        context_.showRecord(item->data(Qt::UserRole + 1).toUInt());
        accept();
    });
}

QString TStatisticsWindow::breakdownCaption(Breakdown b) const {
    if (b == Breakdown::Decade) return QStringLiteral("Decade");
    const int field = breakdownField(b);
    if (context_.label) return context_.label(field);
    const auto& f = collection::schemaField(field);
    return QString::fromLatin1(f.label.data(), qsizetype(f.label.size()));
}

ChartLook TStatisticsWindow::chartLook() const {
    ChartLook look;
    look.background = ui::colorOf(context_.colors, collection::ColorRole::MainBackground);
    look.text = ui::colorOf(context_.colors, collection::ColorRole::MajorTitle);
    look.font = context_.show.fonts ? context_.show.fonts->label : font();
    if (look.font.pointSize() <= 0) look.font.setPointSize(9);
    return look;
}

bool TStatisticsWindow::compute() {
    CollectionStatistics::Options options;
    options.breakdowns.assign(kBreakdowns.begin(), kBreakdowns.end());
    options.mostValuable = kMostValuable;
    options.purchases = true;
    try {
        ui::BusyCursor busy;
        stats_ = std::make_unique<CollectionStatistics>(
            scanCollection(context_.path.toStdString(),
                           context_.filter ? &*context_.filter : nullptr, options));
    } catch (const engine::EngineError& e) {
        ui::showError(this, QString::fromUtf8(e.what()));
        return false;
    }
    fillSummary();
    fillBreakdown();
    fillTime();
    fillValuable();
    return true;
}

void TStatisticsWindow::fillSummary() {
    const auto lines = summaryLines(stats_->summary(), context_.style);
    SummaryTable->setRowCount(int(lines.size()));
    for (int row = 0; row < int(lines.size()); ++row) {
        SummaryTable->setItem(row, 0, textItem(lines[std::size_t(row)].first));
        auto* value = textItem(lines[std::size_t(row)].second);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SummaryTable->setItem(row, 1, value);
    }
}

void TStatisticsWindow::chooseBreakdown(Breakdown b) {
    breakdown_ = b;
    BreakdownCombo->setCurrentIndex(BreakdownCombo->findData(int(b)));
    fillBreakdown();
}

void TStatisticsWindow::chooseChart(ChartKind kind, Measure measure) {
    chartKind_ = kind;
    measure_ = measure;
    ChartKindCombo->setCurrentIndex(ChartKindCombo->findData(int(kind)));
    MeasureCombo->setCurrentIndex(MeasureCombo->findData(int(measure)));
    fillChart();
}

void TStatisticsWindow::fillBreakdown() {
    if (!stats_) return;
    shown_ = stats_->groups(breakdown_);
    sortGroups(shown_, Column::Value, true);
    const Tally total = totalOf(shown_);
    BreakdownTable->setSortingEnabled(false);
    BreakdownTable->clearContents();
    BreakdownTable->setHorizontalHeaderLabels(columnHeadings(breakdownCaption(breakdown_)));
    BreakdownTable->setRowCount(int(shown_.size()));
    const NumberStyle& style = context_.style;
    for (int row = 0; row < int(shown_.size()); ++row) {
        const GroupTally& g = shown_[std::size_t(row)];
        auto* name = textItem(QString::fromStdString(g.name));
        name->setData(Qt::UserRole + 1, row);  // the group's place in shown_
        BreakdownTable->setItem(row, 0, name);
        const std::int64_t share = shareBasisPoints(g.tally.valueCents, total.valueCents);
        const std::pair<QString, std::int64_t> cells[] = {
            {style.count(g.tally.stamps), g.tally.stamps},
            {style.count(g.tally.copies), g.tally.copies},
            {style.money(g.tally.valueCents), g.tally.valueCents},
            {style.money(g.tally.costCents), g.tally.costCents},
            {style.money(g.tally.gainCents()), g.tally.gainCents()},
            {QString::fromStdString(shareText(share)), share}};
        for (int c = 0; c < 6; ++c)
            BreakdownTable->setItem(row, c + 1, new FigureItem(cells[c].first, cells[c].second));
    }
    BreakdownTable->horizontalHeader()->blockSignals(true);
    BreakdownTable->horizontalHeader()->setSortIndicator(int(Column::Value), Qt::DescendingOrder);
    BreakdownTable->horizontalHeader()->blockSignals(false);
    BreakdownTable->setSortingEnabled(true);
    BreakdownTable->resizeColumnsToContents();
    fillChart();
}

void TStatisticsWindow::tableSorted() {
    std::vector<GroupTally> ordered;
    ordered.reserve(shown_.size());
    for (int row = 0; row < BreakdownTable->rowCount(); ++row) {
        const QTableWidgetItem* item = BreakdownTable->item(row, 0);
        if (!item) return;
        ordered.push_back(shown_.at(std::size_t(item->data(Qt::UserRole + 1).toInt())));
    }
    shown_ = std::move(ordered);
    for (int row = 0; row < BreakdownTable->rowCount(); ++row)
        BreakdownTable->item(row, 0)->setData(Qt::UserRole + 1, row);
}

void TStatisticsWindow::fillChart() {
    if (!stats_) return;
    slices_ = chartSlices(shown_, measure_);
    QChart* old = BreakdownChart->chart();
    BreakdownChart->setChart(breakdownChart(
        slices_, measure_, chartKind_,
        breakdownCaption(breakdown_) + QStringLiteral(": ") + measureCaption(measure_),
        chartLook()));
    delete old;
}

void TStatisticsWindow::fillTime() {
    const Purchases purchases = stats_->purchases();
    QChart* old = PurchasesChart->chart();
    PurchasesChart->setChart(purchasesChart(purchases, chartLook()));
    delete old;
    UndatedLabel->setText(purchases.undated == 0
                              ? QString()
                              : context_.style.count(purchases.undated) +
                                    QStringLiteral(" stamps without a purchase date are not in "
                                                   "the chart."));
}

void TStatisticsWindow::fillValuable() {
    const std::vector<ValuableStamp> top = stats_->mostValuable();
    ValuableTable->setRowCount(int(top.size()));
    for (int row = 0; row < int(top.size()); ++row) {
        const ValuableStamp& s = top[std::size_t(row)];
        auto* value = new FigureItem(context_.style.money(s.valueCents), s.valueCents);
        value->setData(Qt::UserRole + 1, s.recNo);
        ValuableTable->setItem(row, 0, value);
        ValuableTable->setItem(row, 1, new FigureItem(context_.style.count(s.quantity), s.quantity));
        ValuableTable->setItem(row, 2, textItem(QString::fromStdString(s.catalog)));
        ValuableTable->setItem(row, 3, textItem(QString::fromStdString(s.country)));
        ValuableTable->setItem(row, 4, textItem(s.year ? QString::number(s.year) : QString()));
        ValuableTable->setItem(row, 5, textItem(QString::fromStdString(s.description)));
    }
    ValuableTable->resizeColumnsToContents();
}

void TStatisticsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    ui::ShowOptions options = context_.show;
    options.geometry = nullptr;
    options.colors = &context_.colors;
    options.majorTitles = {ScopeLabel};
    ui::prepareWindowForShow(this, options);
}

void TStatisticsWindow::Execute(StatisticsContext context, QWidget* parent) {
    TStatisticsWindow window(std::move(context), parent);
    if (!window.compute()) return;
    ui::platform().execModal(window);
}

}  // namespace statistics
