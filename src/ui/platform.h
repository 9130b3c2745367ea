// The platform seam: the one interface through which every window reaches the desktop.
//
// Message boxes and their system sounds, the plain beep, the common dialogs (file, font, colour,
// print), the printer list, help, the screen size, the busy cursor, the clipboard, showing a
// window modally, today's date and free disk space all go through `Platform`. No window calls
// QMessageBox, QFileDialog or QDialog::exec() itself: the program installs `QtPlatform`, tests
// install `ScriptedPlatform`, which answers from queues and records what was shown.
//
// Ownership: `setPlatform()` does not take ownership; the caller keeps the object alive while it
// is installed. When none is installed, `platform()` lazily creates a process-wide QtPlatform.
// Everything runs on the user-interface thread.
#pragma once

#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace ui {

// Icon of a message box; the same values name the system sound that can precede it.
enum class MessageIcon { None, Error, Question, Warning, Information };

enum class MessageButtons { Ok, YesNo, YesNoCancel };

enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageBoxRequest {
    QWidget* parent = nullptr;
    MessageIcon icon = MessageIcon::None;
    QString title;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;  // must be one of `buttons`
};

enum FileDialogFlag {
    FileMustExist = 0x1,    // open: only an existing file may be chosen
    PathMustExist = 0x2,    // the folder of the chosen file must exist
    PromptOverwrite = 0x4,  // save: ask before replacing an existing file
};

struct FileDialogRequest {
    QWidget* parent = nullptr;
    QString title;
    QString filter;            // Qt filter syntax: "dBase Files (*.dbf);;All Files (*)"
    QString defaultExtension;  // without dot, added when the chosen name has none
    QString initialPath;       // folder or file to start at
    int flags = 0;             // FileDialogFlag bits
    // A choice offered beside the file name (the code page of a new collection): its caption
    // and items. `chosenOption` names the item shown first and receives the one chosen.
    QString optionCaption;
    QStringList options;
    int* chosenOption = nullptr;
};

// A font with the colour chosen beside it (the system font dialog offers both).
struct FontChoice {
    QFont font;
    QColor color;
};

// Name under which a PDF file output is listed after the system's printers.
inline const QString kPdfPrinterName = QStringLiteral("PDF File");

class Platform {
  public:
    virtual ~Platform() = default;

    // Message boxes. `playSound` sounds the system sound of an icon kind (None: the default
    // sound); `beep` is the plain beep.
    virtual MessageAnswer messageBox(const MessageBoxRequest& request) = 0;
    virtual void playSound(MessageIcon kind) = 0;
    virtual void beep() = 0;

    // File dialogs: the chosen absolute path, or empty when cancelled.
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    virtual QString saveFileName(const FileDialogRequest& request) = 0;
    // An open-file dialog in which several existing files can be chosen at once: their absolute
    // paths, or none when cancelled. By default the one-file dialog.
    virtual QStringList openFileNames(const FileDialogRequest& request) {
        const QString path = openFileName(request);
        return path.isEmpty() ? QStringList() : QStringList{path};
    }

    // Font and colour dialogs: nothing when cancelled.
    virtual std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;

    // Print dialogs work on the caller's printer; false when cancelled.
    virtual bool printDialog(QWidget* parent, QPrinter& printer) = 0;
    virtual bool printerSetupDialog(QWidget* parent, QPrinter& printer) = 0;
    // The system's printers followed by kPdfPrinterName, and the position of the default one.
    virtual QStringList printerNames() = 0;
    virtual int defaultPrinterIndex() = 0;

    // Help: the help document at its contents page, or at a keyword.
    virtual void showHelpContents(QWidget* parent) = 0;
    virtual void showHelpKeyword(QWidget* parent, const QString& keyword) = 0;

    virtual QSize screenSize() = 0;
    // Busy cursor on/off; calls nest, each `true` is matched by one `false`.
    virtual void setBusyCursor(bool on) = 0;
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString& text) = 0;
    // The picture on the clipboard; a null image when it holds none.
    virtual QImage clipboardImage() { return QImage(); }

    // Shows the dialog modally and returns its result code (QDialog::Accepted / Rejected or
    // whatever the dialog passed to done()).
    virtual int execModal(QDialog& dialog) = 0;

    virtual QDate today() = 0;
    // Bytes free on the filesystem holding `path`; -1 when it cannot be found out.
    virtual qint64 freeDiskSpace(const QString& path) = 0;
};

// The installed platform (a QtPlatform unless a test installed another).
Platform& platform();
// Installs `p` (not owned); nullptr goes back to the default QtPlatform. Returns the platform
// installed before (nullptr for the default).
Platform* setPlatform(Platform* p);

// Installs a platform for its own lifetime, then puts back the one installed before.
class ScopedPlatform {
  public:
    explicit ScopedPlatform(Platform& p) : previous_(setPlatform(&p)) {}
    ~ScopedPlatform() { setPlatform(previous_); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

  private:
    Platform* previous_;
};

// Shows the busy cursor for the lifetime of the guard.
class BusyCursor {
  public:
    BusyCursor() : platform_(platform()) { platform_.setBusyCursor(true); }
    ~BusyCursor() { platform_.setBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    Platform& platform_;
};

}  // namespace ui
