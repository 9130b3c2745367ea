#include "interchange/my_import.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

#include "collection/collection_settings.h"
#include "collection/date_format.h"
#include "interchange/import_run.h"
#include "interchange/import_window_run.h"
#include "interchange/store_pictures.h"
#include "interchange/window_parts.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace interchange {

namespace {

constexpr int kImportFieldRole = Qt::UserRole + 1;
const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

}  // namespace

TMyImport::TMyImport(InterchangeContext context, int kind, const QString& path,
                     std::vector<std::string> names, QWidget* parent)
    : QDialog(parent),
      context_(std::move(context)),
      kind_(kind),
      path_(path),
      names_(std::move(names)) {
    setObjectName(QStringLiteral("MyImport"));
    resize(640, 440);

    ImportGrid = addOrderGrid(
        this, "ImportGrid",
        {QStringLiteral("TESSERA FIELDS"), QStringLiteral("IMPORT FIELDS"), QStringLiteral("USE")},
        {16, 16, 420, 360});
    connect(ImportGrid, &QTableWidget::cellDoubleClicked, this, &TMyImport::ImportGridDblClick);
    // The count keeps its place under "Import" and "Count"; the side text stands below the
    // "Skip First Record" box, as tall as its words need (fitSideText when shown).
    SideText = addSideText(
        this,
        QStringLiteral("Use the \"Up\" and \"Down\" buttons to match up the Tessera fields "
                       "with the Import Fields.  Select \"Yes\"  to include it.  Double "
                       "click on the \"USE\" field to toggle between Yes and No."),
        {452, 164, 172, 128});

    ImportLabel = addHeading(this, "ImportLabel", QStringLiteral("Import"), {540, 56, 80, 18});
    CountLabel = addHeading(this, "CountLabel", QStringLiteral("Count"), {540, 74, 80, 18});
    CountBox = new QLabel(QStringLiteral("0"), this);
    CountBox->setObjectName(QStringLiteral("CountBox"));
    CountBox->setFrameShape(QFrame::Panel);
    CountBox->setFrameShadow(QFrame::Sunken);
    CountBox->setGeometry(540, 96, 84, 22);

    SkipFirst = new QCheckBox(QStringLiteral("Skip First Record"), this);
    SkipFirst->setObjectName(QStringLiteral("SkipFirst"));
    SkipFirst->setGeometry(452, 132, 172, 24);
    SkipFirst->setChecked(context_.settings ? context_.settings->importOptions.firstRow : true);
    connect(SkipFirst, &QCheckBox::clicked, this, &TMyImport::SkipFirstClick);

    UpButton = addButton(this, "UpButton", QStringLiteral("&Up"), {16, 392, 90, 28},
                         &TMyImport::UpButtonClick);
    DownButton = addButton(this, "DownButton", QStringLiteral("&Down"), {116, 392, 90, 28},
                           &TMyImport::DownButtonClick);
    StartButton = addButton(this, "StartButton", QStringLiteral("&Start Import"),
                            {452, 304, 172, 28}, &TMyImport::StartButtonClick);
    ExitButton = addButton(this, "ExitButton", QStringLiteral("E&xit"), {452, 340, 172, 28},
                           &TMyImport::ExitButtonClick);
    HelpButton = addButton(this, "HelpButton", QStringLiteral("&Help"), {452, 380, 172, 28},
                           &TMyImport::HelpButtonClick);
}

void TMyImport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMyImport::FormShow() {
    prepareInterchangeWindow(this, context_.show, true, {ImportLabel, CountLabel});
    fitSideText(SideText);
    setWindowTitle(kind_ == 2 ? QStringLiteral("DBase File Import")
                              : QStringLiteral("Ascii Delimited Text Import"));
    if (kind_ == 2) {
        SkipFirst->hide();
        SkipFirst->setEnabled(false);
    }
    fillGrid();
    setColumnWidths(ImportGrid, {179, 179, 38}, context_.show.scaleFactor);
}

void TMyImport::fillGrid() {
    QStringList labels = fieldLabels(context_.settings);
    const int count = int(names_.size());
    // A text source has a row for the stamps' pictures after the 25 fields.
    const bool text = kind_ != 2;
    const std::vector<ImportRow> rows =
        text ? defaultTextImportRows(names_) : defaultImportRows(count);
    if (text && rows.size() > std::size_t(kPictureRow))
        labels.append(QString::fromLatin1(kPictureColumnName));
    ImportGrid->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        ImportGrid->setItem(r, 0, gridCell(r < labels.size() ? labels[r] : QString()));
        const int field = rows[std::size_t(r)].importField;
        const bool holds = field >= 0;
        QTableWidgetItem* name = gridCell(holds ? QString::fromStdString(names_[std::size_t(field)])
                                                : QStringLiteral("<EMPTY>"));
        name->setData(kImportFieldRole, field);
        ImportGrid->setItem(r, 1, name);
        ImportGrid->setItem(r, 2,
                            gridCell(holds ? (rows[std::size_t(r)].use ? kYes : kNo) : QString()));
    }
    ImportGrid->setCurrentCell(0, 1);
}

std::vector<ImportRow> TMyImport::gridRows() const {
    std::vector<ImportRow> rows;
    for (int r = 0; r < ImportGrid->rowCount(); ++r)
        rows.push_back({ImportGrid->item(r, 1)->data(kImportFieldRole).toInt(),
                        ImportGrid->item(r, 2)->text() == kYes});
    return rows;
}

void TMyImport::UpButtonClick() {
    moveCurrentRow(ImportGrid, -1, 1);
}

void TMyImport::DownButtonClick() {
    moveCurrentRow(ImportGrid, 1, 1);
}

void TMyImport::ImportGridDblClick(int row, int column) {
    if (column != 2 || row < 0) return;
    QTableWidgetItem* item = ImportGrid->item(row, 2);
    if (item->text() == kYes)
        item->setText(kNo);
    else if (item->text() == kNo)
        item->setText(kYes);
}

void TMyImport::SkipFirstClick() {
    if (context_.settings) context_.settings->importOptions.firstRow = SkipFirst->isChecked();
}

void TMyImport::StartButtonClick() {
    if (!context_.table) return;
    const bool text = kind_ != 2;
    const FieldAssignment assignment = assignmentFromRows(gridRows(), int(names_.size()), text);
    ImportOptions options;
    options.dateFormat = collection::currentDateFormat();
    options.currentYear = ui::platform().today().year();
    RunTicker ticker([this](std::uint64_t n) { CountBox->setText(QString::number(n)); });
    options.progress = [&ticker](std::uint64_t n) { ticker.tick(n); };
    const std::string source = path_.toStdString();
    const bool skip = kind_ != 2 && SkipFirst->isChecked();
    // The picture column's files become the stamps' pictures.
    StoreImportPictures pictures(QString::fromStdString(context_.table->path()), path_);
    if (text) options.pictures = &pictures;
    const bool ran = runImportWindowed(
        this, context_, CountBox,
        {ImportGrid, UpButton, DownButton, StartButton, ExitButton, HelpButton, SkipFirst}, [&] {
            return kind_ == 2 ? importDbf(*context_.table, source, assignment, options)
                              : importText(*context_.table, source, int(names_.size()), skip,
                                           assignment, options);
        });
    if (ran) accept();
}

void TMyImport::ExitButtonClick() {
    reject();
}

void TMyImport::HelpButtonClick() {
    ui::platform().showHelpKeyword(this, QStringLiteral("Import Window"));
}

}  // namespace interchange
