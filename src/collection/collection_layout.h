// The layout test of a collection's table, read only.
//
// checkCollectionLayout reads the table's header through a read-only descriptor and never writes
// into the file, whatever it holds: a backup being checked or restored from stays byte for byte
// as it was. CheckDBaseFormat (collection_file.h) runs it before its own upkeep of a collection
// being opened.
#pragma once

#include <QString>

#include "collection/collection_file.h"

namespace collection {

// True when the table at `path` has exactly the 25 fields of the stamp schema, by name in schema
// order (any letter case). Otherwise tells the "not created with" message titled "Error" and
// returns false. Throws engine::EngineError when the file is no readable dBase table, and
// engine::TableInUseError while another program holds it exclusively.
bool checkCollectionLayout(const QString& path, const MessageSink& tell);

}  // namespace collection
