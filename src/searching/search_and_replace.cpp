#include "searching/search_and_replace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "collection/date_format.h"
#include "collection/stamp_schema.h"
#include "ui/masked_edit.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace editing {

namespace {

constexpr int kCounterTop = 225;
constexpr int kCounterLefts[3] = {70, 190, 310};
constexpr qint64 kCounterRepaintMs = 100;

}  // namespace

TSearchAndReplace::TSearchAndReplace(SearchReplaceContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("SearchAndReplace"));
    setWindowTitle(QStringLiteral("Search and Replace"));
    resize(440, 310);

    addHeading("FieldLabel", QStringLiteral("Field "), QRect(16, 16, 140, 20));
    FieldBox = new QComboBox(this);
    FieldBox->setObjectName(QStringLiteral("FieldBox"));
    FieldBox->addItems(context_.labels);
    FieldBox->setMaxVisibleItems(15);
    FieldBox->setCurrentIndex(-1);
    FieldBox->setGeometry(160, 14, 200, 26);
    connect(FieldBox, &QComboBox::currentIndexChanged, this, &TSearchAndReplace::FieldBoxChange);

    addHeading("SearchLabel", QStringLiteral("Text To Search For"), QRect(16, 56, 140, 20));
    SearchText = new ui::MaskedEdit(this);
    SearchText->setObjectName(QStringLiteral("SearchText"));
    SearchText->setGeometry(160, 54, 264, 26);
    addHeading("ReplaceLabel", QStringLiteral("Replacement Text"), QRect(16, 96, 140, 20));
    ReplaceText = new ui::MaskedEdit(this);
    ReplaceText->setObjectName(QStringLiteral("ReplaceText"));
    ReplaceText->setGeometry(160, 94, 264, 26);

    ConfirmBox = new QCheckBox(QStringLiteral("Confirm Before Replacing"), this);
    ConfirmBox->setObjectName(QStringLiteral("ConfirmBox"));
    ConfirmBox->setGeometry(160, 134, 220, 22);
    ConfirmBox->setChecked(false);

    addHeading("ProcessedLabel", QStringLiteral("Processed"), QRect(50, 200, 100, 20));
    addHeading("FoundLabel", QStringLiteral("Found"), QRect(170, 200, 100, 20));
    addHeading("ChangedLabel", QStringLiteral("Changed"), QRect(290, 200, 100, 20));
    ProcessedCount = addCounter("ProcessedCount", kCounterLefts[0]);
    FoundCount = addCounter("FoundCount", kCounterLefts[1]);
    ChangedCount = addCounter("ChangedCount", kCounterLefts[2]);

    StartButton = new QPushButton(QStringLiteral("&Start Search"), this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    StartButton->setGeometry(100, 266, 110, 28);
    StartButton->setDefault(true);
    connect(StartButton, &QPushButton::clicked, this, &TSearchAndReplace::StartButtonClick);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(230, 266, 110, 28);
    connect(CancelButton, &QPushButton::clicked, this, &TSearchAndReplace::CancelButtonClick);
}

QLabel* TSearchAndReplace::addHeading(const char* name, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    headings_.append(label);
    return label;
}

QLabel* TSearchAndReplace::addCounter(const char* name, int left) {
    auto* label = new QLabel(QStringLiteral("0"), this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left, kCounterTop, 90, 20);
    return label;
}

bool TSearchAndReplace::SearchAndReplace(SearchReplaceContext context, QWidget* parent) {
    TSearchAndReplace window(std::move(context), parent);
    return ui::platform().execModal(window) == QDialog::Accepted;
}

void TSearchAndReplace::FieldBoxChange(int index) {
    const int field = index + 1;
    if (field < 1 || field > collection::kFieldCount) return;
    const FieldClass fieldClass = fieldClassOf(field);
    for (ui::MaskedEdit* box : {SearchText, ReplaceText}) {
        box->setDateEditMask(replaceEditMask(fieldClass), collection::currentDateFormat());
        box->setMaxLength(fieldClass == FieldClass::Text ? collection::schemaField(field).length
                                                         : 32767);
        box->clear();
    }
}

void TSearchAndReplace::showCounters(const ReplaceCounters& counters) {
    ProcessedCount->setText(QString::number(counters.processed));
    FoundCount->setText(QString::number(counters.found));
    ChangedCount->setText(QString::number(counters.changed));
}

void TSearchAndReplace::StartButtonClick() {
    const ReplaceRequest request{FieldBox->currentIndex() + 1, SearchText->maskedText(),
                                 ReplaceText->maskedText()};
    if (const auto refusal = validateReplace(request, collection::currentDateFormat())) {
        ui::showError(this, refusal->message);
        QWidget* focus = refusal->focus == ReplaceEntry::FieldList ? static_cast<QWidget*>(FieldBox)
                         : refusal->focus == ReplaceEntry::Search  ? SearchText
                                                                   : ReplaceText;
        focus->setFocus();
        return;
    }

    ReplaceHooks hooks;
    if (ConfirmBox->isChecked())
        hooks.confirm = [this](const QString& catalog) {
            // The question is answered with the normal cursor; the hourglass comes back after.
            ui::platform().setBusyCursor(false);
            const bool yes = ui::askConfirm(this, QStringLiteral("Item = \"") + catalog +
                                                      QStringLiteral("\".  Change this record?"));
            ui::platform().setBusyCursor(true);
            return yes;
        };
    // The counters are repainted at once, a few times a second and at every match.
    QElapsedTimer sincePaint;
    sincePaint.start();
    int foundPainted = 0;
    hooks.progress = [&](const ReplaceCounters& counters) {
        if (counters.found == foundPainted && sincePaint.elapsed() < kCounterRepaintMs) return;
        foundPainted = counters.found;
        showCounters(counters);
        for (QLabel* label : {ProcessedCount, FoundCount, ChangedCount}) label->repaint();
        sincePaint.restart();
    };
    hooks.reapplyViewer = context_.reapplyViewer;
    hooks.suspendSearch = context_.suspendSearch;
    hooks.resumeSearch = context_.resumeSearch;
    hooks.tell = [this](const QString& title, const QString& text) {
        ui::showTitled(this, title, text);
    };

    SearchAndReplaceRun run(*context_.table, context_.collectionPath, context_.sortExpression,
                            collection::currentDateFormat(), hooks);
    ReplaceResult result;
    {
        ui::BusyCursor busy;
        result = run.run(request);
    }
    showCounters(run.counters());
    if (result != ReplaceResult::Done) return;
    ui::showMessage(this, QStringLiteral("Finished"), kReplaceComplete);
    accept();
}

void TSearchAndReplace::CancelButtonClick() {
    reject();
}

void TSearchAndReplace::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TSearchAndReplace::FormShow() {
    ui::ShowOptions options = context_.show;
    options.geometry = nullptr;
    options.centre = true;
    options.moveUp = true;
    options.colors = &context_.colors;
    options.majorTitles = headings_;
    ui::prepareWindowForShow(this, options);
}

}  // namespace editing
