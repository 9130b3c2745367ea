// Driving the main window's record editor and list editor from a test: typing into the editor's
// controls by their names, pressing its buttons, and reading what the main window's list boxes
// and grid show.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include "app/main_window.h"
#include "editing/data_list_set.h"
#include "editing/my_edit.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"
#include "ui/list_combo_box.h"
#include "ui/masked_edit.h"

namespace app::testing {

inline editing::TMyEdit& asEditor(QDialog& dialog) {
    return dynamic_cast<editing::TMyEdit&>(dialog);
}

// Types `text` into the editor control named `name` (text box, list box or the date box).
inline void typeInto(QDialog& dialog, const char* name, const QString& text) {
    if (auto* combo = dialog.findChild<QComboBox*>(name))
        combo->setEditText(text);
    else if (auto* date = dialog.findChild<ui::MaskedEdit*>(name))
        date->setMaskedText(text);
    else if (auto* edit = dialog.findChild<QLineEdit*>(name))
        edit->setText(text);
    else
        ADD_FAILURE() << "no control " << name;
}

inline QString shownIn(QDialog& dialog, const char* name) {
    if (auto* combo = dialog.findChild<QComboBox*>(name)) return combo->currentText();
    if (auto* edit = dialog.findChild<QLineEdit*>(name)) return edit->text();
    ADD_FAILURE() << "no control " << name;
    return {};
}

inline void press(QDialog& dialog, const char* buttonName) {
    auto* button = dialog.findChild<QPushButton*>(buttonName);
    ASSERT_NE(button, nullptr) << buttonName;
    button->click();
}

// The items of the main window's in-grid list box `name` (e.g. "MyComboCountry").
inline QStringList mainListItems(TMain& w, const char* name) {
    return editing::DataListSet::itemsOf(w.findChild<QComboBox*>(name));
}

// The items of the record editor's list box of list 1..9.
inline QStringList editorListItems(TMain& w, int list) {
    return editing::DataListSet::itemsOf(w.recordEditor()->dataLists().editorBox(list));
}

// The text the grid shows for `field` in `row`.
inline QString gridText(TMain& w, int row, int field) {
    auto* model = w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    for (int column = 0; column < model->columnCount(); ++column)
        if (model->fieldAt(column) == field)
            return model->data(model->index(row, column)).toString();
    return {};
}

// The Catalog column of the grid, top to bottom.
inline QStringList gridCatalogs(TMain& w) {
    auto* model = w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row) out << gridText(w, row, 1);
    return out;
}

inline ui::DataGrid* viewerGrid(TMain& w) {
    return w.findChild<ui::DataGrid*>(QStringLiteral("ViewerGrid"));
}

}  // namespace app::testing
