// GridDelegate: paints and edits the viewer grid's cells.
//
// Painting: the standard cell (in a leading column, the cell's background and its image fitted
// and centred in it), then the lines between rows and between columns that are switched
// on. QTableView can only show both kinds of line or neither, so the view's own grid is off and
// the delegate draws each kind on its own (along the bottom and right edge of every cell).
//
// Editing: a list field (Country, Topic, ...) gets a ListComboBox holding a copy of the items of
// its box in the ListComboSource, in the grid's font; other fields get the standard line edit.
// Both show the cell's text whole and let the user type at most the field's schema length
// (ui::limitTyping). The check box of Wanted is the standard check indicator of the item (the
// model makes it checkable).
//
// Ownership: the ListComboSource is not owned and must outlive the delegate (or be reset).
#pragma once

#include <QStyledItemDelegate>

namespace ui {

class ListComboSource;

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit GridDelegate(QObject* parent = nullptr);

    void setListSource(const ListComboSource* source) { source_ = source; }
    void setLines(bool rowLines, bool columnLines);
    bool rowLines() const { return rowLines_; }
    bool columnLines() const { return columnLines_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    // The cell an editor made here edits, and the refusal of its text when the collection cannot
    // store it (empty when it can).
    static QModelIndex cellOf(const QWidget* editor);
    static QString refusalFor(const QWidget* editor);

  private:
    void paintPicture(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const;

    const ListComboSource* source_ = nullptr;
    bool rowLines_ = true;
    bool columnLines_ = true;
};

}  // namespace ui
