// TMySortOrder: the "Sort Order" window, where the user picks up to four sort levels of the
// current collection.
//
// Each of the four drop-down lists holds "<NONE>" and the 25 field labels in field-number order,
// so a list's position is its level value. Ok applies the chosen levels through
// collection::applySortOrder (exclusive rebuild of the tag "NewIndex", settings written, table
// re-opened shared) and closes the window; when the file is in use or the rebuild fails the
// message is shown, nothing is changed and the window stays open. Cancel closes it unchanged.
//
// The window works on what its caller owns and lends through `SortOrderContext`: the open stamp
// table, the collection's levels (changed only by a successful Ok), the settings writer and the
// viewer refresh. All of it must outlive the window.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

#include "collection/color_set.h"
#include "collection/sort_order.h"
#include "ui/window_base.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace engine {
class Table;
}

namespace app {

struct SortOrderContext {
    engine::Table* table = nullptr;
    QString collectionPath;                    // the collection's .DBF
    collection::SortLevels* levels = nullptr;  // read on showing, written by a successful Ok
    QStringList labels;                        // the 25 field labels, field 1 first
    std::function<void()> writeSettings;       // writes the collection settings
    std::function<void()> reapplyViewer;       // after every re-open (rebuild the sort string
                                               // and re-apply the viewer options)
    collection::ColorSet colors;               // the "Configure Window Color" set
    ui::ShowOptions show;                      // fonts and scale factor
};

class TMySortOrder : public QDialog {
    Q_OBJECT
  public:
    explicit TMySortOrder(SortOrderContext context, QWidget* parent = nullptr);

    // Shows the window modally; true when Ok applied a new order.
    static bool ChooseSortOrder(SortOrderContext context, QWidget* parent = nullptr);

    // The level values the four lists show.
    collection::SortLevels chosenLevels() const;

    void OkButtonClick();
    void CancelButtonClick();
    void FormShow();

    std::array<QComboBox*, 4> combos{};
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    SortOrderContext context_;
};

}  // namespace app
