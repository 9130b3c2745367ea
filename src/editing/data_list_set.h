// The nine collection pick lists as the combo boxes that show them.
//
// Each list 1..9 is shown in two boxes holding the same items in the same
// order: the record editor's box (the copy written to disk) and the main
// window's in-grid box (may be absent, e.g. in tests). The boxes are owned by
// their windows; DataListSet only points at them. Names follow the
// operations the rest of the program calls.
#pragma once

#include <QString>
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

private:
    struct Pair {
        QComboBox* editor = nullptr;
        QComboBox* main = nullptr;
    };
    std::array<Pair, 9> lists_{};
    QString basePath_;
};

}  // namespace editing
