#include "interchange/my_export.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableWidget>
#include <climits>

#include "collection/collection_own_files.h"
#include "collection/collection_paths.h"
#include "collection/collection_settings.h"
#include "collection/date_format.h"
#include "engine/error.h"
#include "interchange/store_pictures.h"
#include "interchange/tellico_run.h"
#include "interchange/window_parts.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace interchange {

namespace {

constexpr int kFieldRole = Qt::UserRole + 1;
const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

}  // namespace

TMyExport::TMyExport(InterchangeContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("MyExport"));
    setWindowTitle(QStringLiteral("Export"));
    resize(600, 506);

    ExportGrid =
        addOrderGrid(this, "ExportGrid", {QStringLiteral("FIELD"), QStringLiteral("EXPORT IT")},
                     {16, 16, 320, 360});
    connect(ExportGrid, &QTableWidget::cellDoubleClicked, this, &TMyExport::ExportGridDblClick);
    Notes = addHeading(this, "NotesLabel", QStringLiteral("NOTES"), {352, 8, 232, 18});
    SideText = addSideText(this,
                           QStringLiteral("To have a field included in the export, select \"Yes\".  "
                                          "To exclude it, select \"No\".  Double click on the "
                                          "field to toggle between Yes and No."),
                           {352, 28, 232, 80});
    WhatToExport =
        addHeading(this, "WhatToExportLabel", QStringLiteral("What to Export"), {352, 114, 232, 18});
    HowToExport =
        addHeading(this, "HowToExportLabel", QStringLiteral("How To Export"), {352, 188, 232, 18});

    auto radio = [this](const char* name, const QString& caption, QRect geometry) {
        auto* r = new QRadioButton(caption, this);
        r->setObjectName(QString::fromLatin1(name));
        r->setGeometry(geometry);
        return r;
    };
    ExportEntire =
        radio("ExportEntire", QStringLiteral("Export Entire Database"), {352, 134, 232, 24});
    ExportSearch =
        radio("ExportSearch", QStringLiteral("Export Search Criteria"), {352, 158, 232, 24});
    AsciiFile =
        radio("AsciiFile", QStringLiteral("Ascii Delimited Text File"), {352, 208, 232, 24});
    DBaseFile = radio("DBaseFile", QStringLiteral("DBase File (DBF)"), {352, 232, 232, 24});
    TellicoFile =
        radio("TellicoFile", QStringLiteral("Tellico Stamp Collection"), {352, 256, 232, 24});
    // Two exclusive groups: real radio buttons, announced as such to assistive tools.
    auto* scope = new QButtonGroup(this);
    scope->addButton(ExportEntire);
    scope->addButton(ExportSearch);
    auto* kind = new QButtonGroup(this);
    for (QRadioButton* r : {AsciiFile, DBaseFile, TellicoFile}) kind->addButton(r);
    connect(AsciiFile, &QRadioButton::clicked, this, &TMyExport::AsciiFileClick);
    connect(DBaseFile, &QRadioButton::clicked, this, &TMyExport::DBaseFileClick);
    // A Tellico collection has no title line either.
    connect(TellicoFile, &QRadioButton::clicked, this, &TMyExport::DBaseFileClick);

    FirstRow = new QCheckBox(QStringLiteral("&First Record Contains Field Names"), this);
    FirstRow->setObjectName(QStringLiteral("FirstRow"));
    FirstRow->setGeometry(352, 282, 240, 24);
    FirstRow->setChecked(context_.settings ? context_.settings->exportOptions.firstRow : true);
    connect(FirstRow, &QCheckBox::clicked, this, &TMyExport::FirstRowClick);
    // Off unless asked for: a last column of each stamp's picture files, copied beside the file.
    PictureColumn = new QCheckBox(QStringLiteral("&Pictures in Last Column"), this);
    PictureColumn->setObjectName(QStringLiteral("PictureColumn"));
    PictureColumn->setGeometry(352, 306, 240, 24);
    PictureColumn->setChecked(false);

    UpButton = addButton(this, "UpButton", QStringLiteral("&Up"), {16, 388, 90, 28},
                         &TMyExport::UpButtonClick);
    DownButton = addButton(this, "DownButton", QStringLiteral("&Down"), {116, 388, 90, 28},
                           &TMyExport::DownButtonClick);
    DefaultsButton = addButton(this, "DefaultsButton", QStringLiteral("D&efaults"),
                               {216, 388, 120, 28}, &TMyExport::DefaultsButtonClick);
    StartExportButton = addButton(this, "StartExportButton", QStringLiteral("&Start Export"),
                                  {352, 340, 232, 28}, &TMyExport::StartExportButtonClick);
    ExitButton = addButton(this, "ExitButton", QStringLiteral("E&xit"), {352, 374, 232, 28},
                           &TMyExport::ExitButtonClick);
    HelpButton = addButton(this, "HelpButton", QStringLiteral("&Help"), {352, 408, 232, 28},
                           &TMyExport::HelpButtonClick);

    ExportProgress = addHeading(this, "ExportProgressLabel", QStringLiteral("Export Progress"),
                                {16, 450, 568, 18});
    ExportGauge = new QProgressBar(this);
    ExportGauge->setObjectName(QStringLiteral("ExportGauge"));
    ExportGauge->setGeometry(16, 470, 568, 22);
    ExportGauge->setRange(0, 1);
    ExportGauge->setValue(0);
}

