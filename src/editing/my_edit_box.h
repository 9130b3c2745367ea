// TMyEditBox: the list editor, a dialog in which the user adds, deletes and sorts the items of
// one data list.
//
// The caller fills it (`setList`, `setItems`), shows it modally and frees it. Ok writes the
// result: for the nine collection lists the items replace those of both combo boxes of the list
// in the DataListSet; for Faults and Miscellaneous they are written to the shared list file. In
// every case the collection's nine lists are then saved. Cancel (or the close box) changes
// nothing. The dialog only points at the DataListSet, which must outlive it.
//
// The entry box is labelled "&New Item:" (Alt+N reaches it); Enter there adds its text.
#pragma once

#include <QDialog>
#include <QStringList>

#include "ui/window_base.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace editing {

class DataListSet;

class TMyEditBox : public QDialog {
    Q_OBJECT
  public:
    explicit TMyEditBox(DataListSet& lists, QWidget* parent = nullptr);

    // Which list (1..11) is edited: sets the caption, e.g. Edit "Country" List, and the most
    // characters AddInfo takes; empties AddInfo.
    void setList(int list);
    int listNumber() const { return list_; }
    void setItems(const QStringList& items);
    QStringList items() const;
    // Fonts, scale factor and colour set used when the window is shown.
    void setShowOptions(const ui::ShowOptions& options) { show_ = options; }

    void AddButtonClick();
    void DeleteButtonClick();
    void SortButtonClick();
    void OkButtonClick();
    void CancelButtonClick();

    void FormShow();
    void SetColors();
    // Writes the list's items to `path` by the list-file rules.
    void SaveList(const QString& path) const;
    // Replaces the items of both boxes with the list's items.
    void UpdateList(QComboBox* editorBox, QComboBox* mainBox) const;

    QListWidget* TheList = nullptr;
    QLineEdit* AddInfo = nullptr;
    QLabel* AddInfoLabel = nullptr;
    QPushButton* AddButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* SortButton = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* makeButton(const char* name, const QString& caption, int top,
                            void (TMyEditBox::*handler)());

    DataListSet& lists_;
    int list_ = 1;
    ui::ShowOptions show_;
};

}  // namespace editing
