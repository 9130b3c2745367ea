// What the "Backup" and "Restore" windows share: the four group radio buttons, the Start,
// Cancel and Help buttons, the messages of a run shown through the platform seam, and Cancel
// turning into "&Close" (with the focus) after a successful copy.
//
// The windows work on the program through the host in their context (the main window); host and
// colour set must outlive the window.
#pragma once

#include <QDialog>
#include <array>

#include "collection/color_set.h"
#include "safekeeping/safekeeping.h"
#include "ui/window_base.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QGroupBox;

namespace safekeeping {

struct SafekeepingContext {
    SafekeepingHost* host = nullptr;
    collection::ColorSet colors;  // the "Configure Window Color" set
    ui::ShowOptions show;         // fonts and scale factor
};

class SafekeepingWindow : public QDialog {
    Q_OBJECT
  public:
    SafekeepingGroup selectedGroup() const;
    void selectGroup(SafekeepingGroup group);

    void CancelButtonClick();
    void HelpButtonClick();

    std::array<QRadioButton*, 4> groupButtons{};
    QGroupBox* GroupBox = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;

  protected:
    // `captions` are the four radio buttons' texts, table group first.
    SafekeepingWindow(SafekeepingContext context, const QString& title, const QString& startCaption,
                      const std::array<const char*, 4>& captions, QWidget* parent);
    // Scales, centres and colours the window and selects the table group.
    void prepareShow(QList<QWidget*> majorTitles);
    // Runs `work` on a Safekeeping whose messages this window shows; a success turns Cancel
    // into Close.
    void run(const std::function<bool(Safekeeping&)>& work);

    SafekeepingContext context_;
};

}  // namespace safekeeping
