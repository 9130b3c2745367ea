// What kind of control a widget is, and the components of a window in component order.
//
// The kinds are tested in a fixed order and the first that fits decides: label, list box,
// string grid, check box, edit box, radio button, masked edit box, button, group box, drop-down
// list; then the kinds that only the geometry record and the scaling care about: tabbed notebook
// and frame (a bevel or panel: a QFrame of no other kind, or a plain QWidget container).
//
// A window's components are its widgets in creation (child) order, depth first. The walk enters
// containers (frames, group boxes, plain widgets, tab pages, the content of scroll areas) but
// not the inner parts of composite controls (the edit inside a combo box, a view's scroll bars,
// Qt's own "qt_"-named helpers) nor separate windows. Tab pages themselves are not components.
#pragma once

#include <QList>

class QWidget;

namespace ui {

enum class ControlKind {
    None,
    Label,
    ListBox,
    StringGrid,
    CheckBox,
    EditBox,
    RadioButton,
    MaskedEdit,
    Button,
    GroupBox,
    ComboBox,
    TabbedNotebook,
    Frame,
};

ControlKind controlKindOf(const QWidget* widget);

// Frames have no font of their own to record or scale.
inline bool kindHasFont(ControlKind kind) {
    return kind != ControlKind::None && kind != ControlKind::Frame;
}

// The window's components in component order (the window itself not included).
QList<QWidget*> windowComponents(QWidget* window);

}  // namespace ui
