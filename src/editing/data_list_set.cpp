#include "editing/data_list_set.h"

#include <QComboBox>
#include <QFileInfo>

#include "collection/data_list_files.h"

namespace editing {

namespace {

// Adding to an empty editable box would make the new item its text; the typed text stays.
void appendKeepingText(QComboBox* box, const QString& item) {
    const QString typed = box->currentText();
    box->addItem(item);
    if (box->isEditable()) box->setEditText(typed);
}

void appendWhenNew(QComboBox* box, const QString& text) {
    if (!box) return;
    QStringList items = DataListSet::itemsOf(box);
    if (collection::addToList(items, text)) appendKeepingText(box, items.constLast());
}

}  // namespace

void DataListSet::bind(int list, QComboBox* editorBox, QComboBox* mainBox) {
    lists_.at(list - 1) = Pair{editorBox, mainBox};
}

void DataListSet::setBasePath(const QString& basePath) {
    basePath_ = basePath;
}

QComboBox* DataListSet::editorBox(int list) const {
    return lists_.at(list - 1).editor;
}

QComboBox* DataListSet::mainBox(int list) const {
    return lists_.at(list - 1).main;
}

QComboBox* DataListSet::sourceBox(int list) const {
    return editorBox(list) ? editorBox(list) : mainBox(list);
}

void DataListSet::LoadList(const QString& path, QComboBox* editorBox, QComboBox* mainBox) {
    const QStringList items = collection::readListFile(path);
    replaceItems(editorBox, items);
    replaceItems(mainBox, items);
}

void DataListSet::SaveList(const QString& path, QComboBox* editorBox) {
    if (editorBox) collection::writeListFile(path, itemsOf(editorBox));
}

void DataListSet::LoadAllList() {
    // Only the first file decides: a collection with it has its own lists, a
    // missing later file is simply an empty list.
    if (basePath_.isEmpty() || !QFileInfo::exists(collection::collectionListPath(basePath_, 1))) {
        LoadDefaultList();
        return;
    }
    for (int list = 1; list <= collection::kCollectionListCount; ++list)
        LoadList(collection::collectionListPath(basePath_, list), editorBox(list), mainBox(list));
}

void DataListSet::SaveAllLists() {
    if (basePath_.isEmpty()) return;
    for (int list = 1; list <= collection::kCollectionListCount; ++list)
        SaveList(collection::collectionListPath(basePath_, list), sourceBox(list));
}

void DataListSet::LoadDefaultList() {
    for (int list = 1; list <= collection::kCollectionListCount; ++list)
        LoadList(collection::defaultListPath(list), editorBox(list), mainBox(list));
}

void DataListSet::SaveDefaultLists() {
    for (int list = 1; list <= collection::kCollectionListCount; ++list)
        SaveList(collection::defaultListPath(list), sourceBox(list));
}

void DataListSet::AddToList(QComboBox* editorBox) {
    if (editorBox) appendWhenNew(editorBox, editorBox->currentText());
}

void DataListSet::AddToListTwwDB(QComboBox* mainBox, const QString& text) {
    appendWhenNew(mainBox, text);
}

QStringList DataListSet::itemsOf(const QComboBox* box) {
    QStringList items;
    if (!box) return items;
    items.reserve(box->count());
    for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
    return items;
}

void DataListSet::replaceItems(QComboBox* box, const QStringList& items) {
    if (!box) return;
    const QString typed = box->currentText();
    box->clear();
    box->addItems(items);
    if (box->isEditable()) box->setEditText(typed);
}

}  // namespace editing
