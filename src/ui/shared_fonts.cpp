#include "ui/shared_fonts.h"

#include <QWidget>

namespace ui {

SharedFonts SharedFonts::defaults() {
    const QString arial = QStringLiteral("Arial");
    SharedFonts fonts;
    fonts.gridTitle = QFont(arial, 12);
    fonts.grid = QFont(arial, 10);
    fonts.label = QFont(arial);
    fonts.edit = QFont(arial);
    fonts.button = QFont(arial);
    return fonts;
}

const QFont* sharedFontFor(ControlKind kind, const SharedFonts& fonts) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::ListBox:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::GroupBox:
            return &fonts.label;
        case ControlKind::StringGrid:
        case ControlKind::EditBox:
        case ControlKind::MaskedEdit:
        case ControlKind::ComboBox:
            return &fonts.edit;
        case ControlKind::Button:
            return &fonts.button;
        default:
            return nullptr;
    }
}

QFont withFaceOf(const QFont& target, const QFont& shared) {
    QFont font = target;
    font.setFamilies(shared.families().isEmpty() ? QStringList{shared.family()}
                                                 : shared.families());
    font.setBold(shared.bold());
    font.setItalic(shared.italic());
    font.setUnderline(shared.underline());
    font.setStrikeOut(shared.strikeOut());
    return font;
}

void applySharedFonts(QWidget* window, const SharedFonts& fonts) {
    for (QWidget* w : windowComponents(window)) {
        if (const QFont* shared = sharedFontFor(controlKindOf(w), fonts))
            w->setFont(withFaceOf(w->font(), *shared));
    }
}

}  // namespace ui
