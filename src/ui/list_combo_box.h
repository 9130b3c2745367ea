// ListComboBox: an editable combo box holding one pick list (Country, Topic, ...).
//
// Its items can be replaced as a whole or appended to; typing a value that is not in the list is
// allowed and does not add it (the pick lists decide what is kept). Typed text is never
// completed or replaced by a listed item: only choosing an item from the drop-down list puts it
// into the box. The box owns nothing beyond its items.
#pragma once

#include <QComboBox>
#include <QStringList>

namespace ui {

class ListComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit ListComboBox(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    void appendItem(const QString& item);
    QStringList items() const;
};

}  // namespace ui
