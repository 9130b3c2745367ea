#include "appearance/color_config.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "appearance/color_combinations.h"
#include "ui/platform.h"
#include "ui/window_colors.h"

namespace appearance {

namespace {

using collection::ColorRole;

constexpr int kGroupWidth = 168;
constexpr int kGroupHeight = 124;
constexpr int kColumn[3] = {8, 184, 360};
constexpr int kRow[2] = {8, 140};

QRect groupPlace(int column, int row) {
    return QRect(kColumn[column], kRow[row], kGroupWidth, kGroupHeight);
}

// A sample control's place inside its group, above the two buttons.
const QRect kSamplePlace(12, 24, 144, 28);
const QRect kFirstButton(12, 86, 68, 26);
const QRect kSecondButton(88, 86, 68, 26);

}  // namespace

TColorConfig::TColorConfig(ColorConfigContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("ColorConfig"));
    setWindowTitle(QStringLiteral("Color Configuration"));
    resize(536, 360);
    if (context_.sets) {
        const int source = context_.group >= 1 && context_.group <= collection::kWindowGroupCount
                               ? context_.group - 1
                               : 0;
        working_ = (*context_.sets)[source];
    }

    QGroupBox* window = addGroup("WindowGroup", QStringLiteral("Window"), groupPlace(0, 0));
    addColorButton(window, "MainBack", QStringLiteral("Background"), QRect(12, 22, 144, 26),
                   ColorRole::MainBackground);
    addColorButton(window, "MajorTitles", QStringLiteral("Major Titles"), QRect(12, 54, 144, 26),
                   ColorRole::MajorTitle);
    addColorButton(window, "MinorTitles", QStringLiteral("Minor Titles"), QRect(12, 86, 144, 26),
                   ColorRole::MinorTitle);

    QGroupBox* edit = addGroup("EditGroup", QStringLiteral("Edit Box"), groupPlace(1, 0));
    auto* editSample = new QLineEdit(QStringLiteral("Sample Text"), edit);
    editSample->setObjectName(QStringLiteral("EditSample"));
    editSample->setGeometry(kSamplePlace);
    addColorButton(edit, "EditBoxText", QStringLiteral("Text"), kFirstButton, ColorRole::EditText);
    addColorButton(edit, "EditBoxBack", QStringLiteral("Background"), kSecondButton,
                   ColorRole::EditBackground);

    QGroupBox* combo = addGroup("ComboGroup", QStringLiteral("Combo Box"), groupPlace(2, 0));
    auto* comboSample = new QComboBox(combo);
    comboSample->setObjectName(QStringLiteral("ComboSample"));
    comboSample->addItem(QStringLiteral("Sample Text"));
    comboSample->setGeometry(kSamplePlace);
    addColorButton(combo, "ComboText", QStringLiteral("Text"), kFirstButton, ColorRole::ComboText);
    addColorButton(combo, "ComboBack", QStringLiteral("Background"), kSecondButton,
                   ColorRole::ComboBackground);

    QGroupBox* list = addGroup("ListGroup", QStringLiteral("List Box"), groupPlace(0, 1));
    auto* listSample = new QListWidget(list);
    listSample->setObjectName(QStringLiteral("ListSample"));
    listSample->addItems({QStringLiteral("Sample Text"), QStringLiteral("Sample Text")});
    listSample->setGeometry(12, 22, 144, 56);
    addColorButton(list, "ListText", QStringLiteral("Text"), kFirstButton, ColorRole::ListBoxText);
    addColorButton(list, "ListBack", QStringLiteral("Background"), kSecondButton,
                   ColorRole::ListBoxBackground);

    QGroupBox* radio = addGroup("RadioGroup", QStringLiteral("Radio Button"), groupPlace(1, 1));
    auto* radioSample = new QRadioButton(QStringLiteral("Sample Text"), radio);
    radioSample->setObjectName(QStringLiteral("RadioSample"));
    radioSample->setChecked(true);
    radioSample->setGeometry(kSamplePlace);
    addColorButton(radio, "RadioText", QStringLiteral("Text"), kFirstButton, ColorRole::RadioText);
    addColorButton(radio, "RadioBack", QStringLiteral("Background"), kSecondButton,
                   ColorRole::RadioBackground);

