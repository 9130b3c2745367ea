#include "editing/my_edit_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include "collection/data_list_files.h"
#include "editing/data_list_set.h"
#include "ui/messages.h"

namespace editing {

TMyEditBox::TMyEditBox(DataListSet& lists, QWidget* parent) : QDialog(parent), lists_(lists) {
    setObjectName(QStringLiteral("MyEditBox"));
    resize(330, 342);

    TheList = new QListWidget(this);
    TheList->setObjectName(QStringLiteral("TheList"));
    TheList->setSelectionMode(QAbstractItemView::SingleSelection);
    TheList->setGeometry(10, 10, 210, 260);

    TheList->setAccessibleName(QStringLiteral("Items"));

    // The entry box is named on screen and to assistive tools; Alt+N reaches it.
    AddInfoLabel = new QLabel(QStringLiteral("&New Item:"), this);
    AddInfoLabel->setObjectName(QStringLiteral("AddInfoLabel"));
    AddInfoLabel->setGeometry(10, 278, 210, 18);
    AddInfo = new QLineEdit(this);
    AddInfo->setObjectName(QStringLiteral("AddInfo"));
    AddInfo->setAccessibleName(QStringLiteral("New Item"));
    AddInfo->setGeometry(10, 298, 210, 26);
    AddInfoLabel->setBuddy(AddInfo);
    // Enter in the entry box adds its text rather than closing the window.
    connect(AddInfo, &QLineEdit::returnPressed, this, &TMyEditBox::AddButtonClick);

    AddButton = makeButton("AddButton", QStringLiteral("&Add"), 281, &TMyEditBox::AddButtonClick);
    DeleteButton =
        makeButton("DeleteButton", QStringLiteral("&Delete"), 10, &TMyEditBox::DeleteButtonClick);
    SortButton =
        makeButton("SortButton", QStringLiteral("&Sort"), 46, &TMyEditBox::SortButtonClick);
    OkButton = makeButton("OkButton", QStringLiteral("&Ok"), 200, &TMyEditBox::OkButtonClick);
    CancelButton =
        makeButton("CancelButton", QStringLiteral("&Cancel"), 236, &TMyEditBox::CancelButtonClick);
}

QPushButton* TMyEditBox::makeButton(const char* name, const QString& caption, int top,
                                    void (TMyEditBox::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setGeometry(232, top, 88, 28);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void TMyEditBox::setList(int list) {
    const collection::DataListInfo& info = collection::dataList(list);
    list_ = list;
    setWindowTitle(QStringLiteral("Edit \"%1\" List").arg(QString::fromLatin1(info.title)));
    AddInfo->setMaxLength(info.itemWidth);
    AddInfo->clear();
}

void TMyEditBox::setItems(const QStringList& items) {
    TheList->clear();
    TheList->addItems(items);
}

QStringList TMyEditBox::items() const {
    QStringList list;
    list.reserve(TheList->count());
    for (int i = 0; i < TheList->count(); ++i) list.append(TheList->item(i)->text());
    return list;
}

void TMyEditBox::AddButtonClick() {
    const QString item = AddInfo->text().trimmed();
    if (!item.isEmpty()) TheList->addItem(item);
    AddInfo->clear();
    AddInfo->setFocus();
}

void TMyEditBox::DeleteButtonClick() {
    const QList<QListWidgetItem*> selected = TheList->selectedItems();
    if (selected.isEmpty()) return;
    const int row = TheList->row(selected.first());
    delete TheList->takeItem(row);
    if (TheList->count() == 0) {
        TheList->setCurrentRow(-1);
        TheList->clearSelection();
        return;
    }
    // The item that moved into the removed one's place, or the new last one.
    TheList->setCurrentRow(std::min(row, TheList->count() - 1));
}

void TMyEditBox::SortButtonClick() {
    if (!ui::askConfirm(this, QStringLiteral("Are you sure you want to sort the data?  Sorting "
                                             "cannot be undone.")))
        return;
    QStringList sorted = items();
    collection::sortNoCase(sorted);
    setItems(sorted);
    if (TheList->count() > 0) TheList->setCurrentRow(0);
}

void TMyEditBox::OkButtonClick() {
    if (list_ <= collection::kCollectionListCount)
        UpdateList(lists_.editorBox(list_), lists_.mainBox(list_));
    else
        SaveList(collection::defaultListPath(list_));
    lists_.SaveAllLists();
    accept();
}

void TMyEditBox::CancelButtonClick() {
    reject();
}

void TMyEditBox::SaveList(const QString& path) const {
    collection::writeListFile(path, items());
}

void TMyEditBox::UpdateList(QComboBox* editorBox, QComboBox* mainBox) const {
    const QStringList list = items();
    DataListSet::replaceItems(editorBox, list);
    DataListSet::replaceItems(mainBox, list);
}

void TMyEditBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system is shown again spontaneously: it keeps its state.
    if (!event->spontaneous()) FormShow();
}

void TMyEditBox::FormShow() {
    ui::ShowOptions options = show_;
    options.geometry = nullptr;  // created for each use: nothing to put back
    options.centre = true;
    options.moveUp = true;
    options.colors = nullptr;
    ui::prepareWindowForShow(this, options);
    SetColors();
    // Typing goes into the entry box at once; the list is a Tab (or a click) away.
    AddInfo->setFocus();
    if (TheList->count() > 0)
        TheList->setCurrentRow(0);
    else
        TheList->setCurrentRow(-1);
}

void TMyEditBox::SetColors() {
    if (show_.colors) ui::applyColors(this, *show_.colors);
}

}  // namespace editing
