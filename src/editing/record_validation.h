// The checks an update makes before anything is written, and the values it then writes.
//
// `validateRecord` runs the six checks in their fixed order (acquired date, purchase price,
// market value, quantity, year, numeric catalog) and stops at the first that fails, naming the
// field of the failing control and the message to show. When all pass it returns the converted
// values: amounts under `Currency Format`, whole numbers under `Numeric Format`; an empty
// number text counts 0, a date box showing only its separators (or nothing) is a blank date.
// Pure function of its arguments.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "collection/date_format.h"
#include "editing/record_numbers.h"
#include "editing/record_texts.h"

namespace editing {

struct ValidatedRecord {
    std::optional<QDate> date;  // nothing: a blank date
    double purchasePrice = 0;
    double marketValue = 0;
    int quantity = 0;
    int year = 0;
    int numericCatalog = 0;
};

struct ValidationFailure {
    int field = 0;  // field number of the control that failed
    QString message;
};

struct ValidationResult {
    std::optional<ValidationFailure> failure;
    ValidatedRecord record;  // meaningful only without a failure

    bool ok() const { return !failure.has_value(); }
};

// True for a trimmed date-box text that holds no date: "/  /", "-  -", ".  ." or "".
bool isBlankDateText(const QString& trimmedText);

// Two-digit years are placed around `currentYear` (see collection::DateFormat::parse).
ValidationResult validateRecord(const RecordTexts& texts, const EditorNumbers& numbers,
                                const collection::DateFormat& dateFormat, int currentYear);

}  // namespace editing
