#include "ui/messages.h"

namespace ui {

MessageAnswer showMessage(QWidget* parent, const QString& title, const QString& text,
                          MessageButtons buttons, MessageIcon icon, Alert alert,
                          MessageAnswer defaultAnswer) {
    Platform& p = platform();
    if (alert == Alert::KindSound)
        p.playSound(icon);
    else if (alert == Alert::Beep)
        p.beep();
    // A default the box does not offer falls back to its first button.
    if (buttons == MessageButtons::Ok) {
        defaultAnswer = MessageAnswer::Ok;
    } else if (defaultAnswer == MessageAnswer::Ok ||
               (buttons == MessageButtons::YesNo && defaultAnswer == MessageAnswer::Cancel)) {
        defaultAnswer = MessageAnswer::Yes;
    }
    MessageBoxRequest request;
    request.parent = parent;
    request.icon = icon;
    request.title = title;
    request.text = text;
    request.buttons = buttons;
    request.defaultAnswer = defaultAnswer;
    return p.messageBox(request);
}

void showError(QWidget* parent, const QString& text, Alert alert, MessageIcon icon) {
    showMessage(parent, QStringLiteral("Error"), text, MessageButtons::Ok, icon, alert);
}

bool askConfirm(QWidget* parent, const QString& text, Alert alert, MessageIcon icon) {
    return askYesNo(parent, QStringLiteral("Confirm"), text, alert, icon);
}

MessageAnswer askWarning(QWidget* parent, const QString& text, bool withCancel, Alert alert,
                         MessageIcon icon) {
    return showMessage(parent, QStringLiteral("Warning"), text,
                       withCancel ? MessageButtons::YesNoCancel : MessageButtons::YesNo, icon,
                       alert, MessageAnswer::No);
}

void showNotice(QWidget* parent, const QString& text, Alert alert, MessageIcon icon) {
    showMessage(parent, QStringLiteral("Notice"), text, MessageButtons::Ok, icon, alert);
}

bool askYesNo(QWidget* parent, const QString& title, const QString& text, Alert alert,
              MessageIcon icon) {
    return showMessage(parent, title, text, MessageButtons::YesNo, icon, alert,
                       MessageAnswer::Yes) == MessageAnswer::Yes;
}

void showTitled(QWidget* parent, const QString& title, const QString& text) {
    MessageIcon icon = MessageIcon::None;
    if (title == QStringLiteral("Error"))
        icon = MessageIcon::Error;
    else if (title == QStringLiteral("Warning"))
        icon = MessageIcon::Warning;
    else if (title == QStringLiteral("Notice"))
        icon = MessageIcon::Information;
    showMessage(parent, title, text, MessageButtons::Ok, icon);
}

}  // namespace ui
