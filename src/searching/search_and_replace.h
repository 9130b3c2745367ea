// TSearchAndReplace: the "Search and Replace" window. The user picks a field, types the value to
// look for and its replacement, and starts the run over the whole collection (search_replace.h
// holds the run itself).
//
// Choosing a field empties both entry boxes and sets their input form by the field's class: text
// fields take at most the field's width, the date field the date mask, numeric fields a mask of
// nine characters. Start checks the entries (the first refusal is shown titled "Error" and the
// focus goes to the box it names), runs the search and replace with the three counters shown
// live and, when "Confirm Before Replacing" is checked, a "Confirm" question per match; a run
// that ends well shows "Global Search and Replace Complete." titled "Finished" and closes the
// window. A refusal for another program holding the file, or a failure during the run, leaves
// the window open after its message. Cancel closes it.
//
// The window works on what its caller lends through `SearchReplaceContext`; all of it must
// outlive the window.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "collection/color_set.h"
#include "searching/search_replace.h"
#include "ui/window_base.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace engine {
class Table;
}
namespace ui {
class MaskedEdit;
}

namespace editing {

struct SearchReplaceContext {
    engine::Table* table = nullptr;
    QString collectionPath;               // the collection's .DBF
    QString sortExpression;               // "NewIndex" is rebuilt on it
    QStringList labels;                   // the 25 field labels, field 1 first
    std::function<void()> reapplyViewer;  // after every re-open of the table
    std::function<bool()> suspendSearch;  // ends a running search; true when one ran
    std::function<void()> resumeSearch;
    collection::ColorSet colors;  // the "Configure Window Color" set
    ui::ShowOptions show;         // fonts and scale factor
};

class TSearchAndReplace : public QDialog {
    Q_OBJECT
  public:
    explicit TSearchAndReplace(SearchReplaceContext context, QWidget* parent = nullptr);

    // Creates the window, shows it modally and frees it; true when a run ended well.
    static bool SearchAndReplace(SearchReplaceContext context, QWidget* parent = nullptr);

    void FieldBoxChange(int index);
    void StartButtonClick();
    void CancelButtonClick();
    void FormShow();

    QComboBox* FieldBox = nullptr;
    ui::MaskedEdit* SearchText = nullptr;
    ui::MaskedEdit* ReplaceText = nullptr;
    QCheckBox* ConfirmBox = nullptr;
    QLabel* ProcessedCount = nullptr;
    QLabel* FoundCount = nullptr;
    QLabel* ChangedCount = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* addHeading(const char* name, const QString& text, const QRect& place);
    QLabel* addCounter(const char* name, int left);
    void showCounters(const ReplaceCounters& counters);

    SearchReplaceContext context_;
    QList<QWidget*> headings_;
};

}  // namespace editing
