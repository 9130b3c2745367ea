#include "ui/list_combo_box.h"

namespace ui {

ListComboBox::ListComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // No completion: what is typed stays as typed. An inline completer would fill in the rest of
    // a longer item ("Congo" -> "Congo (Brazzaville)"), and its case-blind matching makes the box
    // take the listed spelling when it is left ("france" -> "France"), so a new value could never
    // be entered. Without a completer the box matches items only letter for letter.
    setCompleter(nullptr);
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
