#include "safekeeping/my_backup.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStorageInfo>
#include <QTreeView>

#include "ui/platform.h"

namespace safekeeping {

namespace {

bool systemMount(const QString& root) {
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib"})
        if (root.startsWith(QLatin1String(prefix)) && !root.startsWith(QLatin1String("/run/media")))
            return true;
    return false;
}

}  // namespace

QStringList backupPlaces() {
    QStringList places{QStringLiteral("/"), QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || systemMount(root)) continue;
        if (!places.contains(root)) places.append(root);
    }
    return places;
}

TMyBackup::TMyBackup(SafekeepingContext context, QWidget* parent)
    : SafekeepingWindow(
          std::move(context), QStringLiteral("Backup"), QStringLiteral("&Start Back Up"),
          QStringLiteral("What To Back Up"),
          {"Current &Database (*.DBF)", "Data &Lists of Current Database (*.0xx)",
           "Config &File of Current Database (*.INI)", "Global &Report Definitions (*.URP)"},
          parent) {
    setObjectName(QStringLiteral("MyBackup"));
    resize(400, 468);
    WhereHeading = addHeading(QStringLiteral("WhereHeading"), QStringLiteral("Where To Back Up To"),
                              176);
    auto* driveLabel = new QLabel(QStringLiteral("Back up to:"), this);
    driveLabel->setObjectName(QStringLiteral("DriveLabel"));
    driveLabel->setGeometry(16, 200, 368, 20);
    DriveBox = new QComboBox(this);
    DriveBox->setObjectName(QStringLiteral("DriveBox"));
    DriveBox->setGeometry(16, 222, 368, 25);
    DriveBox->addItems(backupPlaces());
    driveLabel->setBuddy(DriveBox);
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath(QStringLiteral("/"));
    DirectoryList = new QTreeView(this);
    DirectoryList->setObjectName(QStringLiteral("DirectoryList"));
    DirectoryList->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        DirectoryList->hideColumn(column);
    DirectoryList->header()->hide();
    DirectoryList->setGeometry(16, 254, 368, 160);
    StartButton->setGeometry(16, 426, 120, 28);
    CancelButton->setGeometry(150, 426, 100, 28);
    HelpButton->setGeometry(264, 426, 100, 28);
    connect(DriveBox, &QComboBox::currentIndexChanged, this, &TMyBackup::DriveBoxChange);
    connect(StartButton, &QPushButton::clicked, this, &TMyBackup::StartButtonClick);
}

void TMyBackup::Execute(SafekeepingContext context, QWidget* parent) {
    TMyBackup window(std::move(context), parent);
    ui::platform().execModal(window);
}

void TMyBackup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMyBackup::FormShow() {
    prepareShow();
    selectFolder(context_.host->programDirectory());
}

void TMyBackup::DriveBoxChange() {
    const QString root = DriveBox->currentText();
    const QModelIndex index = folders_->index(root);
    DirectoryList->setRootIndex(index);
    DirectoryList->setCurrentIndex(QModelIndex());
}

QString TMyBackup::selectedFolder() const {
    const QModelIndex current = DirectoryList->currentIndex();
    return current.isValid() ? folders_->filePath(current) : DriveBox->currentText();
}

void TMyBackup::selectFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    // The drive is the longest place that holds the folder.
    int best = 0;
    for (int i = 0; i < DriveBox->count(); ++i) {
        const QString place = DriveBox->itemText(i);
        const bool holds =
            clean == place || place == QLatin1String("/") || clean.startsWith(place + u'/');
        if (holds && place.size() >= DriveBox->itemText(best).size()) best = i;
    }
    DriveBox->setCurrentIndex(best);
    DriveBoxChange();
    const QModelIndex index = folders_->index(clean);
    if (index.isValid()) {
        DirectoryList->setCurrentIndex(index);
        DirectoryList->scrollTo(index);
    }
}

void TMyBackup::StartButtonClick() {
    const QString folder = selectedFolder();
    const SafekeepingGroup group = selectedGroup();
    run([&](Safekeeping& safekeeping) { return safekeeping.backup(group, folder); });
}

}  // namespace safekeeping
