// The system's message boxes, shown through the platform seam.
//
// Each helper fixes the title and buttons of one kind of box: "Error" (OK), "Confirm" (Yes/No),
// "Warning" (Yes/No or Yes/No/Cancel, No as default), "Notice" (OK); `showMessage` serves the
// other titles ("Convert", "Re-Order", "Ok", "Finished"). `Alert` says what sounds first: nothing,
// the system sound of the box's icon, or the plain beep. Texts are shown exactly as given.
#pragma once

#include <QString>

#include "ui/platform.h"

class QWidget;

namespace ui {

enum class Alert { None, KindSound, Beep };

// Any box: sounds `alert`, then shows it.
MessageAnswer showMessage(QWidget* parent, const QString& title, const QString& text,
                          MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None, Alert alert = Alert::None,
                          MessageAnswer defaultAnswer = MessageAnswer::Ok);

// "Error", OK.
void showError(QWidget* parent, const QString& text, Alert alert = Alert::None,
               MessageIcon icon = MessageIcon::Error);

// "Confirm", Yes/No with Yes as default; true for Yes.
bool askConfirm(QWidget* parent, const QString& text, Alert alert = Alert::None,
                MessageIcon icon = MessageIcon::Question);

// "Warning", Yes/No (or Yes/No/Cancel) with No as default.
MessageAnswer askWarning(QWidget* parent, const QString& text, bool withCancel = false,
                         Alert alert = Alert::None, MessageIcon icon = MessageIcon::Warning);

// "Notice", OK.
void showNotice(QWidget* parent, const QString& text, Alert alert = Alert::None,
                MessageIcon icon = MessageIcon::Information);

// An OK box under a title a lower layer chose (its failure and notice messages), with the icon
// that title's boxes carry everywhere: "Error" the error icon, "Warning" the warning icon,
// "Notice" the information icon, any other title none.
void showTitled(QWidget* parent, const QString& title, const QString& text);

// Yes/No box under any title (for "Convert", "Re-Order"); true for Yes.
bool askYesNo(QWidget* parent, const QString& title, const QString& text, Alert alert = Alert::None,
              MessageIcon icon = MessageIcon::Question);

}  // namespace ui
