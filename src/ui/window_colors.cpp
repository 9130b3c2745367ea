#include "ui/window_colors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QPalette>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "ui/control_kind.h"

namespace ui {

namespace {

using RoleColor = std::pair<QPalette::ColorRole, QColor>;

bool isTextRole(QPalette::ColorRole role) {
    return role == QPalette::WindowText || role == QPalette::Text || role == QPalette::ButtonText;
}

QColor blend(const QColor& from, const QColor& to, double share) {
    auto mix = [share](int a, int b) { return int(a + (b - a) * share + 0.5); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

// Sets only the given roles on the widget; the rest stay inherited from its parent. Text roles
// are drawn legibly on `background` and, for a disabled control, half-way to it.
void setRoles(QWidget* w, std::initializer_list<RoleColor> roles, const QColor& background,
              bool fillBackground = false) {
    QPalette palette;
    for (const RoleColor& rc : roles) {
        if (!isTextRole(rc.first)) {
            palette.setColor(rc.first, rc.second);
            continue;
        }
        const QColor text = legibleOn(background, rc.second);
        palette.setColor(QPalette::Active, rc.first, text);
        palette.setColor(QPalette::Inactive, rc.first, text);
        palette.setColor(QPalette::Disabled, rc.first, blend(text, background, 0.5));
    }
    w->setPalette(palette);
    if (fillBackground) w->setAutoFillBackground(true);
}

void setTextPair(QWidget* w, const QColor& background, const QColor& text) {
    setRoles(w,
             {{QPalette::Base, background},
              {QPalette::Text, text},
              {QPalette::Button, background},
              {QPalette::ButtonText, text}},
             background);
}

// Radio buttons and check boxes: the control (Qt fills it with Button) and its indicator (Base
// behind the mark drawn in Text) in the pair. The indicator's outline is drawn from Window: it
// takes the text colour, so the box shows on any background.
void setOwnBackground(QWidget* w, const QColor& background, const QColor& text) {
    setRoles(w,
             {{QPalette::Window, legibleOn(background, text)},
              {QPalette::Button, background},
              {QPalette::Base, background},
              {QPalette::WindowText, text},
              {QPalette::ButtonText, text},
              {QPalette::Text, text}},
             background, true);
}

void colorGridHeaders(QTableView* grid, const QColor& captions) {
    for (QHeaderView* header : {grid->horizontalHeader(), grid->verticalHeader()}) {
        // The style shades header sections from their Button colour down: judge the captions
        // against the darker end.
        const QColor behind = QApplication::palette(header).color(QPalette::Button).darker(115);
        setRoles(header, {{QPalette::ButtonText, captions}, {QPalette::WindowText, captions}},
                 behind);
    }
}

double luminance(const QColor& c) {
    auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

constexpr double kKeptContrast = 3.0;

QColor legibleOn(const QColor& background, const QColor& text) {
    if (contrastRatio(background, text) >= kKeptContrast) return text;
    for (int step = 1; step <= 20; ++step) {
        for (const QColor& end : {QColor(Qt::black), QColor(Qt::white)}) {
            const QColor moved = blend(text, end, step / 20.0);
            if (contrastRatio(background, moved) >= 4.5) return moved;
        }
    }
    return luminance(background) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
}

void usePlatformColors(QWidget* w) {
    const QPalette platform = QApplication::palette(w);
    QPalette palette;
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            if (r == QPalette::NoRole) continue;
            palette.setBrush(g, r, platform.brush(g, r));
        }
    w->setPalette(palette);
}

QColor colorFromBgr(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int bgrFromColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

void applyColors(QWidget* window, const ColorSet& set, const QList<QWidget*>& majorTitles,
                 const QList<QWidget*>& minorTitles) {
    const QColor main = colorOf(set, ColorRole::MainBackground);
    // Plain labels draw in the platform's text colour; it must read on Main Background.
    const QColor plainText = QApplication::palette().color(QPalette::WindowText);
    setRoles(window, {{QPalette::Window, main}}, main, true);
    for (QWidget* w : windowComponents(window)) {
        switch (controlKindOf(w)) {
            case ControlKind::Label:
            case ControlKind::Frame:
            case ControlKind::GroupBox:
                setRoles(w, {{QPalette::Window, main}, {QPalette::WindowText, plainText}}, main);
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
            case ControlKind::StringGrid: {
                const QColor back = colorOf(set, ColorRole::ListBoxBackground);
                setRoles(w,
                         {{QPalette::Base, back},
                          {QPalette::Text, colorOf(set, ColorRole::ListBoxText)}},
                         back);
                if (auto* grid = qobject_cast<QTableView*>(w))
                    colorGridHeaders(grid, colorOf(set, ColorRole::MinorTitle));
                break;
            }
            case ControlKind::RadioButton:
                setOwnBackground(w, colorOf(set, ColorRole::RadioBackground),
                                 colorOf(set, ColorRole::RadioText));
                break;
            case ControlKind::CheckBox:
                setOwnBackground(w, colorOf(set, ColorRole::CheckBackground),
                                 colorOf(set, ColorRole::CheckText));
                break;
            case ControlKind::TabbedNotebook: {
                // The pages would stay the platform's colour behind headings in the set's.
                auto* notebook = static_cast<QTabWidget*>(w);
                for (int page = 0; page < notebook->count(); ++page)
                    setRoles(notebook->widget(page),
                             {{QPalette::Window, main}, {QPalette::WindowText, plainText}}, main,
                             true);
                break;
            }
            default:
                break;
        }
    }
    // The menu bar is the platform's: its text would otherwise sit on Main Background.
    for (QMenuBar* bar : window->findChildren<QMenuBar*>(Qt::FindDirectChildrenOnly))
        usePlatformColors(bar);
    // Headings last: they are labels and keep Main Background behind their text colour.
    for (QWidget* w : majorTitles)
        setRoles(w,
                 {{QPalette::Window, main},
                  {QPalette::WindowText, colorOf(set, ColorRole::MajorTitle)}},
                 main);
    for (QWidget* w : minorTitles)
        setRoles(w,
                 {{QPalette::Window, main},
                  {QPalette::WindowText, colorOf(set, ColorRole::MinorTitle)}},
                 main);
}

}  // namespace ui
