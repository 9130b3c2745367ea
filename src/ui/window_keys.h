// F1 and Escape in every window.
//
// `installWindowKeys` gives a window the two keys a desktop user expects of it:
// - F1 opens help where the window's own Help command does: the keyword set with
//   `setHelpKeyword`, else a visible, enabled "Help" button or menu command of the window is
//   pressed, else the help's contents page opens.
// - Escape does what the window's Cancel, Exit or Close command does (its button first, then
//   its menu command), so a window that asks before leaving asks on Escape too. A dialog with
//   none of them is rejected as Qt would; a main window (`escapeCloses` false) keeps Escape.
//
// The keys act when the key press reaches the window itself: a control that uses Escape or F1
// (a cell editor, an open list) keeps it. Installing twice is harmless. The window owns the
// filter.
#pragma once

#include <QString>

class QWidget;

namespace ui {

void installWindowKeys(QWidget* window, bool escapeCloses = true);

// The help keyword F1 opens for `window` (and nothing else: its Help button is unchanged).
void setHelpKeyword(QWidget* window, const QString& keyword);

}  // namespace ui
