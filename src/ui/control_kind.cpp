#include "ui/control_kind.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

#include "ui/masked_edit.h"

namespace ui {

namespace {

bool isMaskedEdit(const QWidget* w) {
    if (qobject_cast<const MaskedEdit*>(w)) return true;
    const auto* line = qobject_cast<const QLineEdit*>(w);
    return line && !line->inputMask().isEmpty();
}

bool isInsideCombo(const QWidget* w) {
    return qobject_cast<const QComboBox*>(w->parentWidget()) != nullptr;
}

bool isEditBox(const QWidget* w) {
    if (qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w)) return true;
    return qobject_cast<const QLineEdit*>(w) && !isMaskedEdit(w) && !isInsideCombo(w);
}

bool isPlainContainer(const QWidget* w) {
    return w->metaObject() == &QWidget::staticMetaObject;
}

// Qt names the helper widgets it creates inside its own controls "qt_...".
bool isQtHelper(const QWidget* w) {
    return w->objectName().startsWith(QLatin1String("qt_"));
}

// Controls whose children are their own inner parts.
bool isClosed(const QWidget* w, ControlKind kind) {
    switch (kind) {
        case ControlKind::None:
            return qobject_cast<const QAbstractSpinBox*>(w) ||
                   qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QMenuBar*>(w) ||
                   qobject_cast<const QTabBar*>(w);
        case ControlKind::GroupBox:
        case ControlKind::Frame:
            // Scroll areas other than a plain QScrollArea are views with inner parts.
            return qobject_cast<const QAbstractScrollArea*>(w) &&
                   !qobject_cast<const QScrollArea*>(w);
        case ControlKind::TabbedNotebook:
            return false;
        default:
            return true;
    }
}

void collect(QWidget* parent, QList<QWidget*>& out);

void visit(QWidget* w, QList<QWidget*>& out, bool isComponent) {
    const ControlKind kind = controlKindOf(w);
    if (isComponent) out.append(w);
    if (isClosed(w, kind)) return;
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) visit(tabs->widget(i), out, false);
        return;
    }
    if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
        if (scroll->widget()) visit(scroll->widget(), out, false);
        return;
    }
    collect(w, out);
}

void collect(QWidget* parent, QList<QWidget*>& out) {
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow() || isQtHelper(w)) continue;
        visit(w, out, true);
    }
}

}  // namespace

ControlKind controlKindOf(const QWidget* w) {
    if (!w) return ControlKind::None;
    if (qobject_cast<const QLabel*>(w)) return ControlKind::Label;
    if (qobject_cast<const QAbstractItemView*>(w) && !qobject_cast<const QTableView*>(w))
        return ControlKind::ListBox;
    if (qobject_cast<const QTableView*>(w)) return ControlKind::StringGrid;
    if (qobject_cast<const QCheckBox*>(w)) return ControlKind::CheckBox;
    if (isEditBox(w)) return ControlKind::EditBox;
    if (qobject_cast<const QRadioButton*>(w)) return ControlKind::RadioButton;
    if (isMaskedEdit(w)) return ControlKind::MaskedEdit;
    if (qobject_cast<const QPushButton*>(w) || qobject_cast<const QToolButton*>(w))
        return ControlKind::Button;
    if (qobject_cast<const QGroupBox*>(w)) return ControlKind::GroupBox;
    if (qobject_cast<const QComboBox*>(w)) return ControlKind::ComboBox;
    if (qobject_cast<const QTabWidget*>(w)) return ControlKind::TabbedNotebook;
    if (qobject_cast<const QFrame*>(w) || isPlainContainer(w)) return ControlKind::Frame;
    return ControlKind::None;
}

QList<QWidget*> windowComponents(QWidget* window) {
    QList<QWidget*> out;
    if (window) collect(window, out);
    return out;
}

}  // namespace ui
