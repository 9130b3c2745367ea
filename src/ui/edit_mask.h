// Edit masks in the form the windows are written with ("!99/99/9999;1;_", "ccccccccc;1",
// "\> 99/99/0000;1") and their translation to Qt input masks.
//
// A mask text has up to three fields separated by ';': the mask itself, whether literals are kept
// in the text ("0" drops them, anything else or nothing keeps them) and the blank character
// shown in unfilled positions (default '_'). Mask characters: L/l letter, A/a letter or digit,
// C/c any character, 0/9 digit, # digit or sign (capital = required, small = optional;
// 0 required, 9 optional), '>' upper case, '<' lower case, "<>" no case change, '\' makes the
// next character literal, '/' the date separator, ':' the time separator, '_' a space; any other
// character is a literal. Required positions are not enforced (Qt cannot show a blank in one);
// the windows validate what they read. A leading '!' (blanks shown leading rather than trailing)
// has no Qt counterpart and is ignored.
//
// The text a window reads back keeps the literals and shows every unfilled position as a space,
// so an untouched date box reads "  /  /    " ("/  /" once trimmed). A typed character equal to
// the blank character reads as a blank.
#pragma once

#include <QChar>
#include <QString>

namespace ui {

struct EditMask {
    QString qtMask;            // for QLineEdit::setInputMask; empty when there is no mask
    bool keepLiterals = true;  // literals are part of the text read back
    QChar blank = u'_';        // shown in unfilled positions
    QString layout;            // one character per position: the literal, or QChar() for input

    bool isEmpty() const { return layout.isEmpty(); }
    bool isInput(int position) const { return layout.at(position).isNull(); }
};

// Translates a mask text. `dateSeparator` and `timeSeparator` stand for '/' and ':'.
EditMask translateEditMask(const QString& maskText, QChar dateSeparator = u'/',
                           QChar timeSeparator = u':');

// The text read back from an edit's display text (as QLineEdit::displayText() shows it).
QString maskedTextFromDisplay(const EditMask& mask, const QString& displayText);

// The display text for a value in the read-back form (literals present when kept; spaces or
// blank characters in unfilled positions); positions beyond the value stay unfilled.
QString displayFromMaskedText(const EditMask& mask, const QString& text);

}  // namespace ui
