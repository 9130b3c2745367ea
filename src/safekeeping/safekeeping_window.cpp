#include "safekeeping/safekeeping_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "engine/error.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace safekeeping {

namespace {

ui::MessageIcon iconFor(const QString& title) {
    if (title == QLatin1String("Error")) return ui::MessageIcon::Error;
    if (title == QLatin1String("Warning")) return ui::MessageIcon::Warning;
    return ui::MessageIcon::Information;
}

}  // namespace

SafekeepingWindow::SafekeepingWindow(SafekeepingContext context, const QString& title,
                                     const QString& startCaption, const QString& whatHeading,
                                     const std::array<const char*, 4>& captions, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setWindowTitle(title);
    WhatHeading = addHeading(QStringLiteral("WhatHeading"), whatHeading, 8);
    GroupBox = new QGroupBox(this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    GroupBox->setGeometry(16, 32, 368, 132);
    static const std::array<const char*, 4> names = {"DatabaseRadio", "ListsRadio", "ConfigRadio",
                                                     "ReportsRadio"};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(captions[i]), GroupBox);
        button->setObjectName(QString::fromLatin1(names[i]));
        button->setGeometry(12, 10 + int(i) * 29, 344, 24);
        groupButtons[i] = button;
    }
    StartButton = new QPushButton(startCaption, this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    StartButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    HelpButton = new QPushButton(QStringLiteral("&Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    connect(CancelButton, &QPushButton::clicked, this, &SafekeepingWindow::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &SafekeepingWindow::HelpButtonClick);
}

QLabel* SafekeepingWindow::addHeading(const QString& objectName, const QString& text, int top) {
    auto* heading = new QLabel(text, this);
    heading->setObjectName(objectName);
    heading->setGeometry(16, top, 368, 20);
    headings_.append(heading);
    return heading;
}

SafekeepingGroup SafekeepingWindow::selectedGroup() const {
    for (std::size_t i = 0; i < groupButtons.size(); ++i)
        if (groupButtons[i]->isChecked()) return SafekeepingGroup(i);
    return SafekeepingGroup::Table;
}

void SafekeepingWindow::selectGroup(SafekeepingGroup group) {
    groupButtons[std::size_t(group)]->setChecked(true);
}

void SafekeepingWindow::CancelButtonClick() {
    reject();
}

void SafekeepingWindow::HelpButtonClick() {
    ui::platform().showHelpKeyword(this, QStringLiteral("Backup and Restore"));
}

void SafekeepingWindow::prepareShow() {
    ui::ShowOptions options = context_.show;
    options.geometry = nullptr;
    options.centre = true;
    options.colors = &context_.colors;
    options.majorTitles = headings_;
    ui::prepareWindowForShow(this, options);
    selectGroup(SafekeepingGroup::Table);
}

void SafekeepingWindow::run(const std::function<bool(Safekeeping&)>& work) {
    Safekeeping safekeeping(*context_.host, [this](const QString& title, const QString& text) {
        ui::showMessage(this, title, text, ui::MessageButtons::Ok, iconFor(title));
    });
    bool done = false;
    // An engine failure that the run could not handle itself (the table cannot even be opened
    // again) is shown here: it must not leave through the event loop.
    try {
        done = work(safekeeping);
    } catch (const engine::EngineError& e) {
        ui::showError(this, QString::fromUtf8(e.what()));
    }
    if (done) {
        CancelButton->setText(QStringLiteral("&Close"));
        CancelButton->setFocus();
    }
}

}  // namespace safekeeping
