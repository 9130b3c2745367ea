// Putting a folder prepared under a hidden name in place of another, in one step where the file
// system allows it: the picture stores carried by backup, restore and dBase export are staged
// whole first, so the folder under the user's name is never half written.
#pragma once

#include <QString>

namespace pictures {

// Puts the folder `staged` in place of `target` (two paths in one folder, without trailing "/").
// When `target` exists the two are swapped in one step (renameat2 with RENAME_EXCHANGE), so
// `staged` then names the old folder, left for the caller to delete; where the file system cannot
// swap (FAT media among them) the old folder is moved aside first and moved back when the new
// one cannot follow. When `target` does not exist, `staged` is renamed to it. False when nothing
// could be put in place (`target` is then as it was).
bool putFolderInPlace(const QString& staged, const QString& target);

}  // namespace pictures
