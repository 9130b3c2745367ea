// The search window's grid: a string grid whose row 0 and column 0 are fixed, whose column 1
// shows the "..." marker of rows that have a pick window, and whose value cells (column 2, rows
// 1..25) are edited through a masked edit box. The editor is shown whenever a value cell is
// current; its text goes back to the cell when the current cell moves, and on `commitEditor`.
// The window says, per row, which mask the editor takes and whether the row is marked.
#pragma once

#include <QTableWidget>
#include <functional>

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

  private:
    friend class SearchGridDelegate;
    std::function<QString(int row)> maskOf_;
    std::function<bool(int row)> marked_;
};

}  // namespace editing
