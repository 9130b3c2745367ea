// A one-line edit box with an edit mask in the windows' own mask notation (see edit_mask.h).
//
// `maskedText()` is the text as the windows read it: literals kept, unfilled positions as spaces
// ("  /  /    " for an untouched date box). `setMaskedText()` takes a text in that same form.
// Without a mask the box behaves as a plain QLineEdit and both are its text().
#pragma once

#include <QLineEdit>

#include "collection/date_format.h"
#include "ui/edit_mask.h"

namespace ui {

class MaskedEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit MaskedEdit(QWidget* parent = nullptr);

    // Sets the mask (empty text: none) and clears the box.
    void setEditMask(const QString& maskText, QChar dateSeparator = u'/');
    // The same for a mask holding a date ("99/99/9999", "99/99/0000") shown in `dates`: its
    // separator, and the year in front for a year-first format.
    void setDateEditMask(const QString& maskText, const collection::DateFormat& dates);
    const QString& editMask() const { return maskText_; }

    QString maskedText() const;
    void setMaskedText(const QString& text);
    // True when no input position holds a character.
    bool isBlank() const;

  private:
    QString maskText_;
    EditMask mask_;
};

}  // namespace ui
