// RecordNavigator: the row of ten buttons that act on the stamp table shown in a DataGrid:
// first, prior, next, last, insert, delete, edit, post, cancel and refresh.
//
// Each button works on the grid's table through its model and then brings the grid back to the
// table's cursor and emits changed(), so the main window can refresh its count. Delete does not
// delete: it emits deleteRequested() and the main window asks the user and calls deleteCurrent().
// Insert puts the table in insert state and shows the new record as the grid's last row; Post
// writes it (or a record being edited), Cancel drops the change. Refresh re-reads the file.
// setVisibleButtons() chooses which buttons are shown (browse mode shows only the four moves).
// Engine errors arrive through errorOccurred(); none is thrown out of a click.
//
// Ownership: the grid is not owned and must outlive the navigator (or be unbound with nullptr).
#pragma once

#include <QFlags>
#include <QWidget>
#include <array>

class QToolButton;

namespace ui {

class DataGrid;

class RecordNavigator : public QWidget {
    Q_OBJECT
  public:
    enum class Button {
        First = 0x1,
        Prior = 0x2,
        Next = 0x4,
        Last = 0x8,
        Insert = 0x10,
        Delete = 0x20,
        Edit = 0x40,
        Post = 0x80,
        Cancel = 0x100,
        Refresh = 0x200,
    };
    Q_DECLARE_FLAGS(Buttons, Button)
    static constexpr Buttons allButtons() { return Buttons(0x3ff); }
    static constexpr Buttons moveButtons() {
        return Buttons(Button::First) | Button::Prior | Button::Next | Button::Last;
    }

    explicit RecordNavigator(QWidget* parent = nullptr);

    void bind(DataGrid* grid);
    DataGrid* grid() const { return grid_; }

    void setVisibleButtons(Buttons buttons);
    Buttons visibleButtons() const { return visible_; }
    QToolButton* button(Button which) const;

    // Runs the action of a button (what a click does).
    void trigger(Button which);
    // Deletes the current record (after the caller has confirmed it).
    void deleteCurrent();

  signals:
    void changed();
    void deleteRequested();
    void errorOccurred(const QString& message);

  private:
    void act(Button which);
    void afterTableChange(bool rowsChanged);

    DataGrid* grid_ = nullptr;
    std::array<QToolButton*, 10> buttons_{};
    Buttons visible_ = allButtons();
};

Q_DECLARE_OPERATORS_FOR_FLAGS(RecordNavigator::Buttons)

}  // namespace ui
