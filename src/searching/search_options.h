// TSearchOptions, "Search Options": the small pick window of the search grid. It shows the name
// of the row it serves and a list (the four operators of a number or date row, or the items of
// a pick list); Ok (the default button, also a double-click on an item) accepts the selected
// position, Cancel closes without change.
#pragma once

#include <QDialog>
#include <QStringList>

#include "ui/window_base.h"

class QLabel;
class QListWidget;
class QPushButton;
class QShowEvent;

namespace editing {

class TSearchOptions : public QDialog {
    Q_OBJECT
  public:
    explicit TSearchOptions(QWidget* parent = nullptr);

    void setFieldName(const QString& label);
    // Fills ListBox1 with `items` and selects position `selected` (-1: none).
    void LoadList(const QStringList& items, int selected = -1);
    // The selected position, -1 when none.
    int selectedIndex() const;
    QString selectedText() const;
    void setShowOptions(const ui::ShowOptions& options) { show_ = options; }

    void OkButtonClick() { accept(); }
    void CancelButtonClick() { reject(); }

    QLabel* FieldNameLabel = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ui::ShowOptions show_;
};

}  // namespace editing
