// Font dialogs opened on a stored font, and the name kept when the user confirms it.
//
// Stored font names are often names of fonts this system does not have ("Arial", "Courier New");
// the system's font matching draws them with a substitute (Liberation Sans, Liberation Mono). A
// font dialog given the bare stored name does not find it among its families and opens on its
// default family, so OK without a change would store that default and lose the styles. So:
//   - `fontDialogPreset` is the stored font (size and styles as given) under the family its name
//     resolves to on this system;
//   - `keptFontName` is the name to store after the dialog: the stored name when the chosen
//     family is the one that name resolves to (the user kept it), otherwise the chosen family.
#pragma once

#include <QFont>
#include <QString>

namespace ui {

// The family `name` is drawn with here ("Courier New" -> "Liberation Mono"); `name` itself when
// nothing resolves it.
QString resolvedFamily(const QString& name);

QFont fontDialogPreset(const QFont& stored);

QString keptFontName(const QString& storedName, const QFont& chosen);

}  // namespace ui
