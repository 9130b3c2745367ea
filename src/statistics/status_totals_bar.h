// The main window's status bar text: stamps, copies, market value and purchase price of the
// records in view, computed off the interface thread (TotalsRunner).
//
// refresh() asks for new figures: the label shows "…" at once and a pass starts a moment later
// (several refreshes in a row make one pass), never while the window is held. hold() is for
// the length of a command: a pass under way is stopped (the command may need the table to
// itself) and refreshes wait; release() of the last hold runs what waited, or the pass that
// was stopped. The request and the number formats are read when the pass starts.
#pragma once

#include <QLabel>
#include <QTimer>
#include <functional>
#include <optional>

#include "statistics/statistics_text.h"
#include "statistics/totals_runner.h"

namespace statistics {

class StatusTotalsBar : public QLabel {
    Q_OBJECT
  public:
    // The records to count; nothing while no collection is open.
    using RequestSource = std::function<std::optional<TotalsRunner::Request>()>;
    using StyleSource = std::function<NumberStyle()>;

    StatusTotalsBar(RequestSource requests, StyleSource style, QWidget* parent = nullptr);

    void refresh();
    void hold();
    void release();
    TotalsRunner& runner() { return runner_; }
    // The figures last shown; none before the first pass ends.
    const std::optional<Summary>& lastSummary() const { return last_; }

  private:
    void startPass();

    RequestSource requests_;
    StyleSource style_;
    TotalsRunner runner_;
    QTimer delay_;
    int holds_ = 0;
    bool waiting_ = false;  // a refresh came while held
    std::optional<Summary> last_;
};

}  // namespace statistics
