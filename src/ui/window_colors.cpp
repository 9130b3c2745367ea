#include "ui/window_colors.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QPalette>
#include <QTableView>
#include <QWidget>
#include <initializer_list>
#include <utility>

#include "ui/control_kind.h"

namespace ui {

namespace {

using RoleColor = std::pair<QPalette::ColorRole, QColor>;

// Sets only the given roles on the widget; the rest stay inherited from its parent.
void setRoles(QWidget* w, std::initializer_list<RoleColor> roles, bool fillBackground = false) {
    QPalette palette;
    for (const RoleColor& rc : roles) palette.setColor(rc.first, rc.second);
    w->setPalette(palette);
    if (fillBackground) w->setAutoFillBackground(true);
}

void setTextPair(QWidget* w, const QColor& background, const QColor& text) {
    setRoles(w, {{QPalette::Base, background},
                 {QPalette::Text, text},
                 {QPalette::Button, background},
                 {QPalette::ButtonText, text}});
}

void setOwnBackground(QWidget* w, const QColor& background, const QColor& text) {
    setRoles(w, {{QPalette::Window, background}, {QPalette::WindowText, text}}, true);
}

void colorGridHeaders(QTableView* grid, const QColor& captions) {
    for (QHeaderView* header : {grid->horizontalHeader(), grid->verticalHeader()})
        setRoles(header, {{QPalette::ButtonText, captions}, {QPalette::WindowText, captions}});
}

}  // namespace

QColor colorFromBgr(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int bgrFromColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

void applyColors(QWidget* window, const ColorSet& set, const QList<QWidget*>& majorTitles,
                 const QList<QWidget*>& minorTitles) {
    const QColor main = colorOf(set, ColorRole::MainBackground);
    setRoles(window, {{QPalette::Window, main}}, true);
    for (QWidget* w : windowComponents(window)) {
        switch (controlKindOf(w)) {
            case ControlKind::Label:
            case ControlKind::Frame:
            case ControlKind::GroupBox:
                setRoles(w, {{QPalette::Window, main}});
                break;
            case ControlKind::EditBox:
            case ControlKind::MaskedEdit:
                setTextPair(w, colorOf(set, ColorRole::EditBackground),
                            colorOf(set, ColorRole::EditText));
                break;
            case ControlKind::ComboBox: {
                const QColor back = colorOf(set, ColorRole::ComboBackground);
                const QColor text = colorOf(set, ColorRole::ComboText);
                setTextPair(w, back, text);
                // The drop-down list is a window of its own and inherits nothing.
                setTextPair(static_cast<QComboBox*>(w)->view(), back, text);
                break;
            }
            case ControlKind::ListBox:
            case ControlKind::StringGrid:
                setRoles(w, {{QPalette::Base, colorOf(set, ColorRole::ListBoxBackground)},
                             {QPalette::Text, colorOf(set, ColorRole::ListBoxText)}});
                if (auto* grid = qobject_cast<QTableView*>(w))
                    colorGridHeaders(grid, colorOf(set, ColorRole::MinorTitle));
                break;
            case ControlKind::RadioButton:
                setOwnBackground(w, colorOf(set, ColorRole::RadioBackground),
                                 colorOf(set, ColorRole::RadioText));
                break;
            case ControlKind::CheckBox:
                setOwnBackground(w, colorOf(set, ColorRole::CheckBackground),
                                 colorOf(set, ColorRole::CheckText));
                break;
            default:
                break;
        }
    }
    // Headings last: they are labels and keep Main Background behind their text colour.
    for (QWidget* w : majorTitles)
        setRoles(w, {{QPalette::Window, main},
                     {QPalette::WindowText, colorOf(set, ColorRole::MajorTitle)}});
    for (QWidget* w : minorTitles)
        setRoles(w, {{QPalette::Window, main},
                     {QPalette::WindowText, colorOf(set, ColorRole::MinorTitle)}});
}

}  // namespace ui
