#include "ui/scripted_platform.h"

#include <QDialog>
#include <QPrinter>

namespace ui {

namespace {

bool offers(MessageButtons buttons, MessageAnswer answer) {
    switch (buttons) {
        case MessageButtons::Ok:
            return answer == MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return answer != MessageAnswer::Ok;
    }
    return false;
}

template <typename T>
std::optional<T> takeFront(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<T> front = std::move(queue.front());
    queue.pop_front();
    return front;
}

}  // namespace

void ScriptedPlatform::setPrinters(QStringList systemPrinters, int defaultIndex) {
    printers_ = std::move(systemPrinters);
    defaultPrinter_ = defaultIndex;
}

QStringList ScriptedPlatform::boxSummary() const {
    QStringList lines;
    for (const ShownBox& box : boxes_) lines.append(box.title + QStringLiteral(": ") + box.text);
    return lines;
}

bool ScriptedPlatform::allAnswersUsed() const {
    return answers_.empty() && filePaths_.empty() && fileOptions_.empty() && fonts_.empty() &&
           colors_.empty() && prints_.empty() && modals_.empty();
}

void ScriptedPlatform::clearRecords() {
    boxes_.clear();
    fileDialogs_.clear();
    modals_shown_.clear();
    help_.clear();
    sounds_.clear();
    beeps_ = busyCount_ = fontDialogs_ = colorDialogs_ = printDialogs_ = 0;
    pendingSound_.reset();
    pendingBeep_ = false;
}

MessageAnswer ScriptedPlatform::messageBox(const MessageBoxRequest& request) {
    ShownBox box;
    box.sound = pendingSound_;
    box.beeped = pendingBeep_;
    pendingSound_.reset();
    pendingBeep_ = false;
    box.icon = request.icon;
    box.title = request.title;
    box.text = request.text;
    box.buttons = request.buttons;
    box.defaultAnswer = request.defaultAnswer;
    box.answer = request.defaultAnswer;
    box.answeredByDefault = true;
    if (!answers_.empty()) {
        const MessageAnswer queued = answers_.front();
        answers_.pop_front();
        if (offers(request.buttons, queued)) {
            box.answer = queued;
            box.answeredByDefault = false;
        }
    }
    boxes_.push_back(box);
    return box.answer;
}

void ScriptedPlatform::playSound(MessageIcon kind) {
    sounds_.push_back(kind);
    pendingSound_ = kind;
}

void ScriptedPlatform::beep() {
    ++beeps_;
    pendingBeep_ = true;
}

QString ScriptedPlatform::nextFilePath(bool save, const FileDialogRequest& request) {
    QString path;
    if (!filePaths_.empty()) {
        path = filePaths_.front();
        filePaths_.pop_front();
    }
    if (!request.options.isEmpty() && request.chosenOption && !fileOptions_.empty()) {
        *request.chosenOption = fileOptions_.front();
        fileOptions_.pop_front();
    }
    fileDialogs_.push_back(ShownFileDialog{save, request, path});
    return path;
}

QString ScriptedPlatform::openFileName(const FileDialogRequest& request) {
    return nextFilePath(false, request);
}

QStringList ScriptedPlatform::openFileNames(const FileDialogRequest& request) {
    const QString joined = nextFilePath(false, request);
    return joined.isEmpty() ? QStringList() : joined.split(u'\n');
}

QString ScriptedPlatform::saveFileName(const FileDialogRequest& request) {
    return nextFilePath(true, request);
}

std::optional<FontChoice> ScriptedPlatform::chooseFont(QWidget*, const FontChoice& initial) {
    ++fontDialogs_;
    fontPreset_ = initial;
    return takeFront(fonts_);
}

std::optional<QColor> ScriptedPlatform::chooseColor(QWidget*, const QColor&) {
    ++colorDialogs_;
    return takeFront(colors_);
}

bool ScriptedPlatform::printDialog(QWidget*, QPrinter& printer) {
    ++printDialogs_;
    const std::optional<PrintAnswer> answer = takeFront(prints_);
    if (!answer) return false;
    printer.setCopyCount(answer->copies);
    return true;
}

bool ScriptedPlatform::printerSetupDialog(QWidget*, QPrinter&) {
    ++printDialogs_;
    return takeFront(prints_).has_value();
}

QStringList ScriptedPlatform::printerNames() {
    QStringList names = printers_;
    names.append(kPdfPrinterName);
    return names;
}

void ScriptedPlatform::showHelpContents(QWidget*) {
    help_.push_back(HelpRequest{true, {}});
}

void ScriptedPlatform::showHelpKeyword(QWidget*, const QString& keyword) {
    help_.push_back(HelpRequest{false, keyword});
}

void ScriptedPlatform::setBusyCursor(bool on) {
    if (on) {
        ++busyDepth_;
        ++busyCount_;
    } else if (busyDepth_ > 0) {
        --busyDepth_;
    }
}

int ScriptedPlatform::execModal(QDialog& dialog) {
    const std::size_t index = modals_shown_.size();
    modals_shown_.push_back(ShownModal{QString::fromLatin1(dialog.metaObject()->className()),
                                       dialog.objectName(), dialog.windowTitle(), 0});
    ModalHandler handler = defaultModal_;
    if (!modals_.empty()) {
        handler = std::move(modals_.front());
        modals_.pop_front();
    }
    dialog.setResult(QDialog::Rejected);
    dialog.show();  // runs the window's show event (fonts, scaling, its own FormShow work)
    modals_shown_[index].title = dialog.windowTitle();  // captions are often set when shown
    if (handler) handler(dialog);
    if (dialog.isVisible()) dialog.done(dialog.result());
    // The handler may have opened further modal windows, so refer to this one by index.
    modals_shown_[index].result = dialog.result();
    return dialog.result();
}

}  // namespace ui
