#include "searching/search_options.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace editing {

TSearchOptions::TSearchOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SearchOptions"));
    setWindowTitle(QStringLiteral("Search Options"));
    resize(260, 300);

    FieldNameLabel = new QLabel(this);
    FieldNameLabel->setObjectName(QStringLiteral("FieldNameLabel"));
    FieldNameLabel->setGeometry(10, 8, 240, 20);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(10, 32, 240, 220);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { OkButtonClick(); });

    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(40, 262, 84, 28);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &TSearchOptions::OkButtonClick);

    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(136, 262, 84, 28);
    connect(CancelButton, &QPushButton::clicked, this, &TSearchOptions::CancelButtonClick);
}

void TSearchOptions::setFieldName(const QString& label) {
    FieldNameLabel->setText(label);
}

void TSearchOptions::LoadList(const QStringList& items, int selected) {
    ListBox1->clear();
    ListBox1->addItems(items);
    if (selected >= 0 && selected < ListBox1->count()) ListBox1->setCurrentRow(selected);
}

int TSearchOptions::selectedIndex() const {
    const QListWidgetItem* item = ListBox1->currentItem();
    return item && item->isSelected() ? ListBox1->row(item) : -1;
}

QString TSearchOptions::selectedText() const {
    const int row = selectedIndex();
    return row >= 0 ? ListBox1->item(row)->text() : QString();
}

void TSearchOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    ui::prepareWindowForShow(this, show_);
    ListBox1->setFocus();
}

}  // namespace editing
