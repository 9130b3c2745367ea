// The search window's grid: a string grid whose row 0 and column 0 are fixed, whose column 1
// shows the "..." marker of rows that have a pick window, and whose value cells (column 2, rows
// 1..25) are edited through a masked edit box. The editor is shown whenever a value cell is
// current; its text goes back to the cell when the current cell moves, and on `commitEditor`.
// The window says, per row, which mask the editor takes and whether the row is marked.
//
// A click on the current value cell opens its editor at once, so keys typed right after the
// click reach it (the view's usual wait for a possible double-click would swallow them).
//
// Keys that choose a row's comparison or open its pick window, typed in the value editor or on
// the grid itself, go to `keyChoice` (set by the window): it gets the row and the key and says
// whether it took the key. The window decides which keys mean what.
#pragma once

#include <QTableWidget>
#include <functional>

class QKeyEvent;

namespace editing {

class SearchGridWidget : public QTableWidget {
    Q_OBJECT
  public:
    static constexpr int kValueColumn = 2;
    static constexpr int kMarkerColumn = 1;

    SearchGridWidget(std::function<QString(int row)> maskOf, std::function<bool(int row)> marked,
                     QWidget* parent = nullptr);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    // Writes the open value editor's text into its cell (nothing when none is open).
    void commitEditor();
    // The open value editor, or nullptr.
    QWidget* valueEditor() const;

    std::function<bool(int row, const QKeyEvent& key)> keyChoice;

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class SearchGridDelegate;
    std::function<QString(int row)> maskOf_;
    std::function<bool(int row)> marked_;
};

}  // namespace editing
