#include "editing/record_validation.h"

namespace editing {

namespace {

ValidationResult failed(int field, const char* what) {
    ValidationResult result;
    result.failure = ValidationFailure{
        field, QStringLiteral("Invalid %1 specified.  Please correct.").arg(QLatin1String(what))};
    return result;
}

// Empty text counts 0; otherwise the whole text must convert.
template <typename T, typename Convert>
bool convertOrZero(const QString& machineText, Convert convert, T& out) {
    if (machineText.isEmpty()) {
        out = 0;
        return true;
    }
    const std::optional<T> value = convert(machineText);
    if (!value) return false;
    out = *value;
    return true;
}

}  // namespace

bool isBlankDateText(const QString& trimmedText) {
    return trimmedText.isEmpty() || trimmedText == QStringLiteral("/  /") ||
           trimmedText == QStringLiteral("-  -") || trimmedText == QStringLiteral(".  .");
}

ValidationResult validateRecord(const RecordTexts& texts, const EditorNumbers& numbers,
                                const collection::DateFormat& dateFormat, int currentYear) {
    ValidationResult result;
    ValidatedRecord& r = result.record;

    const QString date = texts[kPurchDate].trimmed();
    if (!isBlankDateText(date)) {
        r.date = dateFormat.parse(date, currentYear);
        if (!r.date) return failed(kPurchDate, "acquired date");
    }
    const auto amount = [&numbers](const QString& t) { return numbers.amountMachineText(t); };
    const auto whole = [&numbers](const QString& t) { return numbers.wholeMachineText(t); };
    if (!convertOrZero(amount(texts[kPurchPrice]), convertAmount, r.purchasePrice))
        return failed(kPurchPrice, "purchase price");
    if (!convertOrZero(amount(texts[kMarketValue]), convertAmount, r.marketValue))
        return failed(kMarketValue, "market value");
    if (!convertOrZero(whole(texts[kQuantity]), convertInteger, r.quantity))
        return failed(kQuantity, "quantity");
    if (!convertOrZero(whole(texts[kYear]), convertInteger, r.year)) return failed(kYear, "year");
    if (!convertOrZero(whole(texts[kNumericCatalog]), convertInteger, r.numericCatalog))
        return failed(kNumericCatalog, "numeric catalog");
    return result;
}

}  // namespace editing
