#include "app/my_sort_order.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "collection/stamp_schema.h"
#include "engine/error.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace app {

namespace {

constexpr int kRowTop = 16;
constexpr int kRowStep = 36;

const std::array<const char*, 4> kLevelCaptions = {"Primary Sort", "Secondary Sort",
                                                   "Third Level Sort", "Fourth Level Sort"};

}  // namespace

TMySortOrder::TMySortOrder(SortOrderContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("MySortOrder"));
    setWindowTitle(QStringLiteral("Sort Order"));
    resize(340, 212);

    QStringList choices{QStringLiteral("<NONE>")};
    for (int number = 1; number <= collection::kFieldCount; ++number)
        choices.append(context_.labels.value(number - 1));

    for (int i = 0; i < 4; ++i) {
        const int top = kRowTop + i * kRowStep;
        auto* label = new QLabel(QString::fromLatin1(kLevelCaptions[i]), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setGeometry(16, top + 3, 120, 21);
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
        combo->setEditable(false);
        combo->addItems(choices);
        combo->setGeometry(140, top, 184, 25);
        label->setBuddy(combo);
        combos[i] = combo;
    }
    ComboBox1 = combos[0];
    ComboBox2 = combos[1];
    ComboBox3 = combos[2];
    ComboBox4 = combos[3];

    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(76, 168, 84, 28);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &TMySortOrder::OkButtonClick);

    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(180, 168, 84, 28);
    connect(CancelButton, &QPushButton::clicked, this, &TMySortOrder::CancelButtonClick);
}

bool TMySortOrder::ChooseSortOrder(SortOrderContext context, QWidget* parent) {
    TMySortOrder window(std::move(context), parent);
    return ui::platform().execModal(window) == QDialog::Accepted;
}

collection::SortLevels TMySortOrder::chosenLevels() const {
    collection::SortLevels levels{};
    for (int i = 0; i < 4; ++i) levels[i] = std::max(0, combos[i]->currentIndex());
    return levels;
}

void TMySortOrder::OkButtonClick() {
    collection::SortOrderHooks hooks;
    hooks.writeSettings = context_.writeSettings;
    hooks.reapplyViewer = context_.reapplyViewer;
    hooks.tell = [this](const QString& title, const QString& text) {
        ui::showTitled(this, title, text);
    };
    // An engine error the rebuild could not handle itself (the table cannot
    // even be opened again) is shown here: a button's handler must not let it
    // leave through the window system's event loop.
    try {
        const collection::SortOrderResult result = collection::applySortOrder(
            *context_.table, context_.collectionPath, *context_.levels, chosenLevels(), hooks);
        if (result == collection::SortOrderResult::Applied) accept();
    } catch (const engine::EngineError& e) {
        ui::showError(this, QString::fromStdString(e.what()));
    }
}

void TMySortOrder::CancelButtonClick() {
    reject();
}

void TMySortOrder::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system is shown again spontaneously: it keeps its state.
    if (!event->spontaneous()) FormShow();
}

void TMySortOrder::FormShow() {
    ui::ShowOptions options = context_.show;
    options.geometry = nullptr;
    options.centre = true;
    options.colors = &context_.colors;
    ui::prepareWindowForShow(this, options);
    for (int i = 0; i < 4; ++i) {
        const int level = context_.levels ? (*context_.levels)[i] : 0;
        combos[i]->setCurrentIndex(level >= 0 && level <= collection::kFieldCount ? level : 0);
    }
}

}  // namespace app
