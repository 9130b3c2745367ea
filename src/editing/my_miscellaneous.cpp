#include "editing/my_miscellaneous.h"

#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include "collection/data_list_files.h"
#include "ui/platform.h"

namespace editing {

namespace {

int listNumberOf(int kind) {
    return kind == TMyMiscellaneous::kFaults ? collection::kFaultsList : collection::kMiscList;
}

}  // namespace

TMyMiscellaneous::TMyMiscellaneous(int kind, QWidget* parent)
    : QDialog(parent), kind_(kind == kFaults ? kFaults : kMiscellaneous) {
    setObjectName(QStringLiteral("MyMiscellaneous"));
    setWindowTitle(kind_ == kFaults ? QStringLiteral("Faults") : QStringLiteral("Miscellaneous"));
    resize(300, 330);

    MiscList = new QListWidget(this);
    MiscList->setObjectName(QStringLiteral("MiscList"));
    // Each click toggles one entry.
    MiscList->setSelectionMode(QAbstractItemView::MultiSelection);
    MiscList->setGeometry(10, 10, 280, 270);

    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(60, 292, 84, 28);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &TMyMiscellaneous::OkButtonClick);

    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(156, 292, 84, 28);
    connect(CancelButton, &QPushButton::clicked, this, &TMyMiscellaneous::CancelButtonClick);
}

bool TMyMiscellaneous::Select(int kind, QString& text, QWidget* parent,
                              const ui::ShowOptions& show) {
    TMyMiscellaneous window(kind, parent);
    window.setText(text);
    window.setShowOptions(show);
    if (ui::platform().execModal(window) != QDialog::Accepted) return false;
    text = window.text();
    return true;
}

void TMyMiscellaneous::LoadList() {
    QStringList items = collection::readListFile(collection::defaultListPath(listNumberOf(kind_)));
    collection::sortNoCase(items);
    MiscList->clear();
    MiscList->addItems(items);
}

int TMyMiscellaneous::FindMisc(const QString& text) const {
    for (int row = 0; row < MiscList->count(); ++row)
        if (MiscList->item(row)->text() == text) return row;
    return -1;
}

QStringList TMyMiscellaneous::entries() const {
    QStringList list;
    list.reserve(MiscList->count());
    for (int row = 0; row < MiscList->count(); ++row) list.append(MiscList->item(row)->text());
    return list;
}

int TMyMiscellaneous::insertSorted(const QString& entry) {
    const int row = int(collection::sortedPosition(entries(), entry));
    MiscList->insertItem(row, entry);
    return row;
}

void TMyMiscellaneous::selectEntriesOf(const QString& text) {
    for (const QString& entry : collection::splitSelectionText(text)) {
        int row = FindMisc(entry);
        if (row < 0) row = insertSorted(entry);
        MiscList->item(row)->setSelected(true);
    }
}

void TMyMiscellaneous::OkButtonClick() {
    QStringList selected;
    for (int row = 0; row < MiscList->count(); ++row)
        if (MiscList->item(row)->isSelected()) selected.append(MiscList->item(row)->text());
    text_ = collection::joinSelection(selected);
    accept();
}

void TMyMiscellaneous::CancelButtonClick() {
    reject();
}

void TMyMiscellaneous::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system is shown again spontaneously: it keeps its state.
    if (!event->spontaneous()) FormShow();
}

void TMyMiscellaneous::FormShow() {
    ui::ShowOptions options = show_;
    options.geometry = nullptr;
    options.colors = nullptr;
    options.centre = true;
    ui::prepareWindowForShow(this, options);
    LoadList();
    selectEntriesOf(text_);
}

}  // namespace editing
