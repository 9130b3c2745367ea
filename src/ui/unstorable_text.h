// Text a collection cannot store, found where it is typed.
//
// A collection keeps its text in the code page of its table (chosen when it is made, Windows-1252
// unless the user picked another). The engine refuses text with characters outside it; the windows
// find such text before they write, so they can name the field and the characters and leave the
// typed text in its box for the user to change.
#pragma once

#include <QString>

#include "engine/codepage.h"

namespace ui {

// The characters of `text` that `cp` cannot hold, each once in order of first appearance,
// separated by spaces ("Ε λ ά δ α"); empty when the whole text can be stored.
QString unstorableCharacters(const QString& text, engine::CodePage cp);

// The refusal for a field's text, naming the field by its label, the characters (as
// unstorableCharacters gives them) and the collection's code page.
QString unstorableTextMessage(const QString& fieldLabel, const QString& characters,
                              engine::CodePage cp);

}  // namespace ui
