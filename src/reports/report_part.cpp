#include "reports/report_part.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>

#include "collection/stamp_schema.h"
#include "reports/layout_geometry.h"
#include "reports/line_refit.h"
#include "reports/user_report.h"
#include "ui/messages.h"
#include "ui/platform.h"
#include "ui/typing_limit.h"
#include "ui/window_base.h"

namespace reports {

const QStringList& totalNames() {
    static const QStringList names = {QStringLiteral("Market Value"),
                                      QStringLiteral("Purchase Price"), QStringLiteral("Quantity")};
    return names;
}

namespace {

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption, int top) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(12, top, 200, 22);
    return button;
}

QLineEdit* labelledEdit(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int limit) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(left, top, width, 18);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(left, top + 20, width, 24);
    ui::limitTyping(edit, limit);
    label->setBuddy(edit);
    return edit;
}

}  // namespace

TReportPart::TReportPart(const ReportLine& line, int row, int entry, int reportWidth,
                         const QStringList& fieldLabels, ui::ShowOptions show, QWidget* parent)
    : QDialog(parent),
      line_(line),
      row_(row),
      entry_(entry),
      reportWidth_(reportWidth),
      show_(std::move(show)) {
    setObjectName(QStringLiteral("ReportPart"));
    setWindowTitle(QStringLiteral("Select Report Part"));
    resize(460, 300);

    auto* kinds = new QGroupBox(this);
    kinds->setGeometry(12, 12, 220, 96);
    RadioFiller = radio(kinds, "RadioFiller", QStringLiteral("Filler (empty space)"), 8);
    RadioLabel = radio(kinds, "RadioLabel", QStringLiteral("Label (constant value)"), 36);
    RadioField = radio(kinds, "RadioField", QStringLiteral("Field (database value)"), 64);
    for (QRadioButton* button : {RadioFiller, RadioLabel, RadioField})
        connect(button, &QRadioButton::clicked, this, &TReportPart::RadioClick);

    auto* listCaption = new QLabel(QStringLiteral("Fields"), this);
    listCaption->setGeometry(248, 12, 200, 18);
    FieldList = new QListWidget(this);
    FieldList->setObjectName(QStringLiteral("FieldList"));
    FieldList->setGeometry(248, 32, 200, 176);
    listCaption->setBuddy(FieldList);

    FieldWidth = labelledEdit(this, "FieldWidth", QStringLiteral("Width"), 12, 116, 60, 3);
    LabelName =
        labelledEdit(this, "LabelName", QStringLiteral("Label Name"), 84, 116, 148, kLabelLength);

    auto* selected = new QGroupBox(QStringLiteral("Selected Part"), this);
    selected->setGeometry(12, 170, 220, 48);
    SelPartLabel = new QLabel(selected);
    SelPartLabel->setObjectName(QStringLiteral("SelPartLabel"));
    SelPartLabel->setGeometry(10, 20, 200, 20);

    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(132, 250, 88, 28);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(240, 250, 88, 28);
    connect(OkButton, &QPushButton::clicked, this, &TReportPart::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    if (totals()) {
        FieldList->addItems(totalNames());
        names_ = totalNames();
    } else {
        for (int n = 1; n <= collection::kFieldCount; ++n) {
            FieldList->addItem(fieldLabels.value(n - 1));
            const auto name = collection::schemaField(n).name;
            names_ << QString::fromLatin1(name.data(), qsizetype(name.size()));
        }
    }
    FormShow();
}

bool TReportPart::totals() const {
    return row_ == kTotalsRow;
}

void TReportPart::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    ui::prepareWindowForShow(this, designerShowOptions(show_));
    FieldWidth->setFocus();
}

int TReportPart::GetField() const {
    const QString& name = line_[entry_].name;
    for (int row = 0; row < names_.size(); ++row)
        if (names_[row].compare(name, Qt::CaseInsensitive) == 0) return row;
    return -1;
}

void TReportPart::FormShow() {
    const LineEntry& entry = line_[entry_];
    const QString position = QString::number(entry_ + 1);
    SelPartLabel->setText(totals() ? QStringLiteral("Totals Line, Item ") + position
                                   : QStringLiteral("Line %1, Item %2").arg(row_).arg(position));
    if (entry.isLabel()) {
        RadioLabel->setChecked(true);
        ui::showText(LabelName, entry.label);
    } else if (entry.isFiller()) {
        RadioFiller->setChecked(true);
    } else {
        RadioField->setChecked(true);
        // A name the list does not know (a damaged record) falls back to the field number;
        // with neither, nothing is selected and Ok keeps the entry's field as it is.
        int row = GetField();
        if (row < 0 && entry.fieldNumber >= 1 && entry.fieldNumber <= names_.size())
            row = entry.fieldNumber - 1;
        if (row >= 0) FieldList->setCurrentRow(row);
    }
    ui::showText(FieldWidth, QString::number(entry.width));
    enableForKind();
}

void TReportPart::enableForKind() {
    FieldList->setEnabled(RadioField->isChecked());
    LabelName->setEnabled(RadioLabel->isChecked());
}

void TReportPart::RadioClick() {
    enableForKind();
    // An entry the user makes a field names one: the list's first item until another is picked.
    if (RadioField->isChecked() && FieldList->currentRow() < 0) FieldList->setCurrentRow(0);
}

void TReportPart::OkButtonClick() {
    bool ok = false;
    const int width = FieldWidth->text().trimmed().toInt(&ok);
    if (!ok || width < 0) {
        ui::showError(this, kInvalidWidth, ui::Alert::Beep, ui::MessageIcon::Warning);
        FieldWidth->setFocus();
        return;
    }
    if (RadioLabel->isChecked() &&
        !reportTextStorable(this, LabelName, QStringLiteral("Label Name")))
        return;
    line_[entry_].width = width;
    refitLine(line_, reportWidth_);

    LineEntry& entry = line_[entry_];
    entry.label.clear();
    if (RadioFiller->isChecked()) {
        entry.name = kFillerName;
    } else if (RadioLabel->isChecked()) {
        entry.name = kLabelName;
        entry.label = LabelName->text().trimmed().left(kLabelLength);
    } else if (const int item = FieldList->currentRow(); item >= 0) {
        entry.name = names_.value(item);
        entry.fieldNumber = item + 1;
    }
    accept();
}

}  // namespace reports
