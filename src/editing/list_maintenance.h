// The main window's "List &Maintenance" commands: opening the list editor on one data list, and
// the two list-wide replacements "&Save As Defaults" and "Load In &Defaults".
//
// The list editor is created, shown modally through the platform seam and freed here; its Ok
// writes through the given DataListSet (see TMyEditBox). `show` carries the shared fonts, the
// screen scale factor and the colour set of the configuration window group. The list-wide
// commands sound the question beep and ask under "Warning" with No as the default answer; No
// changes nothing.
#pragma once

#include "ui/window_base.h"

class QWidget;

namespace editing {

class DataListSet;

// Edits collection list 1..9, starting from the record editor's box (the main window's when the
// editor's is not bound). True when the user pressed Ok.
bool EditAList(DataListSet& lists, int list, QWidget* parent, const ui::ShowOptions& show = {});
// Edits shared list 10 (Faults) or 11 (Miscellaneous), starting from its file.
bool EditSpecList(DataListSet& lists, int list, QWidget* parent, const ui::ShowOptions& show = {});

// "&Save As Defaults": on Yes the nine lists become the default list files. True on Yes.
bool SaveDefaultsCommand(DataListSet& lists, QWidget* parent);
// "Load In &Defaults": on Yes the nine lists are loaded from the default files. True on Yes.
bool LoadDefaultsCommand(DataListSet& lists, QWidget* parent);

}  // namespace editing
