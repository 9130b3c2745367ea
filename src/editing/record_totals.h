// The editor's running totals and the reformatting of a number text when its box is left.
//
// Lenient by design: text that does not convert counts as far as its leading numeric part goes
// and empty text counts 0, so typing never raises a message here (the update checks strictly).
// Totals are quantity x amount in the money format followed by one space.
#pragma once

#include <QString>
#include <optional>

#include "editing/record_numbers.h"

namespace editing {

struct Totals {
    QString purchasePrice;  // total purchase price, as TotalPPriceLabel shows it
    QString marketValue;    // total market value, as TotalMValueLabel shows it
};

Totals CalcTotals(const QString& quantity, const QString& purchasePrice, const QString& marketValue,
                  const EditorNumbers& numbers);

// Text of an amount box after it is left: the money format of its value, or nothing to change
// when the trimmed text is empty.
std::optional<QString> reformatAmount(const QString& text, const EditorNumbers& numbers);
// The same for the quantity box, in the grouped whole-number format.
std::optional<QString> reformatQuantity(const QString& text, const EditorNumbers& numbers);

}  // namespace editing
