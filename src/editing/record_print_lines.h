// The 25 lines that Print Record puts on the page for the shown record.
//
// Line k (0..23) is the label of field k + 1 followed by ": ", the two together cut to 22
// characters, then that control's text as shown (the date box with its separators); line 24
// is the Wanted label followed by ": Yes" or ": No". Pure function.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "collection/stamp_schema.h"
#include "editing/record_texts.h"

namespace editing {

inline constexpr int kPrintLabelWidth = 22;

// `labels` are the field labels, index = field number - 1.
QStringList recordPrintLines(const std::array<QString, collection::kFieldCount>& labels,
                             const RecordTexts& shown);

}  // namespace editing
