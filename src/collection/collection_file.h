// Creating, validating and testing collection files.
//
// A collection is a dBase table with exactly the 25 fields of the stamp
// schema, by name in schema order (any letter case; types and widths are not
// compared). Messages for the user go through the MessageSink the caller
// gives (the window layer shows them as message boxes, the command-line tool
// prints them). Table-engine failures propagate as engine::EngineError.
#pragma once

#include <QString>
#include <functional>

#include "engine/codepage.h"

namespace collection {

// Receives (title, text) of a message meant for the user.
using MessageSink = std::function<void(const QString& title, const QString& text)>;

// Creates an empty collection at `path` (a full .DBF path), replacing any file
// of that name unless another program holds it; then it tells the in-use
// message titled "Error" and returns false. True when the file exists after.
// Its text is kept in `codePage` (see code_pages.h for those offered).
bool MakeNewDB(const QString& path, const MessageSink& tell,
               engine::CodePage codePage = engine::CodePage::Cp1252);

// True when `path` is a collection of this program. Only the file's header is
// read, and nothing is written into a file that is not a collection; a
// collection whose .MDX is missing has its production-index flag cleared after
// it has passed. When the engine finds a collection's index damaged or out of
// date (read only, nothing changed), its notice is told titled "Notice".
// Otherwise tells the "not created with" message titled "Error" and returns
// false. Throws engine::EngineError when the file is no readable
// dBase table, and engine::TableInUseError while another program holds it
// exclusively.
bool CheckDBaseFormat(const QString& path, const MessageSink& tell);

// Writes 0 at offset 28 of the .DBF (the production-index flag), as a plain
// file; does nothing when the file cannot be opened.
void RemoveMDXByte(const QString& path);

// True when the file cannot be opened exclusively because another program or
// another open table of this program holds it. A file that cannot be opened at
// all, or is no table, is not in use: the step that follows reports why.
// Shows nothing.
bool DBaseInUse(const QString& path);

// True when the collection at `path` cannot be worked on because its table,
// its existing .MDX or its folder cannot be written (a read-only mount, no
// permission, or marked read-only). Such a collection is refused on opening,
// with `readOnlyMessage`, before anything of the open one changes.
bool collectionReadOnly(const QString& path);
QString readOnlyMessage(const QString& path);

}  // namespace collection
