// Tellico stamp collections brought into an open stamp table, and stamp tables written out as
// Tellico stamp collections (tellico_fields.h says which value goes where).
//
// Import: every entry of a Tellico stamp collection (".tc" or ".xml") becomes one new record; the
// run is the same as a text or dBase import (import_run.h): values are converted by their field's
// kind, text the code page lacks gets stand-ins and values wider than their field are cut, both
// counted; a failure (a damaged file, a full disk) ends the run keeping the records posted before
// it. A collection of another type is refused before anything is posted, naming its type.
//
// Export: the records the source table shows, in its order, as the entries of a Tellico stamp
// collection (type 9) with Tellico's own field definitions for one and ours for the fields it
// lacks; every one of the 25 stamp fields is written, whatever the export list says. The file is
// written whole or not at all, and never over the source collection's own files.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "interchange/export_run.h"
#include "interchange/import_run.h"

namespace interchange {

// What a Tellico file holds, read before a run: its collection type and title and, for a stamp
// collection, where each of its fields goes (tellico::importPlan).
struct TellicoSource {
    int type = 0;
    QString typeName;
    QString title;
    QStringList plan;
};

// Reads the header of the Tellico file at `path`; throws TransferError when it cannot be read or
// is no Tellico file.
TellicoSource readTellicoSource(const std::string& path);

// The refusal of a collection that is not a stamp collection, naming its type, or empty text.
QString tellicoTypeRefusal(const TellicoSource& source);

ImportResult importTellico(engine::Table& table, const std::string& path,
                           const ImportOptions& options);

// `request.fields` is not used: all 25 fields go out. The title line of a text export neither.
ExportResult exportTellico(engine::Table& source, const std::string& path,
                           const ExportRequest& request, const QString& collectionTitle);

// True for a name ending in ".tc" or ".xml" in any letter case.
bool isTellicoName(const QString& path);

}  // namespace interchange
