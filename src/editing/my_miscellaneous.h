// TMyMiscellaneous: the selection window that builds the Miscellaneous or Faults text of the
// record editor from the shared lists "MISC.LST" (kind 1) and "FAULTS.LST" (kind 2).
//
// The caller gives the editor's current text (`setText`) and shows the window modally. When
// shown, the list holds the file's entries in sorted order (letter case not counting); each
// comma-separated entry of the text is selected, and an entry the file lacks is added to the
// list (sorted) and selected, but never written to the file. Ok makes `text()` the selected
// entries in list order joined by ", " (empty when none is selected); Cancel or the close box
// leaves `text()` as it was given. Nothing here writes a file. `Select` does the whole round for
// the record editor's "Select" buttons.
#pragma once

#include <QDialog>
#include <QString>

#include "ui/window_base.h"

class QListWidget;
class QPushButton;

namespace editing {

class TMyMiscellaneous : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMiscellaneous = 1;
    static constexpr int kFaults = 2;

    // `kind`: 1 Miscellaneous, 2 Faults.
    explicit TMyMiscellaneous(int kind, QWidget* parent = nullptr);

    // Shows the window modally on `text` and, on Ok, rewrites `text`. True on Ok.
    static bool Select(int kind, QString& text, QWidget* parent, const ui::ShowOptions& show = {});

    int kind() const { return kind_; }
    void setText(const QString& text) { text_ = text; }
    const QString& text() const { return text_; }
    // Fonts and scale factor used when the window is shown (the window has no colour group).
    void setShowOptions(const ui::ShowOptions& options) { show_ = options; }

    // Fills the list from the kind's shared list file, sorted.
    void LoadList();
    // Row of the entry equal to `text` (letter case counts), or -1.
    int FindMisc(const QString& text) const;

    void OkButtonClick();
    void CancelButtonClick();
    void FormShow();

    QListWidget* MiscList = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QStringList entries() const;
    // Inserts `entry` at its sorted place; returns its row.
    int insertSorted(const QString& entry);
    void selectEntriesOf(const QString& text);

    int kind_;
    QString text_;
    ui::ShowOptions show_;
};

}  // namespace editing