    QGroupBox* check = addGroup("CheckGroup", QStringLiteral("Check Box"), groupPlace(2, 1));
    auto* checkSample = new QCheckBox(QStringLiteral("Sample Text"), check);
    checkSample->setObjectName(QStringLiteral("CheckSample"));
    checkSample->setChecked(true);
    checkSample->setGeometry(kSamplePlace);
    addColorButton(check, "CheckText", QStringLiteral("Text"), kFirstButton, ColorRole::CheckText);
    addColorButton(check, "CheckBack", QStringLiteral("Background"), kSecondButton,
                   ColorRole::CheckBackground);

    predefinedLabel_ = new QLabel(QStringLiteral("Predefined Color Combinations"), this);
    predefinedLabel_->setObjectName(QStringLiteral("PredefinedLabel"));
    predefinedLabel_->setGeometry(8, 276, 240, 20);
    ColorSets = new QComboBox(this);
    ColorSets->setObjectName(QStringLiteral("ColorSets"));
    ColorSets->addItem(QString());
    for (int n = 1; n <= kColorCombinationCount; ++n) ColorSets->addItem(colorCombinationName(n));
    ColorSets->setMaxVisibleItems(kColorCombinationCount + 1);
    ColorSets->setGeometry(8, 298, 240, 26);
    connect(ColorSets, &QComboBox::activated, this, &TColorConfig::ColorSetsChange);

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setGeometry(336, 298, 88, 28);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TColorConfig::OkClick);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setGeometry(436, 298, 88, 28);
    connect(cancel, &QPushButton::clicked, this, &TColorConfig::CancelClick);
}

QGroupBox* TColorConfig::addGroup(const char* name, const QString& caption, const QRect& place) {
    auto* group = new QGroupBox(caption, this);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(place);
    majorTitles_.append(group);
    return group;
}

void TColorConfig::addColorButton(QGroupBox* group, const char* name, const QString& caption,
                                  const QRect& place, ColorRole role) {
    auto* button = new QPushButton(caption, group);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    connect(button, &QPushButton::clicked, this, [this, role] { chooseColor(role); });
}

void TColorConfig::Configure(ColorConfigContext context, QWidget* parent) {
    TColorConfig window(std::move(context), parent);
    ui::platform().execModal(window);
}

void TColorConfig::chooseColor(ColorRole role) {
    const std::optional<QColor> chosen =
        ui::platform().chooseColor(this, ui::colorOf(working_, role));
    if (!chosen) return;
    working_[role] = ui::bgrFromColor(*chosen);
    paintSamples();
}

void TColorConfig::ColorSetsChange(int index) {
    if (index < 1) return;
    applyColorCombination(working_, index);
    paintSamples();
}

void TColorConfig::paintSamples() {
    ui::applyColors(this, working_, majorTitles_, {predefinedLabel_});
}

void TColorConfig::OkClick() {
    if (context_.sets) {
        if (context_.group == kAllWindowGroups) {
            context_.sets->fill(working_);
        } else if (context_.group >= 1 && context_.group <= collection::kWindowGroupCount) {
            (*context_.sets)[context_.group - 1] = working_;
        }
    }
    if ((context_.group == 1 || context_.group == kAllWindowGroups) && context_.repaintMain)
        context_.repaintMain();
    accept();
}

void TColorConfig::CancelClick() {
    reject();
}

void TColorConfig::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TColorConfig::FormShow() {
    ui::ShowOptions options = context_.show;
    options.geometry = nullptr;
    options.centre = true;
    options.moveUp = true;
    options.colors = nullptr;
    ui::prepareWindowForShow(this, options);
    paintSamples();
    // The quickest way to recolour is a combination: its list takes the keyboard first.
    ColorSets->setFocus();
}

}  // namespace appearance
