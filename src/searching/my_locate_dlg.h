// TMyLocateDlg, the Locate dialog window (caption given by its TMyLocateDialog): the field to
// search on (a sorted, pick-only list of field labels), the search type (case sensitivity and
// the three match types), the value, and the buttons "Fi&rst", "&Next" and Cancel.
//
// "Fi&rst" and "&Next" locate through the component from the first record or from the one after
// the current one; found closes the window accepted, not found tells "No matches found" or
// "No more matches found" and the window stays. Without a chosen field they do nothing.
// Esc and Cancel close without success (the table stays on the record reached so far).
// Choosing a field empties the value and, when chosen from the dropped-down list or by the
// program, moves the focus to it. Keys typed in the closed field list choose as they go ("Cou"
// reaches "Country" letter by letter) and leave the focus there; Enter then moves to the value. While the field list has the focus no button is the default, so Enter there does not
// search; Enter with the list dropped down closes it and moves to the value.
#pragma once

#include <QDialog>

#include "ui/window_base.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;

namespace editing {

class TMyLocateDialog;

class TMyLocateDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TMyLocateDlg(TMyLocateDialog& owner, QWidget* parent = nullptr);

    void FindFirst();
    void FindNextBtnClick();
    void FieldNameComboBoxChange();
    void FieldNameComboBoxEnter();
    void FieldNameComboBoxExit();
    // Makes "&Next" (true) or "Fi&rst" the default button.
    void setNextDefault(bool next);
    void setShowOptions(const ui::ShowOptions& options) { show_ = options; }
    // Chooses the list entry `label` without the change handler running.
    void selectField(const QString& label);
    int matchType() const;  // 0 exact, 1 at beginning, 2 anywhere
    void setMatchType(int type);

    QComboBox* FieldNameComboBox = nullptr;
    QCheckBox* CaseSensitiveCheckBox = nullptr;
    QRadioButton* ExactMatchBtn = nullptr;
    QRadioButton* PartialMatchStartBtn = nullptr;
    QRadioButton* PartialMatchAnyBtn = nullptr;
    QLineEdit* SearchValue = nullptr;
    QPushButton* FirstButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* BitBtn1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void locate(bool fromFirst);

    TMyLocateDialog& owner_;
    ui::ShowOptions show_;
    bool nextDefault_ = true;
    bool selecting_ = false;
    bool typingInList_ = false;  // a key typed in the closed field list is being handled
};

}  // namespace editing
