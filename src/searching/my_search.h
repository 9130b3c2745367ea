// TMySearch, "Search": the query-by-example window. Beside each of the 25 stamp fields the user
// types a criterion; "&Find More" keeps the level and starts the next (up to 10), "&Ok" runs the
// search and closes the window when a record passes.
//
// The window only collects the grid's cells (collection::addSearchLevel does the converting and
// the limits) and runs the search through the main window: running prepares a
// collection::SearchFilter for the main table, sets the search-active flag (EnableEndSearch) and
// moves the table to its first passing record; from then on the main table's filter callback
// asks `BuildFilter` of every record until End Search. With no record passing, the search is
// ended (DoEndSearch), "No valid matches found.  Search criteria will be cleared." is shown and
// the window stays open with its cells cleared.
//
// Life cycle: created once by the main window, shown modally many times. Each showing starts a
// fresh collection (no criteria, level 1, empty cells); the operator chosen for each number or
// date row is kept for the run. The search in force is replaced only when a new search runs:
// opening the window and leaving with "E&xit" (or with a refused or failed collection) leaves
// the running search, and with it what the viewer shows, as it was.
//
// Grid `SearchGrid`: row 0 holds the headers, rows 1..25 the fields in field-number order;
// column 0 the field labels, column 1 the "..." marker of rows with a pick window (number, date
// and pick-list rows, Faults and Miscellaneous), column 2 the value cells, edited through a
// masked edit whose mask follows the row's kind and operator (`SearchGridGetEditMask`).
// Pick windows (`TSearchOptions`) open on a click in the marker column: the four operators for a
// number or date row, the record editor's item list for a pick-list row, the shared
// FAULTS.LST / MISC.LST entries for Faults and Miscellaneous.
//
// From the keyboard: in a number or date row, typing "=", ">" or "<" (in the value cell or on
// the row) chooses that comparison; F4 or Alt+Down in a row with a pick window, or Enter or
// Space on its "..." cell, opens that window. A line under the grid (`LevelsNote`) tells how
// levels combine.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "collection/search_criteria.h"
#include "collection/search_filter.h"
#include "collection/stamp_schema.h"
#include "ui/geometry_record.h"

class QKeyEvent;
class QLabel;
class QPushButton;
class QTableWidget;
class QShowEvent;

namespace collection {
struct CollectionSettings;
}
namespace engine {
class Table;
class RecordView;
}  // namespace engine
namespace ui {
struct SharedFonts;
}

namespace editing {

class SearchGridWidget;

// What the search window works on; everything belongs to the main window.
struct MySearchContext {
    engine::Table* table = nullptr;  // MyTable
    std::function<bool()> searchActive;
    std::function<void()> enableEndSearch;   // EnableEndSearch
    std::function<void()> doEndSearch;       // DoEndSearch
    std::function<void()> setViewerOptions;  // SetViewerOptions (the grid re-reads the table)
    // The record editor's items for a pick-list field (3, 9, 10, 11, 12, 13, 16).
    std::function<QStringList(int field)> pickList;
    const collection::CollectionSettings* collection = nullptr;  // labels, colours; may be null
    const ui::SharedFonts* fonts = nullptr;                      // may be nullptr
    const double* scaleFactor = nullptr;                         // nullptr: 1.0
};

class TMySearch : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRows = 26;

    explicit TMySearch(const MySearchContext& context, QWidget* parent = nullptr);
    ~TMySearch() override;

    // The record test of the search in force (the main window's filter callback calls it).
    bool BuildFilter(const engine::RecordView& record) const { return filter_.passes(record); }
    // The record test in force (a copy may be used on another thread).
    const collection::SearchFilter& filter() const { return filter_; }

    // --- operations and handlers -------------------------------------------------------
    bool SaveFields();
    bool Doit();
    void ClearSearch();
    void OkButtonClick();
    void ExitButtonClick();
    void ClearButtonClick() { ClearSearch(); }
    void MoreButtonClick();
    void HelpButtonClick();
    void SetColors();
    QString SearchGridGetEditMask(int row) const;
    void SearchGridMouseDown(int row, int column);
    void SearchGridMouseUp(int row, int column);
    // A key typed on a row (in its value editor or on the grid): true when it chose the row's
    // comparison or opened its pick window. The choice itself runs once the key is handled.
    bool SearchGridKeyChoice(int row, const QKeyEvent& key);

    // --- state --------------------------------------------------------------------------
    const collection::SearchCriteria& criteria() const { return criteria_; }
    int level() const { return level_; }
    int rowOperator(int row) const { return operators_.at(std::size_t(row - 1)); }
    // True for rows with the "..." marker.
    bool hasPickWindow(int row) const;

    SearchGridWidget* SearchGrid = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* MoreButton = nullptr;
    QPushButton* ClearButton = nullptr;
    QPushButton* ExitButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QLabel* LevelsNote = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    void layoutGrid();
    void setHeader();
    void emptyValueCells();
    QString fieldLabel(int field) const;
    QStringList pickItems(int field) const;
    void openPickWindow(int row);
    void openOperatorWindow(int row);
    void openListWindow(int row);
    void setRowOperator(int row, int op);

    MySearchContext context_;
    ui::GeometryRecord geometry_;
    int designRowHeight_ = 0;
    collection::SearchCriteria criteria_;
    collection::SearchFilter filter_;
    int level_ = 1;
    std::array<int, collection::kFieldCount> operators_{};
    int pressedRow_ = -1;
    int pressedColumn_ = -1;
};

}  // namespace editing
