// What the "Backup" and "Restore" windows share: the heading over the four group radio buttons
// (in the Major Title colour, with the window's other headings), the buttons, the Start,
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
    QLabel* WhatHeading = nullptr;  // "What To Back Up" / "What To Restore"
    QGroupBox* GroupBox = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;

  protected:
    // `captions` are the four radio buttons' texts, table group first; `whatHeading` the heading
    // above them. The group box ends 164 pixels from the top; the rest of the window is the
    // subclass's.
    SafekeepingWindow(SafekeepingContext context, const QString& title, const QString& startCaption,
                      const QString& whatHeading, const std::array<const char*, 4>& captions,
                      QWidget* parent);
    // A heading in the Major Title colour at `top`.
    QLabel* addHeading(const QString& objectName, const QString& text, int top);
    // Scales, centres and colours the window (headings in the Major Title colour) and selects
    // the table group.
    void prepareShow();
    // Runs `work` on a Safekeeping whose messages this window shows; a success turns Cancel
    // into Close.
    void run(const std::function<bool(Safekeeping&)>& work);

    SafekeepingContext context_;

  private:
    QList<QWidget*> headings_;
};

}  // namespace safekeeping
