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

namespace collection {

// Receives (title, text) of a message meant for the user.
using MessageSink = std::function<void(const QString& title, const QString& text)>;

// Creates an empty collection at `path` (a full .DBF path), replacing any file
// of that name unless another program holds it; then it tells the in-use
// message titled "Error" and returns false. True when the file exists after.
bool MakeNewDB(const QString& path, const MessageSink& tell);

// True when `path` is a collection of this program. When its .MDX is missing
// the production-index flag is cleared first. Otherwise tells the "not created
// with" message titled "Error" and returns false. Throws engine::EngineError
// when the engine cannot open the file at all.
bool CheckDBaseFormat(const QString& path, const MessageSink& tell);

// Writes 0 at offset 28 of the .DBF (the production-index flag), as a plain
// file; does nothing when the file cannot be opened.
void RemoveMDXByte(const QString& path);

// True when the file cannot be opened exclusively (another program or
// another open table of this program holds it). Shows nothing.
bool DBaseInUse(const QString& path);

// The table-engine definitions of the 25 schema fields with their widths.

}  // namespace collection
