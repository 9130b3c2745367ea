// TMyLocateDialog: the Locate component of the main window. It keeps the locate settings between
// uses (field, value, match type, case sensitivity; never written to the settings file) and
// carries out the Locate command (`Execute`, which opens a TMyLocateDlg) and the Locate Next
// command (`FindNext`) on the table it is given.
//
// The field list shows every character, number, date and logical field of the table by its
// display label ("~" read as a space), sorted unless `sortFields` is off, only the fields the
// viewer shows when `fieldSelection` is on. Whatever way the dialog closes, its match type, case
// sensitivity and value are remembered, and the field whose label is chosen (nothing when none
// is). Locate Next with a remembered value searches on from the record after the current one
// ("No more matches found" when nothing follows and `showMessages` is on); with none it opens
// the dialog with "&Next" as the default button.
//
// The scan is locate_scan.h; it sees the records the viewer shows. After a record is found the
// component calls `moved` so that the viewer follows the table's current record.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "searching/locate_scan.h"
#include "ui/window_base.h"

class QWidget;

namespace engine {
class Table;
}

namespace editing {

class TMyLocateDialog : public QObject {
    Q_OBJECT
  public:
    explicit TMyLocateDialog(QWidget* owner);

    // --- settings --------------------------------------------------------------------------
    QString caption = QStringLiteral("Locate Value");
    engine::Table* dataSource = nullptr;
    int matchType = 1;  // 0 exact, 1 partial at beginning, 2 partial anywhere
    bool caseSensitive = false;
    bool sortFields = true;
    int defaultButton = 1;  // 0 "Fi&rst", otherwise "&Next"
    bool fieldSelection = false;
    bool showMessages = true;
    QString fieldName;  // table field name of the last locate
    QString value;      // at most 255 characters

    // Display label of a table field by name (unset: the name), whether the viewer shows it
    // (unset: every field), what the dialog is shown with, and what runs after a move.
    std::function<QString(const QString& fieldName)> displayLabel;
    std::function<bool(const QString& fieldName)> fieldVisible;
    ui::ShowOptions showOptions;
    std::function<void()> moved;

    // --- commands --------------------------------------------------------------------------
    bool Execute();
    bool FindNext();

    // The scan for the dialog window: busy cursor, an unknown field told, `moved` after a find.
    LocateResult locate(bool fromFirst, const LocateRequest& request);
    // "~" of a label read as a space.
    QString labelOf(const QString& fieldName) const;

  private:
    bool tableOpen() const;
    QWidget* owner_;
};

// Title of the locate messages.
inline const QString kLocateTitle = QStringLiteral("Locate");

}  // namespace editing
