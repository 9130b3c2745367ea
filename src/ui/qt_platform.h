// The real platform: Qt message boxes, dialogs, print support, screen, cursor and clipboard.
//
// Message boxes carry exactly the requested title, text and buttons. The help window is one
// HelpViewer, deleted when the user closes it (a platform object may outlive the QApplication,
// and widgets must not), opened on TESSELON.HLP in the program directory (the
// executable's folder, or TESSELLON_PROGRAM_DIR when set). Opened while a modal window is in
// front, it is a child of that window, so that window does not block it. Needs a QApplication.
#pragma once

#include <QPointer>

#include "ui/platform.h"

namespace ui {

class HelpViewer;

class QtPlatform : public Platform {
  public:
    MessageAnswer messageBox(const MessageBoxRequest& request) override;
    void playSound(MessageIcon kind) override;
    void beep() override;

    QString openFileName(const FileDialogRequest& request) override;
    QStringList openFileNames(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;

    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;

    bool printDialog(QWidget* parent, QPrinter& printer) override;
    bool printerSetupDialog(QWidget* parent, QPrinter& printer) override;
    QStringList printerNames() override;
    int defaultPrinterIndex() override;

    void showHelpContents(QWidget* parent) override;
    void showHelpKeyword(QWidget* parent, const QString& keyword) override;

    QSize screenSize() override;
    void setBusyCursor(bool on) override;
    QString clipboardText() override;
    QImage clipboardImage() override;
    void setClipboardText(const QString& text) override;

    int execModal(QDialog& dialog) override;

    QDate today() override;
    qint64 freeDiskSpace(const QString& path) override;

  private:
    void openHelp(const QString& keyword);

    QPointer<HelpViewer> help_;
};

}  // namespace ui
