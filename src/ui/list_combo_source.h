// ListComboSource: the nine pick-list combo boxes of the main window that serve as the viewer
// grid's in-cell editors for the list fields.
//
// The boxes are MyComboCountry, MyComboTopic, MyComboCondition, MyComboGum, MyComboCancel,
// MyComboGroup, MyComboStampType, MyComboHinged and MyComboColor (their object names), created
// hidden as children of the widget given at construction, which owns them. The grid's editor for
// a list field copies the items of the box for that field when it opens, so filling or appending
// to a box here shows in the next cell edit.
#pragma once

#include <QString>
#include <array>

class QFont;
class QWidget;

namespace ui {

class ListComboBox;

class ListComboSource {
  public:
    struct Entry {
        int field;  // schema field number
        const char* objectName;
    };
    static const std::array<Entry, 9>& entries();

    explicit ListComboSource(QWidget* owner);

    // The box of list field `fieldNumber`, nullptr for any other field.
    ListComboBox* comboForField(int fieldNumber) const;
    // The box with the given object name, nullptr when none.
    ListComboBox* comboNamed(const QString& objectName) const;
    // All nine take `font` (the grid's font).
    void setFont(const QFont& font);

  private:
    std::array<ListComboBox*, 9> boxes_{};
};

}  // namespace ui
