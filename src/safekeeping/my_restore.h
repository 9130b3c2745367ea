// TMyRestore, "Restore": copies one file group back from a backup folder, chosen by picking a
// file there in an open dialog, and makes the program use it at once (a restored table becomes
// the current collection).
#pragma once

#include "safekeeping/safekeeping_window.h"

namespace safekeeping {

class TMyRestore : public SafekeepingWindow {
    Q_OBJECT
  public:
    explicit TMyRestore(SafekeepingContext context, QWidget* parent = nullptr);

    // Shows the window modally.
    static void Execute(SafekeepingContext context, QWidget* parent = nullptr);

    void FormShow();
    void StartButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace safekeeping
