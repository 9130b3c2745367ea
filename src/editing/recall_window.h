// The Recall window (Edit "&Recall Deleted Stamps..."): lists the collection's deleted records
// that Pack has not removed, with their catalogue number, country and description, and brings
// back the ones the user selects.
//
// "&Recall" recalls every selected row through the context's `recall` (the main window makes
// the recall one undo step and refreshes its grid), then lists what is still deleted; "&Close"
// (and Escape) closes; "&Help" opens the help at "Recall Deleted Stamps". The table is read
// afresh when the window opens, so records another program deleted are listed too.
#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/table.h"
#include "ui/window_base.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace editing {

struct RecallContext {
    engine::Table* table = nullptr;  // the open collection
    QStringList labels;              // column titles: catalogue number, country, description
    std::function<void(const std::vector<std::uint32_t>&)> recall;
    ui::ShowOptions show;
};

inline const QString kRecallHelpKeyword = QStringLiteral("Recall Deleted Stamps");

class TRecallDeleted : public QDialog {
    Q_OBJECT
  public:
    // Shows the window modally.
    static void Recall(RecallContext context, QWidget* parent);

    TRecallDeleted(RecallContext context, QWidget* parent = nullptr);

    QTableWidget* grid() const { return grid_; }
    void RecallButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void fillList();

    RecallContext context_;
    std::vector<std::uint32_t> shown_;  // record number of each row
    QTableWidget* grid_;
    QLabel* countLabel_;
    QPushButton* recallButton_;
};

}  // namespace editing
