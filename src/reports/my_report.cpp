#include "reports/my_report.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "engine/table.h"
#include "reports/album_job.h"
#include "reports/album_window.h"
#include "reports/my_preview.h"
#include "reports/print_select.h"
#include "reports/printer_choice.h"
#include "reports/report_file.h"
#include "reports/report_form.h"
#include "reports/user_report.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace reports {

namespace {

constexpr int kMenuHeight = 24;
constexpr int kButtonLeft = 300;
constexpr int kButtonWidth = 120;

// A save dialog that asks before overwriting and wants an existing folder; "" when cancelled.
QString askSaveFile(QWidget* parent, const QString& title, const QString& filter,
                    const QString& extension) {
    ui::FileDialogRequest request;
    request.parent = parent;
    request.title = title;
    request.filter = filter;
    request.defaultExtension = extension;
    request.flags = ui::PromptOverwrite | ui::PathMustExist;
    return ui::platform().saveFileName(request);
}

}  // namespace

TMyReport::TMyReport(ReportContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("MyReport"));
    setWindowTitle(QStringLiteral("Reports"));
    resize(436, 330);

    ReportBox = new QListWidget(this);
    ReportBox->setObjectName(QStringLiteral("ReportBox"));
    ReportBox->setGeometry(12, kMenuHeight + 12, 272, 180);
    connect(ReportBox, &QListWidget::itemDoubleClicked, this, [this] { DoView(); });

    auto* scope = new QGroupBox(this);
    scope->setGeometry(12, kMenuHeight + 200, 272, 64);
    ExportEntire = new QRadioButton(QStringLiteral("Print Entire Database"), scope);
    ExportEntire->setObjectName(QStringLiteral("ExportEntire"));
    ExportEntire->setGeometry(10, 8, 250, 22);
    ExportSearch = new QRadioButton(QStringLiteral("Print Search Criteria"), scope);
    ExportSearch->setObjectName(QStringLiteral("ExportSearch"));
    ExportSearch->setGeometry(10, 34, 250, 22);

    SortOrderLabel = new QLabel(this);
    SortOrderLabel->setObjectName(QStringLiteral("SortOrderLabel"));
    SortOrderLabel->setGeometry(12, kMenuHeight + 272, 412, 22);

    ViewButton = addButton("ViewButton", QStringLiteral("&View"), 12, &TMyReport::DoView);
    ViewButton->setDefault(true);
    PrintButton = addButton("PrintButton", QStringLiteral("&Print"), 44, &TMyReport::DoPrint);
    PrintFileButton = addButton("PrintFileButton", QStringLiteral("Print To &File"), 76,
                                &TMyReport::DoPrintToFile);
    NewButton = addButton("NewButton", QStringLiteral("&New Report"), 116, &TMyReport::DoNew);
    ModifyButton =
        addButton("ModifyButton", QStringLiteral("&Modify Report"), 148, &TMyReport::DoModify);
    HelpButton = addButton("HelpButton", QStringLiteral("&Help"), 188, &TMyReport::DoHelp);
    ExitButton = new QPushButton(QStringLiteral("E&xit"), this);
    ExitButton->setObjectName(QStringLiteral("ExitButton"));
    ExitButton->setGeometry(kButtonLeft, kMenuHeight + 228, kButtonWidth, 28);
    connect(ExitButton, &QPushButton::clicked, this, &QDialog::accept);

    buildMenus();
    LoadReportBox();  // FormCreate
}

TMyReport::~TMyReport() = default;

QPushButton* TMyReport::addButton(const char* name, const QString& caption, int top,
                                  void (TMyReport::*operation)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(kButtonLeft, kMenuHeight + top, kButtonWidth, 28);
    connect(button, &QPushButton::clicked, this, operation);
    return button;
}

