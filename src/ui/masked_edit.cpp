#include "ui/masked_edit.h"

namespace ui {

MaskedEdit::MaskedEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskedEdit::setEditMask(const QString& maskText, QChar dateSeparator) {
    maskText_ = maskText;
    mask_ = translateEditMask(maskText, dateSeparator);
    setInputMask(mask_.qtMask);
    clear();
}

void MaskedEdit::setDateEditMask(const QString& maskText, const collection::DateFormat& dates) {
    QString mask = maskText;
    if (dates.yearFirst()) {
        mask.replace(QStringLiteral("99/99/9999"), QStringLiteral("9999/99/99"));
        mask.replace(QStringLiteral("99/99/0000"), QStringLiteral("0000/99/99"));
    }
    setEditMask(mask, dates.separator());
}

QString MaskedEdit::maskedText() const {
    return mask_.isEmpty() ? text() : maskedTextFromDisplay(mask_, displayText());
}

void MaskedEdit::setMaskedText(const QString& text) {
    setText(mask_.isEmpty() ? text : displayFromMaskedText(mask_, text));
}

bool MaskedEdit::isBlank() const {
    if (mask_.isEmpty()) return text().isEmpty();
    const QString shown = displayText();
    for (int i = 0; i < mask_.layout.size() && i < shown.size(); ++i)
        if (mask_.isInput(i) && shown.at(i) != mask_.blank) return false;
    return true;
}

}  // namespace ui
