// A platform for tests: answers dialogs and message boxes from queues and records everything
// shown, without blocking and without a display.
//
// Message boxes take the next queued answer; with none queued (or one the box does not offer)
// they take the box's default button, and the record says so. File dialogs take the next queued
// path (none: cancelled, empty path). Font, colour and print dialogs take the next queued choice
// (none: cancelled). `execModal` shows the dialog, runs the next queued modal handler on it (a
// test clicks buttons there), closes it if still open and returns its result. A system sound
// or beep played just before a box is recorded with that box.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "ui/platform.h"

namespace ui {

struct ShownBox {
    std::optional<MessageIcon> sound;  // system sound that preceded the box, if any
    bool beeped = false;               // a plain beep preceded the box
    MessageIcon icon = MessageIcon::None;
    QString title;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
    MessageAnswer answer = MessageAnswer::Ok;
    bool answeredByDefault = false;
};

struct ShownFileDialog {
    bool save = false;
    FileDialogRequest request;
    QString answer;
};

struct ShownModal {
    QString className;
    QString objectName;
    QString title;
    int result = 0;
};

struct HelpRequest {
    bool contents = false;
    QString keyword;
};

struct PrintAnswer {
    int copies = 1;
};

class ScriptedPlatform : public Platform {
  public:
    using ModalHandler = std::function<void(QDialog&)>;

    // --- scripting -------------------------------------------------------------------------
    void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    void queueFilePath(const QString& path) { filePaths_.push_back(path); }
    // The item a file dialog's extra choice (FileDialogRequest::options) takes; unqueued, the
    // item shown first stays.
    void queueFileOption(int option) { fileOptions_.push_back(option); }
    // The answer of the next several-files dialog (one queued entry; empty: cancelled).
    void queueFilePaths(const QStringList& paths) { filePaths_.push_back(paths.join(u'\n')); }
    void setClipboardImage(const QImage& image) { clipboardImage_ = image; }
    void queueFont(std::optional<FontChoice> choice) { fonts_.push_back(std::move(choice)); }
    void queueColor(std::optional<QColor> color) { colors_.push_back(color); }
    void queuePrint(std::optional<PrintAnswer> answer) { prints_.push_back(answer); }
    // Runs on the next dialog shown through execModal (first queued, first used).
    void queueModal(ModalHandler handler) { modals_.push_back(std::move(handler)); }
    // Runs on dialogs shown when no handler is queued; unset: the dialog is just closed.
    void setDefaultModal(ModalHandler handler) { defaultModal_ = std::move(handler); }

    void setScreenSize(QSize size) { screen_ = size; }
    void setToday(QDate date) { today_ = date; }
    void setFreeDiskSpace(qint64 bytes) { freeSpace_ = bytes; }
    void setPrinters(QStringList systemPrinters, int defaultIndex);

    // --- what happened ---------------------------------------------------------------------
    const std::vector<ShownBox>& boxes() const { return boxes_; }
    const std::vector<ShownFileDialog>& fileDialogs() const { return fileDialogs_; }
    const std::vector<ShownModal>& modals() const { return modals_shown_; }
    const std::vector<HelpRequest>& helpRequests() const { return help_; }
    const std::vector<MessageIcon>& soundsPlayed() const { return sounds_; }
    int beeps() const { return beeps_; }
    int busyDepth() const { return busyDepth_; }
    int busyCount() const { return busyCount_; }
    int fontDialogs() const { return fontDialogs_; }
    // What the last font dialog was preset with.
    const FontChoice& lastFontPreset() const { return fontPreset_; }
    int colorDialogs() const { return colorDialogs_; }
    int printDialogs() const { return printDialogs_; }
    // Titles and texts of all boxes shown, as "Title: text" (handy in assertions).
    QStringList boxSummary() const;
    // Anything queued and never used (a test usually wants these empty).
    bool allAnswersUsed() const;
    void clearRecords();

    // --- Platform ---------------------------------------------------------------------------
    MessageAnswer messageBox(const MessageBoxRequest& request) override;
    void playSound(MessageIcon kind) override;
    void beep() override;
    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;
    QStringList openFileNames(const FileDialogRequest& request) override;
    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    bool printDialog(QWidget* parent, QPrinter& printer) override;
    bool printerSetupDialog(QWidget* parent, QPrinter& printer) override;
    QStringList printerNames() override;
    int defaultPrinterIndex() override { return defaultPrinter_; }
    void showHelpContents(QWidget* parent) override;
    void showHelpKeyword(QWidget* parent, const QString& keyword) override;
    QSize screenSize() override { return screen_; }
    void setBusyCursor(bool on) override;
    QString clipboardText() override { return clipboard_; }
    void setClipboardText(const QString& text) override { clipboard_ = text; }
    QImage clipboardImage() override { return clipboardImage_; }
    int execModal(QDialog& dialog) override;
    QDate today() override { return today_; }
    qint64 freeDiskSpace(const QString&) override { return freeSpace_; }

  private:
    QString nextFilePath(bool save, const FileDialogRequest& request);

    std::deque<MessageAnswer> answers_;
    std::deque<QString> filePaths_;
    std::deque<int> fileOptions_;
    std::deque<std::optional<FontChoice>> fonts_;
    std::deque<std::optional<QColor>> colors_;
    std::deque<std::optional<PrintAnswer>> prints_;
    std::deque<ModalHandler> modals_;
    ModalHandler defaultModal_;

    QSize screen_{1024, 768};
    QDate today_{2024, 1, 15};
    qint64 freeSpace_ = qint64(1) << 32;
    QStringList printers_;
    int defaultPrinter_ = 0;
    QString clipboard_;
    QImage clipboardImage_;

    std::vector<ShownBox> boxes_;
    std::vector<ShownFileDialog> fileDialogs_;
    std::vector<ShownModal> modals_shown_;
    std::vector<HelpRequest> help_;
    std::vector<MessageIcon> sounds_;
    FontChoice fontPreset_;
    int beeps_ = 0;
    int busyDepth_ = 0;
    int busyCount_ = 0;
    int fontDialogs_ = 0;
    int colorDialogs_ = 0;
    int printDialogs_ = 0;
    // Sound or beep waiting to be attached to the next box.
    std::optional<MessageIcon> pendingSound_;
    bool pendingBeep_ = false;
};

}  // namespace ui
