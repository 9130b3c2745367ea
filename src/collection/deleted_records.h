// The stamps of a collection that are marked deleted and that Pack has not removed yet, and
// bringing them back.
//
// Deleted records stay in the table (flagged) until Pack; recalling one clears its flag, so it
// is counted, shown and found again exactly as it was. Used by the Recall window and the
// companion's `recall` and `dump --deleted`.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "engine/table.h"

namespace collection {

struct DeletedStamp {
    std::uint32_t recno = 0;
    QString catalog;
    QString country;
    QString description;
};

// Every deleted record of `table`, in record order.
std::vector<DeletedStamp> deletedStamps(const engine::Table& table);

// Clears the deletion flag of record `recno`. False (nothing changed) when the table has no
// such record or it is not deleted. The table must be open for writing.
bool recallStamp(engine::Table& table, std::uint32_t recno);

// "AU-0003  Australia  Kangaroo and map": the stamp as the user knows it, for questions and
// lists; empty parts are left out.
QString stampSummary(const engine::RecordView& record);

}  // namespace collection
