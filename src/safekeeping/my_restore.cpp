#include "safekeeping/my_restore.h"

#include <QPushButton>
#include <QShowEvent>

#include "ui/platform.h"

namespace safekeeping {

namespace {

struct RestoreDialog {
    const char* title;
    const char* filter;
    const char* extension;
    const char* initialName;
};

// The open dialog of each group: the backed-up table is picked for the table, the data lists and
// the settings (only its folder and name are used); the report definitions by their own file.
const std::array<RestoreDialog, 4> kDialogs = {{
    {"Restore Database File", "DBase Files (*.DBF *.dbf)", "DBF", ""},
    {"Restore Data List Files", "DBase Files (*.DBF *.dbf)", "DBF", ""},
    {"Restore Configuration File", "DBase Files (*.DBF *.dbf)", "DBF", ""},
    {"Restore URP File", "Reports Files (*.URP *.urp)", "URP", "TESSELON.URP"},
}};

}  // namespace

TMyRestore::TMyRestore(SafekeepingContext context, QWidget* parent)
    : SafekeepingWindow(
          std::move(context), QStringLiteral("Restore"), QStringLiteral("&Start Restore"),
          QStringLiteral("What To Restore"),
          {"&Database File (*.DBF)", "Data &Lists of a Database (*.0xx)",
           "Config &File of a Database (*.INI)", "Global &Report Definitions (*.URP)"},
          parent) {
    setObjectName(QStringLiteral("MyRestore"));
    resize(400, 224);
    StartButton->setGeometry(16, 180, 120, 28);
    CancelButton->setGeometry(150, 180, 100, 28);
    HelpButton->setGeometry(264, 180, 100, 28);
    connect(StartButton, &QPushButton::clicked, this, &TMyRestore::StartButtonClick);
}

void TMyRestore::Execute(SafekeepingContext context, QWidget* parent) {
    TMyRestore window(std::move(context), parent);
    ui::platform().execModal(window);
}

void TMyRestore::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMyRestore::FormShow() {
    prepareShow();
}

void TMyRestore::StartButtonClick() {
    const SafekeepingGroup group = selectedGroup();
    const RestoreDialog& d = kDialogs[std::size_t(group)];
    ui::FileDialogRequest request;
    request.parent = this;
    request.title = QString::fromLatin1(d.title);
    request.filter = QString::fromLatin1(d.filter);
    request.defaultExtension = QString::fromLatin1(d.extension);
    request.initialPath = QString::fromLatin1(d.initialName);
    request.flags = ui::FileMustExist | ui::PathMustExist;
    const QString chosen = ui::platform().openFileName(request);
    if (chosen.isEmpty()) return;
    run([&](Safekeeping& safekeeping) { return safekeeping.restore(group, chosen); });
}

}  // namespace safekeeping
