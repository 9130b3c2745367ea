#include "editing/recall_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <set>

#include "collection/deleted_records.h"
#include "ui/platform.h"

namespace editing {

void TRecallDeleted::Recall(RecallContext context, QWidget* parent) {
    TRecallDeleted window(std::move(context), parent);
    ui::platform().execModal(window);
}

TRecallDeleted::TRecallDeleted(RecallContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("RecallDeleted"));
    setWindowTitle(QStringLiteral("Recall Deleted Stamps"));
    resize(600, 360);

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("CountLabel"));
    countLabel_->setGeometry(8, 8, 584, 20);

    grid_ = new QTableWidget(0, 4, this);
    grid_->setObjectName(QStringLiteral("DeletedGrid"));
    grid_->setAccessibleName(QStringLiteral("Deleted stamps"));
    grid_->setGeometry(8, 32, 584, 276);
    QStringList titles{QStringLiteral("Record")};
    titles += context_.labels;
    grid_->setHorizontalHeaderLabels(titles);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    countLabel_->setBuddy(grid_);

    const auto button = [this](const char* name, const QString& caption, int left) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, 320, 100, 28);
        return b;
    };
    recallButton_ = button("RecallButton", QStringLiteral("&Recall"), 8);
    QPushButton* close = button("CloseButton", QStringLiteral("&Close"), 384);
    QPushButton* help = button("HelpButton", QStringLiteral("&Help"), 492);
    connect(recallButton_, &QPushButton::clicked, this, &TRecallDeleted::RecallButtonClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { ui::platform().showHelpKeyword(this, kRecallHelpKeyword); });
    connect(grid_, &QTableWidget::itemSelectionChanged, this,
            [this] { recallButton_->setEnabled(!grid_->selectedItems().isEmpty()); });
    connect(grid_, &QTableWidget::itemDoubleClicked, this, [this] { RecallButtonClick(); });
}

void TRecallDeleted::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    ui::prepareWindowForShow(this, context_.show);
    context_.table->refresh();
    fillList();
}

void TRecallDeleted::fillList() {
    const std::vector<collection::DeletedStamp> stamps = collection::deletedStamps(*context_.table);
    grid_->clearContents();
    grid_->setRowCount(int(stamps.size()));
    shown_.clear();
    for (int row = 0; row < int(stamps.size()); ++row) {
        const collection::DeletedStamp& s = stamps[std::size_t(row)];
        shown_.push_back(s.recno);
        const QStringList cells{QString::number(s.recno), s.catalog, s.country, s.description};
        for (int column = 0; column < cells.size(); ++column)
            grid_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    countLabel_->setText(
        stamps.empty() ? QStringLiteral("No deleted stamps are waiting to be packed.")
                       : QStringLiteral("&Deleted stamps not yet packed: %1").arg(stamps.size()));
    if (!stamps.empty()) grid_->selectRow(0);
    recallButton_->setEnabled(!stamps.empty());
}

void TRecallDeleted::RecallButtonClick() {
    std::set<int> rows;
    for (const QModelIndex& index : grid_->selectionModel()->selectedRows())
        rows.insert(index.row());
    if (rows.empty()) return;
    std::vector<std::uint32_t> recnos;
    for (int row : rows) recnos.push_back(shown_.at(std::size_t(row)));
    context_.recall(recnos);
    fillList();
}

}  // namespace editing
