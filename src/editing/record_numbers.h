// Converting the editor's number texts, in machine form (see collection::machineNumberText).
//
// Two kinds of conversion: a strict one for updates, which takes the whole text or nothing, and
// a lenient one for the running totals and for reformatting a left amount, which takes the
// text's leading numeric part ("12a" counts 12, "abc" and "" count 0) and never fails. Only
// finite values are accepted; integers are 32-bit, as the table's whole-number fields hold.
// Amounts larger than the table's amount fields hold are refused by the strict conversion.
// Conversions use "." as decimal point whatever the process locale.
#pragma once

#include <QString>
#include <optional>

#include "collection/regional_settings.h"

namespace editing {

// The two format settings and the regional values the editor reads and shows numbers with.
// Amounts follow `Currency Format`; the quantity, year and numeric catalog `Numeric Format`
// (the quantity is shown in the grouped whole-number format, which follows that setting, so it
// is read back under it too).
struct EditorNumbers {
    int numericFormat = 1;
    int currencyFormat = 1;
    collection::RegionalSettings regional;

    QString amountMachineText(const QString& typed) const;
    QString wholeMachineText(const QString& typed) const;
    // Money format, width 1.
    QString money(double value) const;
    // Grouped whole-number format, width 1.
    QString wholeNumber(double value) const;
};

// Largest magnitude (exclusive) an amount field stores.
inline constexpr double kAmountLimit = 1e14;

std::optional<double> convertAmount(const QString& machineText);
std::optional<int> convertInteger(const QString& machineText);

double leadingAmount(const QString& machineText);
int leadingInteger(const QString& machineText);

}  // namespace editing