void TMyExport::ExportData(InterchangeContext context, QWidget* parent) {
    TMyExport window(std::move(context), parent);
    ui::platform().execModal(window);
}

void TMyExport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMyExport::FormShow() {
    prepareInterchangeWindow(this, context_.show, true,
                             {Notes, WhatToExport, HowToExport, ExportProgress});
    fitSideText(SideText);
    setColumnWidths(ExportGrid, {200, 100}, context_.show.scaleFactor);
    fillGrid(context_.settings ? exportRows(*context_.settings) : defaultExportRows());

    ExportSearch->setEnabled(context_.searchActive);
    ExportSearch->setChecked(context_.searchActive);
    ExportEntire->setChecked(!context_.searchActive);
    const int fileType = context_.settings ? context_.settings->exportOptions.fileType : 1;
    (fileType == 2 ? DBaseFile : fileType == 3 ? TellicoFile : AsciiFile)->setChecked(true);
    if (fileType == 2 || fileType == 3) DBaseFileClick();
}

void TMyExport::fillGrid(const ExportRows& rows) {
    const QStringList labels = fieldLabels(context_.settings);
    ExportGrid->setRowCount(collection::kFieldCount);
    for (int r = 0; r < collection::kFieldCount; ++r) {
        QTableWidgetItem* label = gridCell(labels.value(rows[std::size_t(r)].field - 1));
        label->setData(kFieldRole, rows[std::size_t(r)].field);
        ExportGrid->setItem(r, 0, label);
        ExportGrid->setItem(r, 1, gridCell(rows[std::size_t(r)].exported ? kYes : kNo));
    }
    ExportGrid->setCurrentCell(0, 0);
}

ExportRows TMyExport::gridRows() const {
    ExportRows rows{};
    for (int r = 0; r < collection::kFieldCount; ++r)
        rows[std::size_t(r)] = {ExportGrid->item(r, 0)->data(kFieldRole).toInt(),
                                ExportGrid->item(r, 1)->text() == kYes};
    return rows;
}

void TMyExport::FirstRowClick() {
    if (context_.settings) context_.settings->exportOptions.firstRow = FirstRow->isChecked();
}

void TMyExport::AsciiFileClick() {
    for (QCheckBox* box : {FirstRow, PictureColumn}) {
        box->show();
        box->setEnabled(true);
    }
}

// dBase tables and Tellico files take the pictures without asking; neither has a title line.
void TMyExport::DBaseFileClick() {
    for (QCheckBox* box : {FirstRow, PictureColumn}) {
        box->hide();
        box->setEnabled(false);
    }
}

void TMyExport::ExportGridDblClick(int row, int column) {
    if (column != 1 || row < 0) return;
    QTableWidgetItem* item = ExportGrid->item(row, 1);
    item->setText(item->text() == kYes ? kNo : kYes);
}

void TMyExport::UpButtonClick() {
    moveCurrentRow(ExportGrid, -1, 0);
}

void TMyExport::DownButtonClick() {
    moveCurrentRow(ExportGrid, 1, 0);
}

void TMyExport::DefaultsButtonClick() {
    if (!ui::askYesNo(this, QStringLiteral("Re-Order"),
                      QStringLiteral("This will set the order of fields to the program defaults.  "
                                     "Continue?")))
        return;
    fillGrid(defaultExportRows());
}

void TMyExport::UpdateConfigs() {
    if (context_.settings) storeExportRows(*context_.settings, gridRows());
}

void TMyExport::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TMyExport::FormClose() {
    if (!context_.settings) return;
    context_.settings->exportOptions.fileType =
        AsciiFile->isChecked() ? 1 : TellicoFile->isChecked() ? 3 : 2;
    UpdateConfigs();
}

QString TMyExport::targetPath(ExportKind kind) {
    ui::FileDialogRequest request;
    request.parent = this;
    request.title = QStringLiteral("Export Data");
    request.flags = ui::PromptOverwrite | ui::PathMustExist;
    if (kind == ExportKind::Text) {
        request.filter = QStringLiteral("Ascii Delimited Text (*.TXT *.txt)");
        request.defaultExtension = QStringLiteral("TXT");
    } else if (kind == ExportKind::Tellico) {
        request.filter = QStringLiteral("Tellico (*.tc *.TC)");
        request.defaultExtension = QStringLiteral("tc");
    } else {
        request.filter = QStringLiteral("DBase (*.DBF *.dbf)");
        request.defaultExtension = QStringLiteral("DBF");
    }
    if (context_.lastExportFile) request.initialPath = *context_.lastExportFile;
    const QString path = ui::platform().saveFileName(request);
    if (!path.isEmpty() && context_.lastExportFile)
        *context_.lastExportFile = QFileInfo(path).absolutePath();
    return path;
}

