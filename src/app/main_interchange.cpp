// Import and Export from the main window: the windows of the interchange layer get the open
// table, the collection settings, the search state and the viewer's labels; after an import the
// grid and the count show the new records.
#include "app/main_window.h"
#include "interchange/import_format.h"
#include "interchange/my_export.h"
#include "ui/data_grid.h"

namespace app {

interchange::InterchangeContext TMain::interchangeContext() {
    interchange::InterchangeContext context;
    context.table = &MyTable;
    context.settings = &settings_;
    context.displayLabel = [this](int field) { return displayLabel(field); };
    context.searchActive = searchActive_;
    context.searchFilter = [this](const engine::RecordView& record) {
        return MyTableFilter(record);
    };
    context.show = showOptions(collection::WindowGroup::Configure);
    context.lastImportFile = &global_.misc.lastImportFile;
    context.lastExportFile = &global_.misc.lastExportFile;
    context.suspendViewer = [this](bool on) { ViewerGrid->setUpdatesEnabled(!on); };
    return context;
}

void TMain::DoImport() {
    {
        const editing::UndoStepScope step(undo_, QStringLiteral("Import"));
        interchange::TImportFormat::ImportData(interchangeContext(), this);
    }
    refreshViewer();
    DisplayCount();
}

void TMain::DoExport() {
    interchange::TMyExport::ExportData(interchangeContext(), this);
}

QString TMain::displayLabel(int field) const {
    const QString& label = displayLabels_.at(std::size_t(field - 1));
    return label.isEmpty() ? QString::fromLatin1(collection::schemaField(field).name) : label;
}

}  // namespace app
