// TMyEdit, "Input Stamps": the window in which one record of the stamp table is added, changed,
// copied and printed.
//
// The input controls are not bound to the table: LoadInData copies the main window's current
// record (the current record of the table given in the context) into them, and only an explicit
// update (DoUpdate) validates them and writes them back, inserting a record in editor modes 1
// (new) and 3 (copy) and editing the current record in mode 2. The window keeps the last values
// it showed or saved (SaveValues / ValuesChanged), running totals of cost and value, and the
// nine collection pick lists of its combo boxes (owned through `dataLists()`, mirrored into the
// main window's in-grid boxes when those are given).
//
// Life cycle: created once by the main window and shown modally many times through the platform
// seam; each showing starts in the editor mode the main window set and every close saves the
// nine pick lists. In browse mode every changing command is disabled and no "data has changed"
// question is asked.
//
// Ownership: the context only points at objects of the main window (table, editor mode,
// settings, fonts, scale factor, in-grid boxes); they must outlive the window. The editor writes
// the record defaults into the global settings it is given and writes that group to
// TESSELON.INI when the defaults are saved.
//
// Failures: a refused update shows its message titled "Error", focuses the failing control and
// writes nothing; after the date and number checks, text the collection's code page cannot hold
// is refused naming the field and the characters, the typed text left in its box. Table-engine
// errors while inserting, editing or posting propagate to the caller (the main window's command
// dispatch shows them); the half-made insert or edit is cancelled first and the editor mode put
// back, so no partial record is posted later.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "collection/stamp_schema.h"
#include "editing/data_list_set.h"
#include "editing/record_numbers.h"
#include "editing/record_texts.h"
#include "editing/record_validation.h"
#include "engine/field.h"
#include "ui/geometry_record.h"

class QAction;
class QBoxLayout;
class QCheckBox;
class QLabel;
class QKeyEvent;
class QKeySequence;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPrinter;
class QPushButton;

namespace engine {
class Table;
}
namespace collection {
struct CollectionSettings;
struct GlobalSettings;
}  // namespace collection
namespace ui {
class ListComboBox;
class ListComboSource;
class MaskedEdit;
struct SharedFonts;
}  // namespace ui

namespace editing {

// What the editor works on; every pointer is owned by the main window.
struct MyEditContext {
    engine::Table* table = nullptr;  // MyTable; its current record is the main window's
    int* editorMode = nullptr;       // shared editor mode; nullptr: the editor keeps its own
    bool browseMode = false;
    const ui::ListComboSource* mainBoxes = nullptr;  // in-grid list boxes; may be nullptr
    collection::GlobalSettings* global = nullptr;    // record defaults and format settings
    const collection::CollectionSettings* collection = nullptr;  // labels, colours; may be null
    const ui::SharedFonts* fonts = nullptr;                      // may be nullptr
    const double* scaleFactor = nullptr;                         // nullptr: 1.0
    QString basePath;  // collection base path for the pick-list files
    // Runs a command of the window (button, menu item) so that a table-engine failure is shown
    // and ends only that command; the main window passes its own dispatch. Unset: commands run
    // directly and failures propagate to whoever called them.
    std::function<void(const std::function<void()>&)> runCommand;
    // Called after every record the editor has written (the main window's grid and count show
    // it at once). May be unset.
    std::function<void()> recordWritten;
};

class TMyEdit : public QDialog {
    Q_OBJECT
  public:
    explicit TMyEdit(const MyEditContext& context, QWidget* parent = nullptr);
    ~TMyEdit() override;

    DataListSet& dataLists() { return lists_; }

    // A panel shown to the right of the fields (the picture strip); the editor owns it after.
    void addSidePanel(QWidget* panel);
    // The record an update would write: the current record in mode 2, 0 for a new one.
    std::uint32_t editedRecord() const;
    int editorMode() const;
    void setEditorMode(int mode);
    bool browseMode() const { return context_.browseMode; }

    // --- operations ---------------------------------------------------------------------
    void LoadInData();
    void SaveValues();
    bool ValuesChanged() const;
    void DoClear(int kind);  // 1 new record, 2 Clear, 3 Load In Saved Defaults
    bool DoUpdate();
    void DoAnUpdate();
    void DoUpdateAndExit();
    void DoExit();
    void DoPreviousRecord();
    void DoNextRecord();
    void CalcTotals();

