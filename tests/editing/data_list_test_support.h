// Helpers for the data-list tests: a temporary program directory for one test, and small
// file helpers.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "collection/data_list_files.h"

namespace testing_support {

// Points TESSELLON_PROGRAM_DIR at a fresh folder (which also serves as the collection's folder)
// for the lifetime of the object.
class TempProgramDir {
  public:
    TempProgramDir() : previous_(qgetenv("TESSELLON_PROGRAM_DIR")) {
        qputenv("TESSELLON_PROGRAM_DIR", dir_.path().toUtf8());
    }
    ~TempProgramDir() { qputenv("TESSELLON_PROGRAM_DIR", previous_); }
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString base() const { return dir_.filePath(QStringLiteral("MINE")); }
    bool valid() const { return dir_.isValid(); }

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the default (or shared) file of `list` with `items`.
inline void writeDefaultList(int list, const QStringList& items) {
    collection::writeListFile(collection::defaultListPath(list), items);
}

// The texts of a list box's entries in list order, or of its selected entries only.
inline QStringList entryTexts(const QListWidget* list, bool selectedOnly = false) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        if (!selectedOnly || list->item(i)->isSelected()) texts.append(list->item(i)->text());
    return texts;
}

}  // namespace testing_support
