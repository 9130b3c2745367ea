#include "searching/my_locate_dlg.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>

#include "searching/my_locate_dialog.h"
#include "ui/messages.h"

namespace editing {

TMyLocateDlg::TMyLocateDlg(TMyLocateDialog& owner, QWidget* parent)
    : QDialog(parent), owner_(owner) {
    setObjectName(QStringLiteral("MyLocateDlg"));
    setWindowTitle(QStringLiteral("Locate Value"));
    resize(360, 262);

    auto* fieldGroup = new QGroupBox(QStringLiteral("&Field To Search On"), this);
    fieldGroup->setGeometry(8, 8, 344, 56);
    FieldNameComboBox = new QComboBox(fieldGroup);
    FieldNameComboBox->setObjectName(QStringLiteral("FieldNameComboBox"));
    FieldNameComboBox->setGeometry(10, 22, 324, 24);
    FieldNameComboBox->installEventFilter(this);
    FieldNameComboBox->view()->installEventFilter(this);
    connect(FieldNameComboBox, &QComboBox::currentIndexChanged, this,
            &TMyLocateDlg::FieldNameComboBoxChange);

    auto* typeGroup = new QGroupBox(QStringLiteral("&Search Type"), this);
    typeGroup->setGeometry(8, 70, 344, 104);
    CaseSensitiveCheckBox = new QCheckBox(QStringLiteral("&Case-sensitive"), typeGroup);
    CaseSensitiveCheckBox->setObjectName(QStringLiteral("CaseSensitiveCheckBox"));
    CaseSensitiveCheckBox->setGeometry(10, 20, 200, 20);
    ExactMatchBtn = new QRadioButton(QStringLiteral("&Exact Match"), typeGroup);
    ExactMatchBtn->setObjectName(QStringLiteral("ExactMatchBtn"));
    ExactMatchBtn->setGeometry(10, 40, 300, 20);
    PartialMatchStartBtn =
        new QRadioButton(QStringLiteral("&Partial Match at Beginning"), typeGroup);
    PartialMatchStartBtn->setObjectName(QStringLiteral("PartialMatchStartBtn"));
    PartialMatchStartBtn->setGeometry(10, 60, 300, 20);
    PartialMatchStartBtn->setChecked(true);
    PartialMatchAnyBtn = new QRadioButton(QStringLiteral("Partial Match &Anywhere"), typeGroup);
    PartialMatchAnyBtn->setObjectName(QStringLiteral("PartialMatchAnyBtn"));
    PartialMatchAnyBtn->setGeometry(10, 80, 300, 20);

    auto* valueGroup = new QGroupBox(QStringLiteral("Search &Value"), this);
    valueGroup->setGeometry(8, 180, 344, 40);
    SearchValue = new QLineEdit(valueGroup);
    SearchValue->setObjectName(QStringLiteral("SearchValue"));
    SearchValue->setGeometry(10, 14, 324, 22);
    SearchValue->setMaxLength(255);

    auto makeButton = [this](const char* name, const QString& caption, int left) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 228, 100, 28);
        button->setAutoDefault(false);
        return button;
    };
    FirstButton = makeButton("FirstButton", QStringLiteral("Fi&rst"), 20);
    NextButton = makeButton("NextButton", QStringLiteral("&Next"), 130);
    BitBtn1 = makeButton("BitBtn1", QStringLiteral("Cancel"), 240);
    connect(FirstButton, &QPushButton::clicked, this, &TMyLocateDlg::FindFirst);
    connect(NextButton, &QPushButton::clicked, this, &TMyLocateDlg::FindNextBtnClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TMyLocateDlg::setNextDefault(bool next) {
    nextDefault_ = next;
    NextButton->setDefault(next);
    FirstButton->setDefault(!next);
}

void TMyLocateDlg::selectField(const QString& label) {
    selecting_ = true;
    FieldNameComboBox->setCurrentIndex(FieldNameComboBox->findText(label));
    selecting_ = false;
}

int TMyLocateDlg::matchType() const {
    if (ExactMatchBtn->isChecked()) return 0;
    if (PartialMatchAnyBtn->isChecked()) return 2;
    return 1;
}

void TMyLocateDlg::setMatchType(int type) {
    (type == 0   ? ExactMatchBtn
     : type == 2 ? PartialMatchAnyBtn
                 : PartialMatchStartBtn)
        ->setChecked(true);
}

void TMyLocateDlg::locate(bool fromFirst) {
    const int chosen = FieldNameComboBox->currentIndex();
    if (chosen < 0) return;
    LocateRequest request{FieldNameComboBox->itemData(chosen).toString(), SearchValue->text(),
                          CaseSensitiveCheckBox->isChecked(), LocateMatch(matchType())};
    const LocateResult result = owner_.locate(fromFirst, request);
    if (result == LocateResult::Found) {
        accept();
    } else if (result == LocateResult::NotFound) {
        ui::showMessage(this, kLocateTitle,
                        fromFirst ? QStringLiteral("No matches found")
                                  : QStringLiteral("No more matches found"),
                        ui::MessageButtons::Ok, ui::MessageIcon::Information);
    }
}

void TMyLocateDlg::FindFirst() {
    locate(true);
}

void TMyLocateDlg::FindNextBtnClick() {
    locate(false);
}

void TMyLocateDlg::FieldNameComboBoxChange() {
    if (selecting_) return;
    SearchValue->clear();
    if (!FieldNameComboBox->view()->isVisible() && !typingInList_) SearchValue->setFocus();
}

void TMyLocateDlg::FieldNameComboBoxEnter() {
    NextButton->setDefault(false);
    FirstButton->setDefault(false);
}

void TMyLocateDlg::FieldNameComboBoxExit() {
    setNextDefault(nextDefault_);
}

bool TMyLocateDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FieldNameComboBox) {
        if (event->type() == QEvent::FocusIn) FieldNameComboBoxEnter();
        if (event->type() == QEvent::FocusOut) FieldNameComboBoxExit();
        if (event->type() == QEvent::KeyPress && !typingInList_) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (FieldNameComboBox->currentIndex() >= 0) SearchValue->setFocus();
                return true;
            }
            // The list handles the key as usual (sent again, this filter letting it through);
            // a choice it makes keeps the focus here.
            typingInList_ = true;
            QCoreApplication::sendEvent(FieldNameComboBox, event);
            typingInList_ = false;
            return true;
        }
    } else if (watched == FieldNameComboBox->view() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const QModelIndex current = FieldNameComboBox->view()->currentIndex();
            FieldNameComboBox->hidePopup();
            if (current.isValid()) FieldNameComboBox->setCurrentIndex(current.row());
            SearchValue->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMyLocateDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    ui::prepareWindowForShow(this, show_);
    (FieldNameComboBox->currentIndex() >= 0 ? static_cast<QWidget*>(SearchValue)
                                            : FieldNameComboBox)
        ->setFocus();
}

}  // namespace editing