    // --- handlers -----------------------------------------------------------------------
    void MenuNewClick();
    void ClearClick();         // DoClear with kind 2
    void LoadDefaultsClick();  // DoClear with kind 3
    void MenuCopyRecordClick();
    void MenuSaveDefaultsClick();
    void MenuPrintRecordClick();
    void QuantityExit();
    void PurchPriceExit();
    void MarketValueExit();
    void WantedClick();
    void BlankDateClick();
    void MiscSelectClick();
    void FaultsSelectClick();
    void SetColors();
    // Edit menu: clipboard commands on the focused text or combo box.
    void EditCut();
    void EditCopy();
    void EditPaste();
    void EditDelete();

    // Prints the shown record on a printer already chosen, once per copy it asks for. False
    // when the printer could not be started (an error has then been shown).
    bool printRecord(QPrinter& printer);

    // The input controls' texts as they are shown, and the control of a field (1..25).
    RecordTexts controlTexts() const;
    QWidget* control(int field) const { return controls_.at(field - 1); }
    // The control after `field` in the Enter order, passing over disabled ones; 0 when none.
    int nextInEnterOrder(int field) const;

  signals:
    // The editor now works on another record (editedRecord(); 0 for a new one): after every
    // load, move, New, Copy and showing. Not sent while an update is writing the record.
    void editedRecordChanged(std::uint32_t recno);
    // An update wrote the record (its number, also for a new one).
    void recordPosted(std::uint32_t recno);

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  public:
    void done(int result) override;  // every close saves the pick lists

  private:
    // Construction (my_edit_layout.cpp).
    void buildControls(QWidget* client);
    void buildButtons(QWidget* client);
    void buildMenus();
    QAction* addCommand(QMenu* menu, const char* objectName, const QString& caption,
                        const QKeySequence& shortcut, void (TMyEdit::*handler)());
    void bindLists();
    void applyBrowseMode();

    void FormShow();
    void run(void (TMyEdit::*handler)());
    QString fieldLabel(int field) const;
    void setControlTexts(const RecordTexts& texts);
    void setDateBoxText(const QString& dateText);
    void applyWantedRule();
    void rememberQuantity(const QString& text);
    void setTotalsFrom(const RecordTexts& texts);
    EditorNumbers numbers() const;
    // Asks the question before leaving unsaved data; true to go on (after an update on Yes).
    bool askBeforeLeaving(const QString& text, bool questionBeep);
    void moveAndLoad(bool forward);
    // The first text control, in field order, whose text holds characters the collection's code
    // page cannot store, with the message that says so; nothing when all can be stored.
    std::optional<ValidationFailure> unstorableText(const RecordTexts& texts) const;
    // Sets every field from the texts and values.
    void writeFields(const RecordTexts& texts, const ValidatedRecord& values);
    void selectInto(int kind, QLineEdit* box);
    QLineEdit* focusedTextBox() const;
    int fieldOf(const QObject* widget) const;
    bool isMenuShortcut(const QKeyEvent* event) const;

    void announceRecord();

    MyEditContext context_;
    int ownMode_ = 1;
    QBoxLayout* row_ = nullptr;  // the fields' panel and any side panel
    bool writing_ = false;       // an update is writing the record
    DataListSet lists_;
    ui::GeometryRecord geometry_;
    bool printing_ = false;

    // Saved values and remembered quantity.
    RecordTexts saved_;
    QString rememberedQuantity_;

    // Controls, index = field number - 1.
    std::array<QWidget*, collection::kFieldCount> controls_{};
    std::array<QLabel*, kInputFieldCount> labels_{};
    ui::MaskedEdit* PurchDate = nullptr;
    QCheckBox* Wanted = nullptr;
    QLineEdit* Quantity = nullptr;
    QLineEdit* PurchPrice = nullptr;
    QLineEdit* MarketValue = nullptr;
    QLineEdit* Misc = nullptr;
    QLineEdit* Faults = nullptr;
    QLabel* TotalsHeading = nullptr;
    QLabel* TotalPPriceLabel = nullptr;
    QLabel* TotalMValueLabel = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QMenu* defaultsMenu_ = nullptr;
    QAction* loadWithClear_ = nullptr;
    QAction* loadWithAdd_ = nullptr;
};

}  // namespace editing
