// Decoding of small text files written by this program or by older versions.
//
// Files are written as UTF-8. Files from older installations are in the
// Windows-1252 code page; a file whose bytes are not valid UTF-8 is taken as
// Windows-1252. Pure functions; nothing here fails.
#pragma once

#include <QByteArray>
#include <QString>

namespace collection {

// UTF-8 when `bytes` is valid UTF-8 (a leading byte-order mark is dropped),
// otherwise every byte as its Windows-1252 character.
QString decodeTextFile(const QByteArray& bytes);

// `text` cut to at most `maxChars` UTF-16 units (a character outside the basic
// plane counts two); a surrogate pair is never split. A negative limit leaves
// the text whole.
QString cutToChars(const QString& text, int maxChars);

}  // namespace collection
