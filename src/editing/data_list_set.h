// The nine collection pick lists as the combo boxes that show them.
//
// Each list 1..9 is shown in two boxes holding the same items in the same
// order: the record editor's box (the copy written to disk) and the main
// window's in-grid box (may be absent, e.g. in tests). The boxes are owned by
// their windows; DataListSet only points at them. Names follow the
// operations the rest of the program calls.
//
// A list with no box bound is neither loaded nor written (its file is left
// as it is); when only the main window's box is bound, that box is written.
// Without a base path (no collection) the collection files are not written.
// Writing failures are silent, as for every list file.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

class QComboBox;

namespace editing {

class DataListSet {
  public:
    // Binds list `list` (1..9) to its boxes; `mainBox` may be nullptr.
    void bind(int list, QComboBox* editorBox, QComboBox* mainBox);
    // The collection base path (folder + table name) whose ".001".. files are used.
    void setBasePath(const QString& basePath);
    const QString& basePath() const { return basePath_; }

    QComboBox* editorBox(int list) const;
    QComboBox* mainBox(int list) const;

    // Empties both boxes, then adds every item of the file to both.
    void LoadList(const QString& path, QComboBox* editorBox, QComboBox* mainBox);
    // Writes the editor box's items to the file (silently skipped on failure).
    void SaveList(const QString& path, QComboBox* editorBox);
    // Lists 1..9 from the collection files when base + ".001" exists, else the defaults.
    void LoadAllList();
    void SaveAllLists();
    void LoadDefaultList();
    void SaveDefaultLists();

    // Appends the box's trimmed text to its own items when new (exact match).
    static void AddToList(QComboBox* editorBox);
    // Appends the trimmed `text` to the main window's box when new.
    static void AddToListTwwDB(QComboBox* mainBox, const QString& text);

    // The items of a box, in order (empty for nullptr).
    static QStringList itemsOf(const QComboBox* box);
    // Replaces the items of a box (nullptr: nothing); the text typed into an
    // editable box stays as it was.
    static void replaceItems(QComboBox* box, const QStringList& items);

  private:
    // The box whose items are written: the editor's, else the main window's.
    QComboBox* sourceBox(int list) const;

    struct Pair {
        QComboBox* editor = nullptr;
        QComboBox* main = nullptr;
    };
    std::array<Pair, 9> lists_{};
    QString basePath_;
};

}  // namespace editing
