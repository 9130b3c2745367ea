// The "Collection Statistics" window: what the records in view hold and are worth.
//
// Tabs: "Summary" (stamps, copies, market value, purchase price, gain, wanted stamps, stamps
// without a market value, oldest and newest year); "Breakdown" (one field chosen from Country,
// Year by decade, Condition, Stamp Type, Topic, Group, Gum, Hinged and Wanted: a table sortable
// by any column by clicking its heading, and beside it a bar or pie chart of the 15 largest
// groups by the measure chosen and "Other"); "Over Time" (purchase price and market value
// accumulated by purchase date); "Most Valuable" (the 20 stamps of highest quantity x market
// value; a double-click shows that stamp in the viewer and closes the window). A line at the
// top says which records the figures are of: the whole collection, or the current search.
//
// Buttons: "Export &Table..." writes the breakdown table as shown (CSV); "Export C&hart..."
// writes the breakdown chart as PNG, SVG or PDF; "&Print" prints the table and chart; "&Close";
// "&Help" opens the help document at "Collection Statistics".
//
// All the figures come from one pass over the table (collection_scan.h) when the window is
// made; the file dialogs, messages and printer go through the platform seam.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "collection/color_set.h"
#include "collection/search_filter.h"
#include "statistics/breakdown_rows.h"
#include "statistics/statistics_charts.h"
#include "statistics/statistics_text.h"
#include "ui/window_base.h"

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace statistics {

struct StatisticsContext {
    QString path;                                    // the collection's .DBF
    std::optional<collection::SearchFilter> filter;  // the search in force, if any
    NumberStyle style;
    std::function<QString(int field)> label;         // the viewer's label of field 1..25
    std::function<void(std::uint32_t recNo)> showRecord;  // moves the viewer to a record
    ui::ShowOptions show;
    collection::ColorSet colors;
};

class TStatisticsWindow : public QDialog {
    Q_OBJECT
  public:
    TStatisticsWindow(StatisticsContext context, QWidget* parent = nullptr);
    ~TStatisticsWindow() override;

    // Counts the records (busy cursor) and shows the window modally; a table that cannot be
    // read is told in a message instead.
    static void Execute(StatisticsContext context, QWidget* parent);
    // Counts the records and fills every tab; false (and told) when the table cannot be read.
    bool compute();

    void chooseBreakdown(Breakdown b);
    void chooseChart(ChartKind kind, Measure measure);
    void exportTable();
    void exportChart();
    void print();

    // The groups of the breakdown shown, in the table's order, and the chart's slices.
    const std::vector<GroupTally>& shownGroups() const { return shown_; }
    const std::vector<GroupTally>& chartGroups() const { return slices_; }
    const Summary& summary() const { return stats_->summary(); }

    QLabel* ScopeLabel = nullptr;
    QTabWidget* Tabs = nullptr;
    QTableWidget* SummaryTable = nullptr;
    QComboBox* BreakdownCombo = nullptr;
    QComboBox* ChartKindCombo = nullptr;
    QComboBox* MeasureCombo = nullptr;
    QTableWidget* BreakdownTable = nullptr;
    QChartView* BreakdownChart = nullptr;
    QChartView* PurchasesChart = nullptr;
    QLabel* UndatedLabel = nullptr;
    QTableWidget* ValuableTable = nullptr;
    QPushButton* ExportTableButton = nullptr;
    QPushButton* ExportChartButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QPushButton* HelpButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildSummaryTab();
    void buildBreakdownTab();
    void buildTimeTab();
    void buildValuableTab();
    void fillSummary();
    void fillBreakdown();
    void fillChart();
    void fillTime();
    void fillValuable();
    void tableSorted();
    QString breakdownCaption(Breakdown b) const;
    ChartLook chartLook() const;

    StatisticsContext context_;
    std::unique_ptr<CollectionStatistics> stats_;
    Breakdown breakdown_ = Breakdown::Country;
    ChartKind chartKind_ = ChartKind::Bar;
    Measure measure_ = Measure::Value;
    std::vector<GroupTally> shown_;
    std::vector<GroupTally> slices_;
};

}  // namespace statistics
