#include "ui/list_combo_source.h"

#include <QFont>
#include <QWidget>

#include "ui/list_combo_box.h"

namespace ui {

const std::array<ListComboSource::Entry, 9>& ListComboSource::entries() {
    static const std::array<Entry, 9> list = {{
        {3, "MyComboCountry"},
        {13, "MyComboTopic"},
        {9, "MyComboCondition"},
        {16, "MyComboGum"},
        {12, "MyComboCancel"},
        {10, "MyComboGroup"},
        {11, "MyComboStampType"},
        {19, "MyComboHinged"},
        {17, "MyComboColor"},
    }};
    return list;
}

ListComboSource::ListComboSource(QWidget* owner) {
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i] = new ListComboBox(owner);
        boxes_[i]->setObjectName(QString::fromLatin1(entries()[i].objectName));
        boxes_[i]->hide();
    }
}

ListComboBox* ListComboSource::comboForField(int fieldNumber) const {
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (entries()[i].field == fieldNumber) return boxes_[i];
    return nullptr;
}

ListComboBox* ListComboSource::comboNamed(const QString& objectName) const {
    for (ListComboBox* box : boxes_)
        if (box->objectName() == objectName) return box;
    return nullptr;
}

void ListComboSource::setFont(const QFont& font) {
    for (ListComboBox* box : boxes_) box->setFont(font);
}

}  // namespace ui
