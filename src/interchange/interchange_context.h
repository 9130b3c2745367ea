// What the import and export windows work on, lent by the main window for one run: the open
// stamp table, the collection settings (labels, and the import and export settings the windows
// change), the search state, the look of configuration windows, and the hooks the windows call.
// Everything pointed at must outlive the windows.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "engine/table.h"
#include "ui/window_base.h"

namespace collection {
struct CollectionSettings;
}

namespace interchange {

struct InterchangeContext {
    engine::Table* table = nullptr;  // the open stamp table (import posts into it)
    collection::CollectionSettings* settings = nullptr;
    // The label the viewer grid last gave field 1..25 (the export's title line).
    std::function<QString(int field)> displayLabel;
    bool searchActive = false;
    engine::RecordFilter searchFilter;  // the running search's record test
    ui::ShowOptions show;               // fonts, scale factor, configure colours
    // Where the file dialogs start ("Last Import File", "Last Export File"); each chosen file's
    // folder is kept there for the next time. May be null.
    QString* lastImportFile = nullptr;
    QString* lastExportFile = nullptr;
    // Called with true before a run writes many records and with false after it, so the main
    // window holds its grid still meanwhile.
    std::function<void(bool)> suspendViewer;
};

// The field labels 1..25 of the settings (the schema's labels when `settings` is null).
QStringList fieldLabels(const collection::CollectionSettings* settings);

// Keeps a long run's window painted: `tick` is cheap to call once a record and, about ten times a
// second, shows the count through `show` and lets the window system repaint (user input waits).
class RunTicker {
  public:
    explicit RunTicker(std::function<void(std::uint64_t)> show);
    void tick(std::uint64_t count);

  private:
    std::function<void(std::uint64_t)> show_;
    qint64 next_ = 0;
    std::uint64_t calls_ = 0;
};

// True when the last characters of `path`, in capitals, are `extension` (".DBF").
bool hasExtension(const QString& path, const QString& extension);

}  // namespace interchange
