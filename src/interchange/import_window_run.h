// One import run started from a window (the text and dBase import window, the Tellico import
// window): what they share around the run itself.
//
// A collection whose table, index or folder cannot be written is refused first with
// readOnlyImportMessage (the window stays open); a record the main grid holds unposted is
// settled; the window's `controls` are disabled and the main viewer held still, with the busy
// cursor, while `run` works. Then `countBox` shows the final count and the message comes:
// "Import Complete." titled "Ok", with the number of values stored with a stand-in character and
// importNotes() when there is anything to say, or, for a run that stopped early, "The import
// stopped after N records: <reason>" titled "Error" (the records posted stay).
#pragma once

#include <QWidget>
#include <functional>
#include <initializer_list>

#include "interchange/import_run.h"
#include "interchange/interchange_context.h"

class QLabel;

namespace interchange {

// Returns false when the run was refused before it started, true when it ran (to the end or not).
bool runImportWindowed(QWidget* window, const InterchangeContext& context, QLabel* countBox,
                       std::initializer_list<QWidget*> controls,
                       const std::function<ImportResult()>& run);

}  // namespace interchange
