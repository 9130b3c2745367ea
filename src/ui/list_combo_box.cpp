#include "ui/list_combo_box.h"

namespace ui {

ListComboBox::ListComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void ListComboBox::setItems(const QStringList& items) {
    const QString typed = currentText();
    clear();
    addItems(items);
    setEditText(typed);
}

void ListComboBox::appendItem(const QString& item) {
    addItem(item);
}

QStringList ListComboBox::items() const {
    QStringList list;
    list.reserve(count());
    for (int i = 0; i < count(); ++i) list.append(itemText(i));
    return list;
}

}  // namespace ui
