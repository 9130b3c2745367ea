#include "reports/print_range.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "ui/messages.h"
#include "ui/platform.h"
#include "ui/window_base.h"
#include "ui/window_keys.h"

namespace reports {

namespace {

// The typed page number with spaces ignored; 0 when it is not a number.
int typedPage(const QLineEdit* edit) {
    QString text = edit->text();
    text.remove(QLatin1Char(' '));
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

QLineEdit* pageField(QWidget* parent, const char* name, const QString& caption, int top) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(16, top + 3, 110, 20);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(3);
    edit->setGeometry(130, top, 50, 24);
    label->setBuddy(edit);
    return edit;
}

}  // namespace

TPrintRange::TPrintRange(int pageCount, QWidget* parent) : QDialog(parent), pageCount_(pageCount) {
    setObjectName(QStringLiteral("PrintRange"));
    setWindowTitle(QStringLiteral("Page Printing"));
    ui::installWindowKeys(this);
    setFixedSize(260, 136);
    StartPage = pageField(this, "StartPage", QStringLiteral("Starting Page"), 14);
    EndPage = pageField(this, "EndPage", QStringLiteral("Ending Page"), 46);

    PrintButton = new QPushButton(QStringLiteral("&Print"), this);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));
    PrintButton->setGeometry(36, 90, 84, 28);
    PrintButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(140, 90, 84, 28);
    connect(PrintButton, &QPushButton::clicked, this, &TPrintRange::PrintButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TPrintRange::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    move(ui::centredPosition(frameGeometry().size(), ui::platform().screenSize(), false));
    StartPage->setText(QStringLiteral("1"));
    EndPage->setText(QString::number(pageCount_));
    confirmed_ = false;
    StartPage->setFocus();
}

void TPrintRange::PrintButtonClick() {
    const int first = typedPage(StartPage);
    if (first < 1 || first > pageCount_) {
        ui::showError(this, kInvalidStartPage);
        StartPage->setFocus();
        return;
    }
    const int last = typedPage(EndPage);
    if (last < first || last > pageCount_) {
        ui::showError(this, kInvalidEndPage);
        EndPage->setFocus();
        return;
    }
    first_ = first;
    last_ = last;
    confirmed_ = true;
    accept();
}

}  // namespace reports
