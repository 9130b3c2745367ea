// TMyEdit: updating the record, leaving it (Exit, Previous, Next, New, Copy) and the record
// defaults.
#include <QComboBox>

#include "collection/data_list_files.h"
#include "collection/date_format.h"
#include "editing/my_edit.h"
#include "engine/table.h"
#include "ui/masked_edit.h"
#include "ui/messages.h"
#include "ui/platform.h"
#include "ui/unstorable_text.h"

namespace editing {

namespace {

const QString kPreviousWord = QStringLiteral("previous");
const QString kNextWord = QStringLiteral("next");

// The lists an update grows from their boxes.
constexpr int kGrowingLists[] = {1, 2, 3};  // Country, Topic, Condition

}  // namespace

void TMyEdit::ClearClick() {
    DoClear(2);
}

void TMyEdit::LoadDefaultsClick() {
    DoClear(3);
}

std::optional<ValidationFailure> TMyEdit::unstorableText(const RecordTexts& texts) const {
    const engine::Table* table = context_.table;
    if (!table || !table->isOpen()) return std::nullopt;
    for (int field = 1; field <= kInputFieldCount; ++field) {
        if (collection::schemaField(field).kind != collection::FieldKind::Text) continue;
        const QString lost = ui::unstorableCharacters(texts[field], table->codePage());
        if (!lost.isEmpty())
            return ValidationFailure{
                field, ui::unstorableTextMessage(fieldLabel(field), lost, table->codePage())};
    }
    return std::nullopt;
}

bool TMyEdit::DoUpdate() {
    const RecordTexts texts = controlTexts();
    ValidationResult checked = validateRecord(texts, numbers(), collection::currentDateFormat(),
                                              ui::platform().today().year());
    // Text the collection cannot store is refused here, before any list grows, so that the
    // user sees which field and characters and keeps what was typed.
    if (checked.ok()) checked.failure = unstorableText(texts);
    if (!checked.ok()) {
        ui::showError(this, checked.failure->message, ui::Alert::KindSound);
        control(checked.failure->field)->setFocus(Qt::OtherFocusReason);
        return false;
    }

    for (int list : kGrowingLists) {
        QComboBox* box = lists_.editorBox(list);
        const QString& shown = texts[collection::dataList(list).fieldNumber];
        DataListSet::AddToList(box);
        if (QComboBox* mainBox = lists_.mainBox(list))
            DataListSet::AddToListTwwDB(mainBox, shown.trimmed());
        // Appending to an empty box selects the new item; keep the text as the user left it.
        if (box->currentText() != shown) box->setEditText(shown);
    }

    engine::Table& table = *context_.table;
    const int mode = editorMode();
    if (mode == 1 || mode == 3)
        table.insert();
    else
        table.edit();
    writing_ = true;
    setEditorMode(2);
    try {
        writeFields(texts, checked.record);
        table.post();
    } catch (...) {
        // Leave nothing half-made behind: a pending insert or edit would be posted by the next
        // move, and mode 2 would make the next update overwrite the current record.
        table.cancel();
        setEditorMode(mode);
        writing_ = false;
        throw;
    }
    writing_ = false;
    // What hangs off the record (its pictures) follows it to the number it was written as.
    emit recordPosted(table.recNo());
    if (context_.recordWritten) context_.recordWritten();
    return true;
}

void TMyEdit::writeFields(const RecordTexts& texts, const ValidatedRecord& values) {
    engine::Table& table = *context_.table;
    const auto index = [&table](int field) {
        return table.requireField(collection::schemaField(field).name);
    };
    for (int field = 1; field <= kInputFieldCount; ++field) {
        if (collection::schemaField(field).kind != collection::FieldKind::Text) continue;
        const bool trimmed = field == kUserDef1 || field == kUserDef2 || field == kUserDef3;
        table.setText(index(field),
                      (trimmed ? texts[field].trimmed() : texts[field]).toStdString());
    }
    if (values.date) {
        const QDate d = *values.date;
        table.setDate(index(kPurchDate), engine::Date{d.year(), d.month(), d.day()});
    } else {
        table.setBlank(index(kPurchDate));
    }
    table.setText(index(kWanted), texts.wanted ? "Yes" : "No");
    table.setNumber(index(kPurchPrice), values.purchasePrice);
    table.setNumber(index(kMarketValue), values.marketValue);
    table.setInteger(index(kQuantity), values.quantity);
    table.setInteger(index(kYear), values.year);
    table.setInteger(index(kNumericCatalog), values.numericCatalog);
}

void TMyEdit::DoAnUpdate() {
    if (DoUpdate()) SaveValues();
}

void TMyEdit::DoUpdateAndExit() {
    if (DoUpdate()) done(QDialog::Accepted);
}

void TMyEdit::DoExit() {
    if (!browseMode() && ValuesChanged()) {
        ui::platform().playSound(ui::MessageIcon::Question);
        const ui::MessageAnswer answer = ui::askWarning(
            this, QStringLiteral("Data has changed.  Do you want to exit without updating?"));
        if (answer != ui::MessageAnswer::Yes) return;
    }
    done(QDialog::Rejected);
}

bool TMyEdit::askBeforeLeaving(const QString& text, bool questionBeep) {
    if (questionBeep) ui::platform().playSound(ui::MessageIcon::Question);
    const ui::MessageAnswer answer =
        ui::askWarning(this, text, true, questionBeep ? ui::Alert::None : ui::Alert::KindSound);
    if (answer == ui::MessageAnswer::Cancel) return false;
    if (answer == ui::MessageAnswer::Yes) return DoUpdate();
    return true;
}

void TMyEdit::moveAndLoad(bool forward) {
    if (!browseMode()) {
        const QString direction = forward ? kNextWord : kPreviousWord;
        const int mode = editorMode();
        QString question;
        if (mode == 1 || mode == 3)
            question = QStringLiteral(
                           "This record has not been updated yet.  Update this record before "
                           "moving to the %1 record?")
                           .arg(direction);
        else if (ValuesChanged())
            question = QStringLiteral(
                           "Data has changed.  Update this record before moving to the %1 "
                           "record?")
                           .arg(direction);
        if (!question.isEmpty() && !askBeforeLeaving(question, true)) return;
    }
    engine::Table* table = context_.table;
    if (table && table->isOpen()) {
        // At either end the move does nothing and the current record is loaded again.
        if (forward)
            table->next();
        else
            table->prior();
    }
    setEditorMode(2);
    LoadInData();  // back to mode 1 when there is no record to show
    SaveValues();
}

void TMyEdit::DoPreviousRecord() {
    moveAndLoad(false);
}

void TMyEdit::DoNextRecord() {
    moveAndLoad(true);
}

void TMyEdit::MenuNewClick() {
    if (!browseMode() && ValuesChanged() &&
        !askBeforeLeaving(
            QStringLiteral("Data has changed.  Update this record before creating new one?"),
            false))
        return;
    DoClear(1);
    setEditorMode(1);
    SaveValues();
    setWindowTitle(QStringLiteral("Edit (New Record)"));
}

void TMyEdit::MenuCopyRecordClick() {
    if (!browseMode() && ValuesChanged() &&
        !askBeforeLeaving(QStringLiteral("Data has changed.  Update this record before creating "
                                         "new one with the current data?"),
                          false))
        return;
    setEditorMode(1);
    SaveValues();
    setWindowTitle(QStringLiteral("Edit (New Copied Record)"));
}

void TMyEdit::MenuSaveDefaultsClick() {
    if (!context_.global) return;
    storeAsDefaults(controlTexts(), context_.global->defaults);
    collection::writeGlobal(*context_.global);
}

}  // namespace editing