void TMyReport::buildMenus() {
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    MainMenu->setGeometry(0, 0, width(), kMenuHeight);
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        void (TMyReport::*operation)();
    };
    const auto addItems = [this](QMenu* menu, std::initializer_list<Item> items) {
        for (const Item& item : items) {
            if (!item.name) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromLatin1(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            action->setShortcut(item.shortcut);
            connect(action, &QAction::triggered, this, item.operation);
        }
    };
    QMenu* file = MainMenu->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    addItems(file,
             {{"MenuView", "&View", QKeySequence(Qt::CTRL | Qt::Key_V), &TMyReport::DoView},
              {"MenuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P), &TMyReport::DoPrint},
              {"MenuPrintFile", "Print To &File", QKeySequence(Qt::CTRL | Qt::Key_F),
               &TMyReport::DoPrintToFile},
              {nullptr, nullptr, {}, nullptr},
              {"MenuPrinterSetup", "Printer &Setup", QKeySequence(Qt::CTRL | Qt::Key_S),
               &TMyReport::DoPrinterSetup},
              {nullptr, nullptr, {}, nullptr},
              {"MenuAlbum", "&Album Pages...", {}, &TMyReport::DoAlbum},
              {nullptr, nullptr, {}, nullptr}});
    // Exit of the File menu closes the window like the Exit button.
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("MenuExit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(exit, &QAction::triggered, this, &QDialog::accept);

    QMenu* options = MainMenu->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("OptionsMenu"));
    addItems(
        options,
        {{"MenuModify", "&Modify Report", QKeySequence(Qt::CTRL | Qt::Key_M), &TMyReport::DoModify},
         {"MenuNew", "&New Report", QKeySequence(Qt::CTRL | Qt::Key_N), &TMyReport::DoNew}});
    QAction* help = MainMenu->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    connect(help, &QAction::triggered, this, &TMyReport::DoHelp);
}

void TMyReport::LoadReportBox() {
    ReportBox->clear();
    ReportBox->addItems(ReportFile::inFolder(context_.programDirectory).names());
}

int TMyReport::selectedReport() const {
    const QList<QListWidgetItem*> selected = ReportBox->selectedItems();
    return selected.isEmpty() ? -1 : ReportBox->row(selected.first());
}

void TMyReport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMyReport::FormShow() {
    ui::ShowOptions options = context_.show;
    options.geometry = nullptr;
    options.centre = true;
    options.colors = &context_.colors;
    ui::prepareWindowForShow(this, options);

    const bool search = context_.searchActive && context_.searchActive();
    ExportSearch->setEnabled(search);
    ExportSearch->setChecked(search);
    ExportEntire->setChecked(!search);

    ReportBox->setFocus();
    const int last = context_.settings ? context_.settings->lastReport : 0;
    if (last >= 0 && last < ReportBox->count()) ReportBox->setCurrentRow(last);

    QStringList levels;
    for (int level : context_.sortLevels)
        if (level > 0) levels << context_.labels.value(level - 1);
    SortOrderLabel->setText(levels.isEmpty() ? QStringLiteral("No Sort Order Selected")
                                             : levels.join(QStringLiteral(", ")));
}

void TMyReport::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TMyReport::FormClose() {
    const int selected = selectedReport();
    if (context_.settings && selected >= 0) context_.settings->lastReport = selected;
}

int TMyReport::readSelectedReport() {
    const int k = selectedReport();
    if (k < 0) {
        refuseNoReport();
        return -1;
    }
    const std::optional<ReportDefinition> read =
        ReportFile::inFolder(context_.programDirectory).read(k);
    if (!read) {
        ui::showError(this, kReportNotFound, ui::Alert::Beep, ui::MessageIcon::Warning);
        ReportBox->setFocus();
        return -1;
    }
    report_ = *read;
    return k;
}

void TMyReport::refuseNoReport() {
    ui::showError(this, kNoReportSelected, ui::Alert::Beep, ui::MessageIcon::Warning);
    ReportBox->setFocus();
}

RenderSettings TMyReport::renderSettings() const {
    RenderSettings s;
    for (int i = 0; i < collection::kFieldCount; ++i) s.fieldLabels[i] = context_.labels.value(i);
    s.sortLevels = context_.sortLevels;
    s.numericFormat = context_.numericFormat;
    s.currencyFormat = context_.currencyFormat;
    s.today = ui::platform().today();
    return s;
}

void TMyReport::DoView() {
    DoIt(OutputMode::Preview);
}

void TMyReport::DoPrint() {
    DoIt(OutputMode::Printer);
}

void TMyReport::DoPrintToFile() {
    const QString path = askSaveFile(this, QStringLiteral("Save Report As a Text File"),
                                     QStringLiteral("Text Files (*.TXT)"), QStringLiteral("TXT"));
    if (path.isEmpty()) return;
    DoIt(OutputMode::TextFile, path);
}

void TMyReport::DoIt(OutputMode mode, const QString& path) {
    const int k = readSelectedReport();
    if (k < 0) return;
    if (!context_.table) return;

    PrinterChoice choice;
    QString pdfPath;
    if (!printTarget(mode == OutputMode::Printer, choice, pdfPath)) return;
    const bool restoreSearch = beginScope();
    const std::uint32_t keep = context_.table->recNo();

    ReportJob job(report_, *context_.table, renderSettings(), pageFor(choice));
    RecordedReport recorded;
    std::unique_ptr<QPrinter> printer;
    std::function<RunResult(ReportJob&)> start;
    switch (mode) {
        case OutputMode::TextFile:
            start = [path](ReportJob& j) { return j.runToText(path); };
            break;
        case OutputMode::Preview:
            start = [&recorded](ReportJob& j) { return j.runToPages(recorded); };
            break;
        case OutputMode::Printer:
            if (choice.kind == PrinterChoice::PdfFile) {
                start = [pdfPath](ReportJob& j) { return j.runToPdf(pdfPath); };
            } else {
                printer = printerFor(choice);
                QPrinter* device = printer.get();
                start = [device](ReportJob& j) { return j.runToDevice(*device); };
            }
            break;
    }
    bool aborted = true;
    {
        TReportForm form(job, start, this);
        ui::platform().execModal(form);
        aborted = !form.finished() || form.aborted();
    }
    if (mode == OutputMode::Preview && !aborted)
        showPreview(recorded, report_.name, context_.settings, this, previewOpener(choice));
    endScope(restoreSearch, keep);
}

bool TMyReport::printTarget(bool print, PrinterChoice& choice, QString& pdfPath) {
    const collection::ReportSettings printerKeys =
        context_.settings ? *context_.settings : collection::ReportSettings();
    choice = currentPrinterChoice(printerKeys.defaultPrinter, printerKeys.printerIndex);
    if (!print) return true;
    if (choice.kind == PrinterChoice::NoPrinter) {
        ui::showError(this, kNoPrinterMessage, ui::Alert::Beep, ui::MessageIcon::Warning);
        return false;
    }
    if (choice.kind == PrinterChoice::PdfFile) {
        pdfPath = askSaveFile(this, QStringLiteral("Save Report As a PDF File"),
                              QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf"));
        if (pdfPath.isEmpty()) return false;
    }
    return true;
}

bool TMyReport::beginScope() {
    if (!ExportEntire->isChecked() || !context_.searchActive || !context_.searchActive() ||
        !context_.endSearch)
        return false;
    context_.endSearch();
    return true;
}

void TMyReport::endScope(bool restoreSearch, std::uint32_t keep) {
    if (keep) context_.table->goToRecord(keep);
    if (restoreSearch && context_.restoreSearch) context_.restoreSearch();
}

std::unique_ptr<QPrinter> TMyReport::printerFor(const PrinterChoice& choice) {
    auto printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(choice.name),
                                              QPrinter::HighResolution);
    printer->setDocName(QStringLiteral("Test Report"));
    return printer;
}

PrintDeviceOpener TMyReport::previewOpener(const PrinterChoice& choice) {
    if (choice.kind != PrinterChoice::System) return openPdfPrintDevice;
    return [choice](QWidget*) -> std::unique_ptr<QPagedPaintDevice> { return printerFor(choice); };
}

void TMyReport::DoAlbum() {
    if (!context_.table) return;
    TAlbumPages window(this);
    if (ui::platform().execModal(window) != QDialog::Accepted) return;
    const bool print = window.output() == TAlbumPages::Output::Print;
    AlbumOptions options = window.options();
    options.today = ui::platform().today();
    PrinterChoice choice;
    QString pdfPath;
    if (!printTarget(print, choice, pdfPath)) return;

    const bool restoreSearch = beginScope();
    const std::uint32_t keep = context_.table->recNo();
    const QString tablePath = QString::fromStdString(context_.table->path());
    std::vector<AlbumStamp> stamps = albumStamps(*context_.table, storeMainPicture(tablePath));
    if (stamps.empty()) {
        endScope(restoreSearch, keep);
        ui::showNotice(this, kNoAlbumPictures);
        return;
    }
    AlbumJob job(std::move(stamps), options, pageFor(choice));
    RecordedReport recorded;
    std::unique_ptr<QPrinter> printer;
    std::function<RunResult()> start = [&job, &recorded] { return job.runToPages(recorded); };
    if (print && choice.kind == PrinterChoice::PdfFile) {
        start = [&job, pdfPath] { return job.runToPdf(pdfPath); };
    } else if (print) {
        printer = printerFor(choice);
        start = [&job, device = printer.get()] { return job.runToDevice(*device); };
    }
    bool aborted = true;
    {
        TReportForm form(job, start, this);
        ui::platform().execModal(form);
        aborted = !form.finished() || form.aborted();
    }
    if (!print && !aborted)
        showPreview(recorded, QStringLiteral("Album Pages"), context_.settings, this,
                    previewOpener(choice));
    endScope(restoreSearch, keep);
}

void TMyReport::DoNew() {
    report_ = newReportTemplate();
    design(-1);
}

void TMyReport::DoModify() {
    const int k = readSelectedReport();
    if (k < 0) return;
    design(k);
}

void TMyReport::design(int record) {
    ui::ShowOptions options = context_.show;
    options.colors = &context_.colors;
    TUserReport designer(report_, record, context_.programDirectory, context_.labels, options,
                         this);
    if (ui::platform().execModal(designer) != QDialog::Accepted) return;
    LoadReportBox();
    const int saved = designer.savedPosition();
    if (saved >= 0 && saved < ReportBox->count()) ReportBox->setCurrentRow(saved);
}

void TMyReport::DoHelp() {
    ui::platform().showHelpKeyword(this, QStringLiteral("Report Window"));
}

void TMyReport::DoPrinterSetup() {
    if (!context_.settings) return;
    TPrintSelect select(*context_.settings, context_.show, this);
    ui::platform().execModal(select);
}

}  // namespace reports
