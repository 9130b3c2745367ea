// TMyEdit: showing, loading and clearing the controls, saved values, totals, the leaving
// handlers, the Enter order and the Edit menu's clipboard commands.
#include "editing/my_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

#include "collection/collection_settings.h"
#include "collection/date_format.h"
#include "editing/my_miscellaneous.h"
#include "editing/record_totals.h"
#include "engine/table.h"
#include "ui/masked_edit.h"
#include "ui/platform.h"
#include "ui/typing_limit.h"
#include "ui/window_base.h"

namespace editing {

namespace {

constexpr int kRememberedQuantityLength = 10;
const QString kDateMask = QStringLiteral("!99/99/9999;1;_");

// Fields in the order Enter moves through them (back to the first after the last).
constexpr int kEnterOrder[] = {
    kCountry,   kFaceValue,    kAlphaCatalog, kNumericCatalog, kYear,     kCondition, kStampType,
    kGroup,     kCancellation, kGum,          kDescription,    kComments, kHinged,    kColorBox,
    kPurchDate, kTopic,        kMisc,         kFaults,         kWanted,   kUserDef1,  kUserDef2,
    kUserDef3,  kQuantity,     kPurchPrice,   kMarketValue};

// The date box lays a date out as its mask does: day and month in two digits and the year in
// four, in the order and with the separator of the format in force. What the box shows then reads
// back as the same date whatever the format's year width or leading-zero flag, also after the
// user changed one part of it.
QString dateBoxText(const QDate& date) {
    const collection::DateFormat& shown = collection::currentDateFormat();
    const int type = shown.fourDigitYear() ? shown.type : shown.type + 6;
    return collection::DateFormat{type, true}.format(date);
}

}  // namespace

int TMyEdit::editorMode() const {
    return context_.editorMode ? *context_.editorMode : ownMode_;
}

void TMyEdit::setEditorMode(int mode) {
    (context_.editorMode ? *context_.editorMode : ownMode_) = mode;
    announceRecord();
}

void TMyEdit::run(void (TMyEdit::*handler)()) {
    if (context_.runCommand)
        context_.runCommand([this, handler] { (this->*handler)(); });
    else
        (this->*handler)();
}

EditorNumbers TMyEdit::numbers() const {
    EditorNumbers n;
    if (context_.global) {
        n.numericFormat = context_.global->misc.numericFormat;
        n.currencyFormat = context_.global->misc.currencyFormat;
    }
    n.regional = collection::currentRegionalSettings();
    return n;
}

QString TMyEdit::fieldLabel(int field) const {
    return context_.collection ? context_.collection->field(field).label
                               : QString::fromLatin1(collection::schemaField(field).label.data(),
                                                     collection::schemaField(field).label.size());
}

// --- showing --------------------------------------------------------------------------------

void TMyEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMyEdit::FormShow() {
    ui::ShowOptions options;
    options.fonts = context_.fonts;
    options.geometry = &geometry_;
    options.scaleFactor = context_.scaleFactor ? *context_.scaleFactor : 1.0;
    options.moveUp = true;
    ui::prepareWindowForShow(this, options);
    QFont heading = TotalsHeading->font();
    heading.setBold(true);
    TotalsHeading->setFont(heading);

    // Each box is named after its label, so a screen reader says which field it is.
    for (int field = 1; field <= kInputFieldCount; ++field) {
        labels_[field - 1]->setText(fieldLabel(field));
        control(field)->setAccessibleName(fieldLabel(field));
        if (auto* combo = qobject_cast<QComboBox*>(control(field)))
            combo->lineEdit()->setAccessibleName(fieldLabel(field));
    }
    Wanted->setText(fieldLabel(kWanted));
    Wanted->setAccessibleName(fieldLabel(kWanted));
    SetColors();

    // The date box's separator follows the date format in force.
    PurchDate->setDateEditMask(kDateMask, collection::currentDateFormat());
    const int mode = editorMode();
    if (mode == 2 || mode == 3)
        LoadInData();
    else
        DoClear(1);
    SaveValues();
    control(kCountry)->setFocus(Qt::OtherFocusReason);
}

void TMyEdit::SetColors() {
    if (!context_.collection) return;
    ui::applyColors(this, context_.collection->colorSet(collection::WindowGroup::Edit), {},
                    {TotalsHeading});
}

// --- control texts --------------------------------------------------------------------------

RecordTexts TMyEdit::controlTexts() const {
    RecordTexts texts;
    for (int field = 1; field <= kInputFieldCount; ++field) {
        QWidget* widget = control(field);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            texts[field] = combo->currentText();
        else if (widget == PurchDate)
            texts[field] = PurchDate->maskedText();
        else
            texts[field] = static_cast<QLineEdit*>(widget)->text();
    }
    texts.wanted = Wanted->isChecked();
    return texts;
}

void TMyEdit::setControlTexts(const RecordTexts& texts) {
    for (int field = 1; field <= kInputFieldCount; ++field) {
        QWidget* widget = control(field);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            ui::showText(combo, texts[field]);
        else if (widget == PurchDate)
            setDateBoxText(texts[field]);
        else
            ui::showText(static_cast<QLineEdit*>(widget), texts[field]);
    }
    Wanted->setChecked(texts.wanted);
}

// A date text (a record default) is shown as the date it reads as; text that is no date as it
// stands.
void TMyEdit::setDateBoxText(const QString& dateText) {
    const auto date =
        collection::currentDateFormat().parse(dateText.trimmed(), ui::platform().today().year());
    PurchDate->setMaskedText(date ? dateBoxText(*date) : dateText);
}

void TMyEdit::SaveValues() {
    saved_ = controlTexts();
}

bool TMyEdit::ValuesChanged() const {
    return controlTexts() != saved_;
}

// --- loading and clearing -------------------------------------------------------------------

std::uint32_t TMyEdit::editedRecord() const {
    const engine::Table* table = context_.table;
    if (editorMode() != 2 || !table || !table->isOpen()) return 0;
    return table->recNo();
}

void TMyEdit::announceRecord() {
    if (!writing_) emit editedRecordChanged(editedRecord());
}

void TMyEdit::LoadInData() {
    engine::Table* table = context_.table;
    if (!table || !table->isOpen() || table->recNo() == 0) {
        // Nothing to load (an empty collection): the window shows a new record, and an update
        // adds it instead of editing a record that is not there.
        DoClear(1);
        setEditorMode(1);
        return;
    }
    announceRecord();
    const EditorNumbers n = numbers();
    RecordTexts texts;
    for (int field = 1; field <= kInputFieldCount; ++field) {
        const collection::SchemaField& schema = collection::schemaField(field);
        const int index = table->requireField(schema.name);
        QString& text = texts[field];
        switch (schema.kind) {
            case collection::FieldKind::Text:
                text = QString::fromStdString(table->text(index));
                break;
            case collection::FieldKind::Integer:
                if (const auto value = table->integer(index))
                    text = field == kQuantity ? n.wholeNumber(double(*value))
                                              : QString::number(*value);
                break;
            case collection::FieldKind::Float:
                if (const auto value = table->number(index)) text = n.money(*value);
                break;
            case collection::FieldKind::Date: {
                const engine::Date date = table->date(index);
                if (!date.blank()) text = dateBoxText(QDate(date.year, date.month, date.day));
                break;
            }
        }
    }
    texts.wanted =
        QString::fromStdString(table->text(table->requireField("Wanted"))) == QStringLiteral("Yes");
    setControlTexts(texts);
    rememberQuantity(Quantity->text());
    applyWantedRule();
    CalcTotals();
}

void TMyEdit::DoClear(int kind) {
    const collection::RecordDefaults* defaults =
        context_.global ? &context_.global->defaults : nullptr;
    const bool useDefaults = kind == 3 || (defaults && kind == 1 && defaults->loadWithAdd) ||
                             (defaults && kind == 2 && defaults->loadWithClear);
    RecordTexts texts = clearedRecordTexts();
    if (useDefaults && defaults) texts = textsFromDefaults(*defaults);
    setControlTexts(texts);
    rememberQuantity(Quantity->text());
    applyWantedRule();
    CalcTotals();
}

// --- quantity, Wanted and totals ------------------------------------------------------------

void TMyEdit::rememberQuantity(const QString& text) {
    rememberedQuantity_ = text.left(kRememberedQuantityLength);
}

void TMyEdit::applyWantedRule() {
    if (Wanted->isChecked()) ui::showText(Quantity, QStringLiteral("0"));
    Quantity->setEnabled(!Wanted->isChecked());
}

void TMyEdit::WantedClick() {
    if (Wanted->isChecked()) {
        rememberQuantity(Quantity->text());
        ui::showText(Quantity, QStringLiteral("0"));
        Quantity->setEnabled(false);
    } else {
        Quantity->setEnabled(true);
        ui::showText(Quantity, rememberedQuantity_);
    }
    CalcTotals();
}

void TMyEdit::CalcTotals() {
    const Totals totals =
        editing::CalcTotals(Quantity->text(), PurchPrice->text(), MarketValue->text(), numbers());
    TotalPPriceLabel->setText(totals.purchasePrice);
    TotalMValueLabel->setText(totals.marketValue);
}

void TMyEdit::QuantityExit() {
    if (const auto text = reformatQuantity(Quantity->text(), numbers())) {
        ui::showText(Quantity, *text);
        rememberQuantity(*text);
    }
    CalcTotals();
}

void TMyEdit::PurchPriceExit() {
    if (const auto text = reformatAmount(PurchPrice->text(), numbers()))
        ui::showText(PurchPrice, *text);
    CalcTotals();
}

void TMyEdit::MarketValueExit() {
    if (const auto text = reformatAmount(MarketValue->text(), numbers()))
        ui::showText(MarketValue, *text);
    CalcTotals();
}

void TMyEdit::BlankDateClick() {
    PurchDate->setMaskedText(QString());
}

void TMyEdit::MiscSelectClick() {
    selectInto(TMyMiscellaneous::kMiscellaneous, Misc);
}

void TMyEdit::FaultsSelectClick() {
    selectInto(TMyMiscellaneous::kFaults, Faults);
}

void TMyEdit::selectInto(int kind, QLineEdit* box) {
    ui::ShowOptions options;
    options.fonts = context_.fonts;
    options.scaleFactor = context_.scaleFactor ? *context_.scaleFactor : 1.0;
    QString text = box->text();
    if (TMyMiscellaneous::Select(kind, text, this, options)) ui::showText(box, text);
}

// --- keys and focus -------------------------------------------------------------------------

int TMyEdit::fieldOf(const QObject* widget) const {
    for (int field = 1; field <= collection::kFieldCount; ++field) {
        const QWidget* c = control(field);
        if (c == widget) return field;
        if (auto* combo = qobject_cast<const QComboBox*>(c); combo && combo->lineEdit() == widget)
            return field;
    }
    return 0;
}

int TMyEdit::nextInEnterOrder(int field) const {
    constexpr int count = int(std::size(kEnterOrder));
    int at = 0;
    while (at < count && kEnterOrder[at] != field) ++at;
    if (at == count) return 0;
    for (int step = 1; step < count; ++step) {
        const int next = kEnterOrder[(at + step) % count];
        if (control(next)->isEnabled()) return next;
    }
    return 0;
}

bool TMyEdit::isMenuShortcut(const QKeyEvent* event) const {
    const QKeySequence pressed(event->keyCombination());
    for (const QAction* action : findChildren<QAction*>())
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    return false;
}

bool TMyEdit::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) break;
            const int field = fieldOf(watched);
            if (field == 0) break;
            if (const int next = nextInEnterOrder(field))
                control(next)->setFocus(Qt::TabFocusReason);
            return true;
        }
        case QEvent::ShortcutOverride:
            // The window's menu shortcuts win over the boxes' own keys (Ctrl+A, Ctrl+E, ...).
            if (isMenuShortcut(static_cast<QKeyEvent*>(event))) {
                event->ignore();
                return true;
            }
            break;
        case QEvent::FocusOut: {
            // Leaving a control for another of this window, not switching windows.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
            if (watched == Quantity) QuantityExit();
            if (watched == PurchPrice) PurchPriceExit();
            if (watched == MarketValue) MarketValueExit();
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void TMyEdit::done(int result) {
    lists_.SaveAllLists();
    QDialog::done(result);
    // Closed: nothing is edited until the next showing, and a new record not updated is gone.
    emit editedRecordChanged(0);
}

// --- Edit menu ------------------------------------------------------------------------------

QLineEdit* TMyEdit::focusedTextBox() const {
    QWidget* widget = focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->lineEdit();
    if (fieldOf(widget) == 0) return nullptr;
    return qobject_cast<QLineEdit*>(widget);
}

void TMyEdit::EditCut() {
    QLineEdit* box = focusedTextBox();
    if (!box || !box->hasSelectedText()) return;
    ui::platform().setClipboardText(box->selectedText());
    box->del();
}

void TMyEdit::EditCopy() {
    QLineEdit* box = focusedTextBox();
    if (box && box->hasSelectedText()) ui::platform().setClipboardText(box->selectedText());
}

void TMyEdit::EditPaste() {
    if (QLineEdit* box = focusedTextBox()) box->insert(ui::platform().clipboardText());
}

void TMyEdit::EditDelete() {
    QLineEdit* box = focusedTextBox();
    if (box && box->hasSelectedText()) box->del();
}

}  // namespace editing
