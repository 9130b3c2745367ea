#include "interchange/import_format.h"

#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "collection/collection_settings.h"
#include "engine/error.h"
#include "engine/table.h"
#include "interchange/delimited_line_reader.h"
#include "interchange/import_run.h"
#include "interchange/my_import.h"
#include "interchange/tellico_import_window.h"
#include "interchange/transfer_error.h"
#include "interchange/window_parts.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace interchange {

TImportFormat::TImportFormat(InterchangeContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("ImportFormat"));
    setWindowTitle(QStringLiteral("Import Format"));
    resize(300, 182);

    AsciiFile = new QRadioButton(QStringLiteral("Ascii Delimited File"), this);
    AsciiFile->setObjectName(QStringLiteral("AsciiFile"));
    AsciiFile->setGeometry(40, 20, 220, 24);
    DBaseFile = new QRadioButton(QStringLiteral("DBase File (DBF)"), this);
    DBaseFile->setObjectName(QStringLiteral("DBaseFile"));
    DBaseFile->setGeometry(40, 52, 220, 24);
    TellicoFile = new QRadioButton(QStringLiteral("Tellico Stamp Collection"), this);
    TellicoFile->setObjectName(QStringLiteral("TellicoFile"));
    TellicoFile->setGeometry(40, 84, 220, 24);

    FileButton = new QPushButton(QStringLiteral("Select &File"), this);
    FileButton->setObjectName(QStringLiteral("FileButton"));
    FileButton->setGeometry(40, 132, 100, 28);
    FileButton->setDefault(true);
    connect(FileButton, &QPushButton::clicked, this, &TImportFormat::FileButtonClick);

    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(160, 132, 100, 28);
    connect(CancelButton, &QPushButton::clicked, this, &TImportFormat::CancelButtonClick);
}

void TImportFormat::ImportData(InterchangeContext context, QWidget* parent) {
    TImportFormat window(std::move(context), parent);
    ui::platform().execModal(window);
}

void TImportFormat::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TImportFormat::FormShow() {
    prepareInterchangeWindow(this, context_.show, false);
    const int kind = context_.settings ? context_.settings->importOptions.fileType : 1;
    (kind == 2 ? DBaseFile : kind == 3 ? TellicoFile : AsciiFile)->setChecked(true);
}

void TImportFormat::FileButtonClick() {
    if (TellicoFile->isChecked())
        DoTellico();
    else if (DBaseFile->isChecked() && !AsciiFile->isChecked())
        DoDBF();
    else
        DoAscii();
}

void TImportFormat::CancelButtonClick() {
    reject();
}

void TImportFormat::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TImportFormat::FormClose() {
    if (!context_.settings) return;
    context_.settings->importOptions.fileType =
        TellicoFile->isChecked()                            ? 3
        : DBaseFile->isChecked() && !AsciiFile->isChecked() ? 2
                                                            : 1;
}

QString TImportFormat::firstLineMessage(int check) {
    QString text = QStringLiteral(
        "The file selected does not appear to be an ASCII delimited text file.  "
        "An ASCII delimited file requires a unique format of each field being "
        "surrounded by double quotes and separated by a comma.  ");
    switch (check) {
        case 1:
            return text + QStringLiteral(
                              "The selected file has a field that is greater than 255 characters.");
        case 2:
            return text + QStringLiteral(
                              "The selected file had an unexpected end of a line most likely due "
                              "to an unmatched quote.");
        default:
            return text + QStringLiteral(
                              "The selected file has too many fields.  "
                              "There are at least 10 more fields than are required by Tessera.");
    }
}

QString TImportFormat::chooseFile(const QString& filter, const QString& extension) {
    ui::FileDialogRequest request;
    request.parent = this;
    request.title = QStringLiteral("Import Data");
    request.filter = filter;
    request.defaultExtension = extension;
    request.flags = ui::FileMustExist | ui::PathMustExist;
    if (context_.lastImportFile) request.initialPath = *context_.lastImportFile;
    const QString path = ui::platform().openFileName(request);
    if (!path.isEmpty() && context_.lastImportFile)
        *context_.lastImportFile = QFileInfo(path).absolutePath();
    return path;
}

void TImportFormat::DoAscii() {
    const QString path =
        chooseFile(QStringLiteral("Ascii Delimited Text (*.TXT *.txt)"), QStringLiteral("TXT"));
    if (path.isEmpty()) return;
    FirstLine line;
    try {
        // The import fields shown are read as the import will read them: text that is not UTF-8
        // in the collection's code page.
        line = readFirstLine(path.toStdString(), context_.table ? context_.table->codePage()
                                                                : engine::CodePage::Cp1252);
    } catch (const TransferError& e) {
        ui::showError(this, QString::fromStdString(e.what()));
        return;
    }
    if (line.check != FirstLineCheck::Passed) {
        ui::showError(this, firstLineMessage(static_cast<int>(line.check)));
        return;
    }
    showImport(1, path, line.names);
}

void TImportFormat::DoDBF() {
    const QString path = chooseFile(QStringLiteral("DBase  (*.DBF *.dbf)"), QStringLiteral("DBF"));
    if (path.isEmpty()) return;
    if (!hasExtension(path, QStringLiteral(".DBF"))) {
        ui::showError(this, QStringLiteral("Invalid file type selected."));
        return;
    }
    std::vector<std::string> names;
    try {
        names = dbfFieldNames(QFileInfo(path).absoluteFilePath().toStdString());
    } catch (const std::exception& e) {  // no table, or no regular file
        ui::showError(this, QString::fromStdString(e.what()));
        return;
    }
    showImport(2, path, names);
}

void TImportFormat::DoTellico() {
    const QString path = chooseFile(QStringLiteral("Tellico (*.tc *.TC *.xml *.XML)"),
                                    QStringLiteral("tc"));
    if (path.isEmpty()) return;
    TellicoSource source;
    try {
        source = readTellicoSource(QFileInfo(path).absoluteFilePath().toStdString());
    } catch (const std::exception& e) {
        ui::showError(this, QString::fromStdString(e.what()));
        return;
    }
    if (const QString refusal = tellicoTypeRefusal(source); !refusal.isEmpty()) {
        ui::showError(this, refusal);
        return;
    }
    TTellicoImport import(context_, QFileInfo(path).absoluteFilePath(), source, this);
    ui::platform().execModal(import);
    accept();
}

void TImportFormat::showImport(int kind, const QString& path,
                               const std::vector<std::string>& names) {
    TMyImport import(context_, kind, QFileInfo(path).absoluteFilePath(), names, this);
    ui::platform().execModal(import);
    accept();  // closing the import window closes this one: back to the main window
}

}  // namespace interchange
