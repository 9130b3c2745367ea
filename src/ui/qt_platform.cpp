#include "ui/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStorageInfo>

#include "collection/settings_paths.h"
#include "ui/help_viewer.h"

namespace ui {

namespace {

QMessageBox::StandardButton toStandard(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return QMessageBox::Ok;
        case MessageAnswer::Yes:
            return QMessageBox::Yes;
        case MessageAnswer::No:
            return QMessageBox::No;
        case MessageAnswer::Cancel:
            return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return QMessageBox::NoIcon;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toStandardButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// Closing a box by its window button or Escape counts as its "way out": Cancel when offered,
// otherwise No, otherwise OK.
MessageAnswer escapeAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

QFileDialog::Options dialogOptions(const FileDialogRequest& request) {
    QFileDialog::Options options;
    if (!(request.flags & PromptOverwrite)) options |= QFileDialog::DontConfirmOverwrite;
    return options;
}

// The request's extra choice as a row under the file name (a dialog of Qt's own draws it).
void addOptionRow(QFileDialog& dialog, const FileDialogRequest& request) {
    if (request.options.isEmpty() || !request.chosenOption) return;
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) return;
    auto* combo = new QComboBox(&dialog);
    combo->setObjectName(QStringLiteral("FileDialogOption"));
    combo->addItems(request.options);
    combo->setCurrentIndex(*request.chosenOption);
    auto* label = new QLabel(request.optionCaption, &dialog);
    label->setBuddy(combo);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(combo, row, 1);
    int* chosen = request.chosenOption;
    QObject::connect(combo, &QComboBox::currentIndexChanged, &dialog,
                     [chosen](int index) { *chosen = index; });
}

void configure(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setWindowTitle(request.title);
    if (!request.filter.isEmpty()) dialog.setNameFilter(request.filter);
    if (!request.defaultExtension.isEmpty()) dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOptions(
        dialogOptions(request) |
        (request.options.isEmpty() ? QFileDialog::Options() : QFileDialog::DontUseNativeDialog));
    addOptionRow(dialog, request);
    const QFileInfo start(request.initialPath);
    if (start.isDir()) {
        dialog.setDirectory(start.absoluteFilePath());
    } else if (!request.initialPath.isEmpty()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
}

QString chosenPath(QFileDialog& dialog, const FileDialogRequest& request) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().first();
    if ((request.flags & PathMustExist) && !QFileInfo(path).absoluteDir().exists()) return {};
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

MessageAnswer QtPlatform::messageBox(const MessageBoxRequest& request) {
    QMessageBox box(toQtIcon(request.icon), request.title, request.text,
                    toStandardButtons(request.buttons), request.parent);
    box.setDefaultButton(toStandard(request.defaultAnswer));
    box.setEscapeButton(toStandard(escapeAnswer(request.buttons)));
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        default:
            return escapeAnswer(request.buttons);
    }
}

// The desktop offers one alert sound here; every kind sounds it.
void QtPlatform::playSound(MessageIcon) {
    QApplication::beep();
}

void QtPlatform::beep() {
    QApplication::beep();
}

QString QtPlatform::openFileName(const FileDialogRequest& request) {
    QFileDialog dialog(request.parent);
    configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((request.flags & FileMustExist) ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    return chosenPath(dialog, request);
}

QStringList QtPlatform::openFileNames(const FileDialogRequest& request) {
    QFileDialog dialog(request.parent);
    configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

QString QtPlatform::saveFileName(const FileDialogRequest& request) {
    QFileDialog dialog(request.parent);
    configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return chosenPath(dialog, request);
}

std::optional<FontChoice> QtPlatform::chooseFont(QWidget* parent, const FontChoice& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial.font, parent);
    if (!ok) return std::nullopt;
    return FontChoice{font, initial.color};
}

std::optional<QColor> QtPlatform::chooseColor(QWidget* parent, const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) return std::nullopt;
    return color;
}

bool QtPlatform::printDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPlatform::printerSetupDialog(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QStringList QtPlatform::printerNames() {
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.append(kPdfPrinterName);
    return names;
}

int QtPlatform::defaultPrinterIndex() {
    const QStringList names = printerNames();
    const int index = names.indexOf(QPrinterInfo::defaultPrinterName());
    // Without a system default the PDF output, always last, stands in.
    return index >= 0 ? index : int(names.size()) - 1;
}

void QtPlatform::showHelpContents(QWidget*) {
    openHelp(QString());
}

void QtPlatform::showHelpKeyword(QWidget*, const QString& keyword) {
    openHelp(keyword);
}

void QtPlatform::openHelp(const QString& keyword) {
    // A modal window blocks the mouse and keys of every other window but its own children: the
    // help window becomes a child of the modal window in front (the record editor, a dialog), so
    // it can be read, scrolled and closed while that window stays open. It goes with that window
    // when the window is freed; without a modal window it has no parent.
    QWidget* owner = QApplication::activeModalWidget();
    if (help_ && help_->parentWidget() != owner) help_->setParent(owner, help_->windowFlags());
    if (!help_) {
        help_ = new HelpViewer(owner);
        help_->setAttribute(Qt::WA_DeleteOnClose);
    }
    help_->openAt(collection::programDirectory() + QStringLiteral("/TESSELON.HLP"), keyword);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

QSize QtPlatform::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(640, 480);
}

void QtPlatform::setBusyCursor(bool on) {
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

QImage QtPlatform::clipboardImage() {
    return QGuiApplication::clipboard()->image();
}

QString QtPlatform::clipboardText() {
    return QGuiApplication::clipboard()->text();
}

void QtPlatform::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

int QtPlatform::execModal(QDialog& dialog) {
    return dialog.exec();
}

QDate QtPlatform::today() {
    return QDate::currentDate();
}

qint64 QtPlatform::freeDiskSpace(const QString& path) {
    // The path may name a file not yet written: walk up to the nearest existing folder.
    const QFileInfo info(path);
    QString dir = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    while (!QFileInfo(dir).isDir()) {
        const QString parent = QFileInfo(dir).absolutePath();
        if (parent == dir) return -1;
        dir = parent;
    }
    const QStorageInfo storage(dir);
    if (!storage.isValid() || !storage.isReady()) return -1;
    return storage.bytesAvailable();
}

}  // namespace ui
