#include "collection/stamp_table_defs.h"

#include "collection/stamp_schema.h"

namespace collection {

const std::vector<engine::FieldDef>& stampTableFieldDefs() {
    static const std::vector<engine::FieldDef> defs = [] {
        std::vector<engine::FieldDef> d;
        for (const auto& f : stampSchema()) {
            engine::FieldDef def;
            def.name = std::string(f.name);
            switch (f.kind) {
                case FieldKind::Text:
                    def.type = engine::FieldType::Character;
                    def.length = f.length;
                    break;
                case FieldKind::Integer:
                    def.type = engine::FieldType::Numeric;
                    def.length = kIntegerWidth;
                    break;
                case FieldKind::Float:
                    def.type = engine::FieldType::Numeric;
                    def.length = kFloatWidth;
                    def.decimals = kFloatDecimals;
                    break;
                case FieldKind::Date:
                    def.type = engine::FieldType::Date;
                    def.length = kDateWidth;
                    break;
            }
            d.push_back(def);
        }
        return d;
    }();
    return defs;
}

}  // namespace collection
