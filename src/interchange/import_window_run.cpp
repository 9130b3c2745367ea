#include "interchange/import_window_run.h"

#include <QLabel>
#include <vector>

#include "collection/collection_file.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace interchange {

bool runImportWindowed(QWidget* window, const InterchangeContext& context, QLabel* countBox,
                       std::initializer_list<QWidget*> controls,
                       const std::function<ImportResult()>& run) {
    if (!context.table) return false;
    const QString table = QString::fromStdString(context.table->path());
    if (collection::collectionReadOnly(table)) {
        ui::showError(window, readOnlyImportMessage(table));
        return false;
    }
    // A record the grid still holds unposted is settled before new ones are added.
    if (context.table->state() != engine::EditState::Browse) context.table->post();
    ImportResult result;
    {
        ui::BusyCursor busy;
        std::vector<std::pair<QWidget*, bool>> enabled;
        for (QWidget* w : controls) {
            enabled.emplace_back(w, w->isEnabled());
            w->setEnabled(false);
        }
        if (context.suspendViewer) context.suspendViewer(true);
        result = run();
        if (context.suspendViewer) context.suspendViewer(false);
        for (const auto& [w, on] : enabled) w->setEnabled(on);
    }
    countBox->setText(QString::number(result.added));
    if (!result.error.empty()) {
        ui::showError(window, QStringLiteral("The import stopped after %1 records: %2")
                                  .arg(result.added)
                                  .arg(QString::fromStdString(result.error)));
        return true;
    }
    QString text = QStringLiteral("Import Complete.");
    if (result.valuesChanged > 0)
        text += QStringLiteral(
                    "  %1 values held characters this collection cannot store; a stand-in "
                    "character took their place.")
                    .arg(result.valuesChanged);
    if (const std::string notes = importNotes(result); !notes.empty())
        text += QStringLiteral("  ") + QString::fromStdString(notes);
    ui::showMessage(window, QStringLiteral("Ok"), text);
    return true;
}

}  // namespace interchange
