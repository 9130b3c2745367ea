#include "collection/stamp_schema.h"

#include <cctype>
#include <stdexcept>

namespace collection {

namespace {
using K = FieldKind;
constexpr std::array<SchemaField, kFieldCount> kSchema = {{
    {1, "Catalog", K::Text, 12, "Alpha Catalog", "Alpha Catalog", 12},
    {2, "Descriptio", K::Text, 110, "Description", "Description", 110},
    {3, "Country", K::Text, 20, "Country", "Country", 20},
    {4, "FaceValue", K::Text, 20, "Face", "Face Value", 20},
    {5, "MarketValu", K::Float, 12, "Market Value", "Market Value", 12},
    {6, "Quantity", K::Integer, 5, "Quantity", "Quantity", 6},
    {7, "Year", K::Integer, 4, "Year", "Year", 4},
    {8, "Comments", K::Text, 110, "Comments", "Comments", 110},
    {9, "Condition", K::Text, 9, "Condition", "Condition", 9},
    {10, "Group", K::Text, 20, "Group", "Group", 20},
    {11, "StampType", K::Text, 16, "Stamp Type", "Stamp Type", 16},
    {12, "Cancellati", K::Text, 13, "Cancellation", "Cancellation", 13},
    {13, "Topic", K::Text, 20, "Topic", "Topic", 20},
    {14, "Date", K::Date, 10, "Date", "Purchase Date", 10},
    {15, "Cost", K::Float, 12, "Purchase Price", "Purchase Price", 12},
    {16, "Gum", K::Text, 8, "Gum", "Gum", 8},
    {17, "Color", K::Text, 16, "Color", "Color", 15},
    {18, "Faults", K::Text, 90, "Faults", "Faults", 90},
    {19, "Hinged", K::Text, 7, "Hinged", "Hinged", 7},
    {20, "Miscellane", K::Text, 110, "Miscellaneous", "Miscellaneous", 110},
    {21, "CatalogI", K::Integer, 12, "Numeric Catalog", "Numeric Catalog", 12},
    {22, "UserDef1", K::Text, 40, "User Defined 1", "User Defined 1", 40},
    {23, "UserDef2", K::Text, 40, "User Defined 2", "User Defined 2", 40},
    {24, "UserDef3", K::Text, 40, "User Defined 3", "User Defined 3", 40},
    {25, "Wanted", K::Text, 3, "Wanted", "Wanted", 3},
}};

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
}  // namespace

const std::array<SchemaField, kFieldCount>& stampSchema() { return kSchema; }

const SchemaField& schemaField(int number) {
    if (number < 1 || number > kFieldCount) throw std::out_of_range("field number out of range");
    return kSchema[number - 1];
}

int schemaFieldNumber(std::string_view name) {
    for (const auto& f : kSchema)
        if (equalsNoCase(f.name, name)) return f.number;
    return 0;
}

char dbaseTypeLetter(FieldKind kind) {
    switch (kind) {
        case FieldKind::Text: return 'C';
        case FieldKind::Date: return 'D';
        default: return 'N';
    }
}

}  // namespace collection
