#include "collection/setting_values.h"

#include "collection/profile_file.h"

namespace collection {

bool isYes(const QString& text) {
    return text.trimmed().compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0;
}

QString yesNoText(bool value) {
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

int parseIntSetting(const QString& text, int defaultValue) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : defaultValue;
}

int readInt(const ProfileFile& file, const QString& section, const QString& key, int defaultValue) {
    if (!file.contains(section, key)) return defaultValue;
    return parseIntSetting(file.read(section, key, {}, kIntegerReadLimit), defaultValue);
}

bool readYesNo(const ProfileFile& file, const QString& section, const QString& key,
               bool defaultValue) {
    if (!file.contains(section, key)) return defaultValue;
    return isYes(file.read(section, key, {}, kIntegerReadLimit));
}

void writeInt(ProfileFile& file, const QString& section, const QString& key, int value) {
    file.write(section, key, QString::number(value));
}

void writeYesNo(ProfileFile& file, const QString& section, const QString& key, bool value) {
    file.write(section, key, yesNoText(value));
}

}  // namespace collection
