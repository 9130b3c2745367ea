#include "editing/record_numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "collection/number_format.h"

namespace editing {

QString EditorNumbers::amountMachineText(const QString& typed) const {
    return collection::machineNumberText(typed, currencyFormat, regional);
}

QString EditorNumbers::wholeMachineText(const QString& typed) const {
    return collection::machineNumberText(typed, numericFormat, regional);
}

QString EditorNumbers::money(double value) const {
    return collection::formatMoney(value, 1, currencyFormat, regional);
}

QString EditorNumbers::wholeNumber(double value) const {
    return collection::formatGroupedNumber(value, 1, 0,
                                           collection::symbolsFor(numericFormat, regional));
}

namespace {

// The text as Latin-1 bytes without a leading "+" (from_chars does not take one); characters
// outside Latin-1 become '?' and end any number.
std::string numberBytes(const QString& text) {
    std::string bytes = text.toLatin1().toStdString();
    if (!bytes.empty() && bytes.front() == '+' && (bytes.size() == 1 || bytes[1] != '-'))
        bytes.erase(0, 1);
    return bytes;
}

template <typename T>
std::from_chars_result parse(const std::string& bytes, T& value) {
    if constexpr (std::is_floating_point_v<T>)
        return std::from_chars(bytes.data(), bytes.data() + bytes.size(), value,
                               std::chars_format::general);
    else
        return std::from_chars(bytes.data(), bytes.data() + bytes.size(), value);
}

}  // namespace

std::optional<double> convertAmount(const QString& machineText) {
    const std::string bytes = numberBytes(machineText);
    double value = 0;
    const auto [end, error] = parse(bytes, value);
    if (error != std::errc() || end != bytes.data() + bytes.size()) return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) >= kAmountLimit) return std::nullopt;
    return value;
}

std::optional<int> convertInteger(const QString& machineText) {
    const std::string bytes = numberBytes(machineText);
    int value = 0;
    const auto [end, error] = parse(bytes, value);
    if (error != std::errc() || end != bytes.data() + bytes.size()) return std::nullopt;
    return value;
}

double leadingAmount(const QString& machineText) {
    const std::string bytes = numberBytes(machineText);
    double value = 0;
    const auto [end, error] = parse(bytes, value);
    if (error != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

int leadingInteger(const QString& machineText) {
    const std::string bytes = numberBytes(machineText);
    long long value = 0;
    const auto [end, error] = parse(bytes, value);
    if (error != std::errc() || value > INT_MAX || value < INT_MIN) return 0;
    return int(value);
}

}  // namespace editing
