#include "ui/font_dialog_preset.h"

#include <QFontInfo>
#include <QStringList>

namespace ui {

QString resolvedFamily(const QString& name) {
    const QString family = QFontInfo(QFont(name)).family();
    return family.isEmpty() ? name : family;
}

QFont fontDialogPreset(const QFont& stored) {
    QFont preset = stored;
    preset.setFamilies(QStringList{resolvedFamily(stored.family())});
    return preset;
}

QString keptFontName(const QString& storedName, const QFont& chosen) {
    const QString family = chosen.family();
    if (family.compare(storedName, Qt::CaseInsensitive) == 0 ||
        family.compare(resolvedFamily(storedName), Qt::CaseInsensitive) == 0)
        return storedName;
    return family;
}

}  // namespace ui
