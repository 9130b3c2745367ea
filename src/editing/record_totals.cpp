#include "editing/record_totals.h"

namespace editing {

Totals CalcTotals(const QString& quantity, const QString& purchasePrice, const QString& marketValue,
                  const EditorNumbers& numbers) {
    const int count = leadingInteger(numbers.wholeMachineText(quantity));
    const double price = leadingAmount(numbers.amountMachineText(purchasePrice));
    const double value = leadingAmount(numbers.amountMachineText(marketValue));
    return Totals{numbers.money(count * price) + u' ', numbers.money(count * value) + u' '};
}

std::optional<QString> reformatAmount(const QString& text, const EditorNumbers& numbers) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    return numbers.money(leadingAmount(numbers.amountMachineText(text)));
}

std::optional<QString> reformatQuantity(const QString& text, const EditorNumbers& numbers) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    return numbers.wholeNumber(leadingAmount(numbers.wholeMachineText(text)));
}

}  // namespace editing
