// The main window's Edit menu: Undo of this session's changes to the collection, and the
// Recall window for deleted stamps.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <optional>

#include "app/main_window.h"
#include "collection/deleted_records.h"
#include "editing/recall_window.h"
#include "ui/messages.h"

namespace app {

void TMain::buildEditMenu() {
    QMenu* m = menuBar()->addMenu(QStringLiteral("&Edit"));
    m->setObjectName(QStringLiteral("MenuEditing"));
    m->menuAction()->setObjectName(QStringLiteral("MenuEditing"));
    // Ctrl+Z already opens Update Database; the shifted key is free.
    undoItem_ = addCommand(m, QStringLiteral("MenuUndo"), QStringLiteral("&Undo"),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TMain::DoUndo);
    addCommand(m, QStringLiteral("MenuRecall"), QStringLiteral("&Recall Deleted Stamps..."), {},
               &TMain::DoRecall);
    connect(m, &QMenu::aboutToShow, this, &TMain::refreshUndoItem);
    refreshUndoItem();
}

void TMain::refreshUndoItem() {
    if (!undoItem_) return;
    QString name = undo_.nextStepName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    undoItem_->setText(name.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo ") + name);
    undoItem_->setEnabled(undo_.canUndo() && !browseMode_);
}

void TMain::DoUndo() {
    if (!undo_.canUndo() || browseMode_) return;
    const QString refusal = undo_.undo();
    if (!refusal.isEmpty())
        ui::showMessage(this, QStringLiteral("Undo"), refusal, ui::MessageButtons::Ok,
                        ui::MessageIcon::Warning, ui::Alert::KindSound);
    refreshViewer();
    DisplayCount();
}

void TMain::DoRecall() {
    if (!MyTable.isOpen()) return;
    editing::RecallContext context;
    context.table = &MyTable;
    context.labels = QStringList{displayLabel(1), displayLabel(3), displayLabel(2)};
    context.show = showOptions(collection::WindowGroup::Edit);
    context.recall = [this](const std::vector<std::uint32_t>& recnos) {
        {
            // Several recalled at once come back, and are undone, together.
            std::optional<editing::UndoStepScope> step;
            if (recnos.size() > 1)
                step.emplace(undo_, QStringLiteral("Recall of %1 stamps").arg(recnos.size()));
            for (std::uint32_t recno : recnos) collection::recallStamp(MyTable, recno);
        }
        refreshViewer();
        DisplayCount();
    };
    editing::TRecallDeleted::Recall(std::move(context), this);
}

}  // namespace app
