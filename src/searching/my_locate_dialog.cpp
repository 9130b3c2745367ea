#include "searching/my_locate_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "searching/my_locate_dlg.h"
#include "engine/table.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace editing {

namespace {

constexpr int kMaxValue = 255;

bool offered(const engine::FieldInfo& field) {
    switch (field.type) {
        case engine::FieldType::Character:
        case engine::FieldType::Numeric:
        case engine::FieldType::Float:
        case engine::FieldType::Date:
        case engine::FieldType::Logical:
            return true;
        default:
            return false;
    }
}

}  // namespace

TMyLocateDialog::TMyLocateDialog(QWidget* owner) : QObject(owner), owner_(owner) {
    setObjectName(QStringLiteral("MyLocateDialog"));
}

bool TMyLocateDialog::tableOpen() const {
    return dataSource && dataSource->isOpen();
}

QString TMyLocateDialog::labelOf(const QString& name) const {
    QString label = displayLabel ? displayLabel(name) : name;
    label.replace(u'~', u' ');
    return label;
}

LocateResult TMyLocateDialog::locate(bool fromFirst, const LocateRequest& request) {
    LocateResult result;
    {
        ui::BusyCursor busy;
        result = locateRecord(*dataSource, fromFirst, request);
    }
    if (result == LocateResult::UnknownField)
        ui::showMessage(owner_, QStringLiteral("Error"),
                        QStringLiteral("Field '%1' not found").arg(request.fieldName),
                        ui::MessageButtons::Ok, ui::MessageIcon::Error);
    if (result == LocateResult::Found && moved) moved();
    return result;
}

bool TMyLocateDialog::Execute() {
    if (!tableOpen()) {
        ui::showMessage(owner_, QStringLiteral("Error"),
                        QStringLiteral("DataSource does not reference an active DataSet"),
                        ui::MessageButtons::Ok, ui::MessageIcon::Error);
        return false;
    }
    TMyLocateDlg dlg(*this, owner_);
    QStringList names;  // field names in list order
    for (const engine::FieldInfo& field : dataSource->fields()) {
        const QString name = QString::fromStdString(field.name);
        if (!offered(field) || (fieldSelection && fieldVisible && !fieldVisible(name))) continue;
        names.append(name);
    }
    if (sortFields)
        std::stable_sort(names.begin(), names.end(), [this](const QString& a, const QString& b) {
            return labelOf(a).compare(labelOf(b), Qt::CaseInsensitive) < 0;
        });
    for (const QString& name : names) dlg.FieldNameComboBox->addItem(labelOf(name), name);
    dlg.FieldNameComboBox->setCurrentIndex(-1);
    dlg.setNextDefault(defaultButton != 0);
    const int remembered =
        dlg.FieldNameComboBox->findData(fieldName, Qt::UserRole, Qt::MatchFixedString);
    if (!fieldName.isEmpty() && remembered >= 0) {
        dlg.selectField(dlg.FieldNameComboBox->itemText(remembered));
        dlg.SearchValue->setText(value);
    }
    dlg.CaseSensitiveCheckBox->setChecked(caseSensitive);
    dlg.setMatchType(matchType);
    dlg.setWindowTitle(caption);
    dlg.setShowOptions(showOptions);
    const int result = ui::platform().execModal(dlg);

    matchType = dlg.matchType();
    caseSensitive = dlg.CaseSensitiveCheckBox->isChecked();
    value = dlg.SearchValue->text().left(kMaxValue);
    const int chosen = dlg.FieldNameComboBox->currentIndex();
    if (chosen >= 0) fieldName = dlg.FieldNameComboBox->itemData(chosen).toString();
    return result == QDialog::Accepted;
}

bool TMyLocateDialog::FindNext() {
    if (!tableOpen()) {
        ui::showMessage(owner_, kLocateTitle,
                        QStringLiteral("DataSource does not refer to an active table!"),
                        ui::MessageButtons::Ok, ui::MessageIcon::Warning);
        return false;
    }
    if (value.isEmpty()) {
        defaultButton = 1;
        return Execute();
    }
    LocateRequest request{fieldName, value, caseSensitive,
                          LocateMatch(std::clamp(matchType, 0, 2))};
    const bool found = locate(false, request) == LocateResult::Found;
    if (!found && showMessages)
        ui::showMessage(owner_, kLocateTitle, QStringLiteral("No more matches found"),
                        ui::MessageButtons::Ok, ui::MessageIcon::Information);
    return found;
}

}  // namespace editing
