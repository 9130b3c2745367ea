// Typing limits for one-line boxes: the most characters the user may type into a box, without
// ever cutting a text the program shows there itself.
//
// QLineEdit::setMaxLength cuts every text, also one the program sets: a stored quantity of 12000
// shown grouped as "12,000" in a box five characters wide would read "12,00". `limitTyping`
// installs a validator instead. An edit by the user may make the text no longer than the width,
// or, when the box already shows more, no longer than it is; characters inserted beyond that are
// cut off the end of the insertion, as setMaxLength cuts them. `showText` puts a text into the
// box whole, whatever its length.
//
// The validator is a child of the box; a box holds one limit (a second call changes its width).
#pragma once

#include <QString>

class QComboBox;
class QLineEdit;

namespace ui {

void limitTyping(QLineEdit* edit, int width);
// The box's typing limit, 0 when it has none.
int typingLimit(const QLineEdit* edit);

// Sets the text whole, past the typing limit if need be.
void showText(QLineEdit* edit, const QString& text);
// The same for the edit text of an editable combo box.
void showText(QComboBox* box, const QString& text);

}  // namespace ui
