// TMySearch: collecting a level from the grid, the buttons, and running the search.
#include <QPushButton>

#include "collection/date_format.h"
#include "searching/my_search.h"
#include "searching/search_grid.h"
#include "engine/table.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace editing {

namespace {

constexpr int kValueColumn = SearchGridWidget::kValueColumn;

}  // namespace

bool TMySearch::SaveFields() {
    SearchGrid->commitEditor();
    std::vector<collection::SearchRowInput> rows;
    rows.reserve(collection::kFieldCount);
    for (int row = 1; row <= collection::kFieldCount; ++row)
        rows.push_back({row, rowOperator(row), SearchGrid->cellText(row, kValueColumn)});
    const collection::LevelResult result =
        collection::addSearchLevel(criteria_, rows, collection::currentDateFormat());
    switch (result.status) {
        case collection::LevelResult::Added:
            return true;
        case collection::LevelResult::Invalid:
            ui::showError(this,
                          QStringLiteral("Invalid search criteria entered.  Please correct."));
            SearchGrid->setCurrentCell(result.failedRow + 1, kValueColumn);
            return false;
        case collection::LevelResult::TooMany:
            ui::showError(this, QStringLiteral("More than ") +
                                    QString::number(collection::kMaxSearchCriteria) +
                                    QStringLiteral(" search items have been entered.  ") +
                                    QStringLiteral("This exceeds the maximum allowable.  Search "
                                                   "criteria will be cleared."));
            ClearSearch();
            return false;
        case collection::LevelResult::NoCriteria:
            ui::showError(this, QStringLiteral("No search criteria entered."));
            SearchGrid->setFocus();
            return false;
    }
    return false;
}

bool TMySearch::Doit() {
    ui::BusyCursor busy;
    engine::Table& table = *context_.table;
    // The new criteria replace the running ones; setting the search-active flag (again) makes
    // the table read its records afresh through them.
    filter_ = collection::SearchFilter(criteria_, table);
    context_.enableEndSearch();
    table.first();
    if (table.eof()) {
        context_.doEndSearch();
        return false;
    }
    context_.setViewerOptions();
    return true;
}

void TMySearch::OkButtonClick() {
    MoreButton->setEnabled(true);
    if (!SaveFields()) return;
    if (Doit()) {
        accept();
        return;
    }
    ui::showNotice(this,
                   QStringLiteral("No valid matches found.  Search criteria will be cleared."));
    ClearSearch();
}

void TMySearch::MoreButtonClick() {
    if (SaveFields()) {
        emptyValueCells();
        ++level_;
        setHeader();
        if (level_ >= collection::kMaxSearchLevels) MoreButton->setEnabled(false);
    }
    SearchGrid->setFocus();
}

void TMySearch::ClearSearch() {
    emptyValueCells();
    criteria_.clear();
    level_ = 1;
    MoreButton->setEnabled(true);
    setHeader();
    SearchGrid->setFocus();
}

void TMySearch::ExitButtonClick() {
    MoreButton->setEnabled(true);
    reject();
}

}  // namespace editing
