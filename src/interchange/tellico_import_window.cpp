#include "interchange/tellico_import_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include "collection/date_format.h"
#include "interchange/import_window_run.h"
#include "interchange/store_pictures.h"
#include "interchange/window_parts.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace interchange {

TTellicoImport::TTellicoImport(InterchangeContext context, const QString& path,
                               TellicoSource source, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), path_(path), source_(std::move(source)) {
    setObjectName(QStringLiteral("TellicoImport"));
    setWindowTitle(QStringLiteral("Tellico Import"));
    resize(640, 440);

    QLabel* heading = addHeading(this, "PlanLabel",
                                 QStringLiteral("Where the fields of \"%1\" go").arg(source_.title),
                                 {16, 8, 420, 18});
    heading->setWordWrap(false);
    PlanList = new QListWidget(this);
    PlanList->setObjectName(QStringLiteral("PlanList"));
    PlanList->setGeometry(16, 28, 420, 380);
    PlanList->addItems(source_.plan);

    addHeading(this, "ImportLabel", QStringLiteral("Import"), {452, 28, 80, 18});
    addHeading(this, "CountLabel", QStringLiteral("Count"), {452, 46, 80, 18});
    CountBox = new QLabel(QStringLiteral("0"), this);
    CountBox->setObjectName(QStringLiteral("CountBox"));
    CountBox->setFrameShape(QFrame::Panel);
    CountBox->setFrameShadow(QFrame::Sunken);
    CountBox->setGeometry(452, 68, 172, 22);

    StartButton = addButton(this, "StartButton", QStringLiteral("&Start Import"),
                            {452, 300, 172, 28}, &TTellicoImport::StartButtonClick);
    ExitButton = addButton(this, "ExitButton", QStringLiteral("E&xit"), {452, 340, 172, 28},
                           &TTellicoImport::ExitButtonClick);
    HelpButton = addButton(this, "HelpButton", QStringLiteral("&Help"), {452, 380, 172, 28},
                           &TTellicoImport::HelpButtonClick);
}

void TTellicoImport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TTellicoImport::FormShow() {
    prepareInterchangeWindow(this, context_.show, true);
}

void TTellicoImport::StartButtonClick() {
    if (!context_.table) return;
    ImportOptions options;
    options.dateFormat = collection::currentDateFormat();
    options.currentYear = ui::platform().today().year();
    RunTicker ticker([this](std::uint64_t n) { CountBox->setText(QString::number(n)); });
    options.progress = [&ticker](std::uint64_t n) { ticker.tick(n); };
    const std::string source = path_.toStdString();
    // Each entry's images become the new stamp's pictures.
    StoreImportPictures pictures(QString::fromStdString(context_.table->path()), path_);
    options.pictures = &pictures;
    const bool ran = runImportWindowed(
        this, context_, CountBox, {StartButton, ExitButton, HelpButton, PlanList},
        [&] { return importTellico(*context_.table, source, options); });
    if (ran) accept();
}

void TTellicoImport::ExitButtonClick() {
    reject();
}

void TTellicoImport::HelpButtonClick() {
    ui::platform().showHelpKeyword(this, QStringLiteral("Tellico"));
}

}  // namespace interchange