ExportResult TMyExport::runExport(ExportKind kind, const QString& path,
                                  const std::vector<int>& fields) {
    const engine::Table& main = *context_.table;
    ExportRequest request;
    request.fields = fields;
    request.dateFormat = collection::currentDateFormat();
    if (kind == ExportKind::Text && FirstRow->isChecked()) {
        for (int field : fields)
            request.titles.push_back(
                (context_.displayLabel ? context_.displayLabel(field)
                                       : QString::fromLatin1(collection::schemaField(field).name))
                    .toStdString());
    }
    // The records the grid shows (or all of them), in its order, through a table of our own.
    engine::Table source;
    source.open(main.path(), engine::OpenMode::Shared);
    source.selectIndex(main.selectedIndex());
    const bool searchScope = ExportSearch->isChecked() && context_.searchActive;
    if (searchScope && context_.searchFilter) source.setFilter(context_.searchFilter);
    ExportGauge->setRange(0, int(std::min<std::uint32_t>(main.recordCount(), INT_MAX)));
    ExportGauge->setValue(0);
    RunTicker ticker([this](std::uint64_t n) { ExportGauge->setValue(int(n)); });
    request.progress = [&ticker](std::uint64_t n) { ticker.tick(n); };
    const std::string target = path.toStdString();
    // The stamps' pictures: always with a dBase table or a Tellico file, when the collection has
    // any; with a text file when asked.
    const QString table = QString::fromStdString(main.path());
    std::unique_ptr<StoreExportPictures> pictures;
    if (kind == ExportKind::Text ? PictureColumn->isChecked()
                                 : !pictures::PictureStore(table).empty())
        pictures = std::make_unique<StoreExportPictures>(table, path, kind);
    request.pictures = pictures.get();
    switch (kind) {
        case ExportKind::Text:
            return exportText(source, target, request);
        case ExportKind::Dbase:
            return exportDbf(source, target, request);
        case ExportKind::Tellico:
            break;
    }
    return exportTellico(source, target, request,
                         collection::collectionPaths(QString::fromStdString(main.path())).tableName);
}

void TMyExport::StartExportButtonClick() {
    UpdateConfigs();
    const std::vector<int> fields = exportList(gridRows());
    const ExportKind kind = AsciiFile->isChecked()     ? ExportKind::Text
                            : TellicoFile->isChecked() ? ExportKind::Tellico
                                                       : ExportKind::Dbase;
    if (fields.empty() && kind != ExportKind::Tellico) {
        ui::showError(this, QStringLiteral("No fields selected for export."));
        return;
    }
    const QString path = targetPath(kind);
    if (path.isEmpty()) return;
    if (kind == ExportKind::Dbase && !hasExtension(path, QStringLiteral(".DBF"))) {
        ui::showError(this, QStringLiteral("Invalid file type selected."));
        return;
    }
    if (!context_.table || !context_.table->isOpen()) return;
    // The collection's own files are never export targets: the run would destroy them.
    const QString table = QString::fromStdString(context_.table->path());
    if (const auto own = collection::collectionFileAt(table, path)) {
        ui::showError(this, collection::ownFileRefusal(path, *own, table));
        return;
    }
    ExportResult result;
    try {
        ui::BusyCursor busy;
        setEnabled(false);
        if (context_.suspendViewer) context_.suspendViewer(true);
        result = runExport(kind, path, fields);
        if (context_.suspendViewer) context_.suspendViewer(false);
        setEnabled(true);
    } catch (const engine::EngineError& e) {
        if (context_.suspendViewer) context_.suspendViewer(false);
        setEnabled(true);
        result.error = e.what();
    }
    if (!result.error.empty()) {
        ui::showError(this, QStringLiteral("The export stopped after %1 records: %2  \"%3\" was "
                                           "left as it was.")
                                .arg(result.written)
                                .arg(QString::fromStdString(result.error), path));
        ExportGauge->setValue(0);
        return;
    }
    ExportGauge->setValue(ExportGauge->maximum());
    QString complete = QStringLiteral("Export Complete.");
    if (const std::string notes = exportNotes(result); !notes.empty())
        complete += QStringLiteral("  ") + QString::fromStdString(notes);
    ui::showMessage(this, QStringLiteral("Ok"), complete);
    ExportGauge->setValue(0);
    accept();
}

void TMyExport::ExitButtonClick() {
    reject();
}

void TMyExport::HelpButtonClick() {
    ui::platform().showHelpKeyword(this, QStringLiteral("Export Window"));
}

}  // namespace interchange
