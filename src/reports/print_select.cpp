#include "reports/print_select.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "ui/platform.h"

namespace reports {

TPrintSelect::TPrintSelect(collection::ReportSettings& settings, ui::ShowOptions show,
                           QWidget* parent)
    : QDialog(parent), settings_(settings), show_(show) {
    setObjectName(QStringLiteral("PrintSelect"));
    setWindowTitle(QStringLiteral("Printer Selection"));
    resize(360, 180);

    auto* box = new QGroupBox(this);
    box->setGeometry(12, 8, 336, 112);
    DefaultPrinter = new QRadioButton(QStringLiteral("Default Printer"), box);
    DefaultPrinter->setObjectName(QStringLiteral("DefaultPrinter"));
    DefaultPrinter->setGeometry(12, 12, 200, 22);
    OtherPrinter = new QRadioButton(QStringLiteral("Other Printer"), box);
    OtherPrinter->setObjectName(QStringLiteral("OtherPrinter"));
    OtherPrinter->setGeometry(12, 42, 200, 22);
    PrinterList = new QComboBox(box);
    PrinterList->setObjectName(QStringLiteral("PrinterList"));
    PrinterList->setGeometry(32, 72, 290, 26);

    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(88, 136, 84, 28);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &TPrintSelect::OkButtonClick);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(188, 136, 84, 28);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TPrintSelect::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TPrintSelect::FormShow() {
    ui::ShowOptions options = show_;
    options.geometry = nullptr;
    options.centre = true;
    ui::prepareWindowForShow(this, options);
    (settings_.defaultPrinter ? DefaultPrinter : OtherPrinter)->setChecked(true);
    PrinterList->clear();
    PrinterList->addItems(ui::platform().printerNames());
    const int index = settings_.printerIndex;
    PrinterList->setCurrentIndex(index >= 0 && index < PrinterList->count() ? index : -1);
}

void TPrintSelect::OkButtonClick() {
    settings_.defaultPrinter = DefaultPrinter->isChecked();
    settings_.printerIndex = PrinterList->currentIndex();
    accept();
}

}  // namespace reports
