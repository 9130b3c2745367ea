#include "editing/record_texts.h"

namespace editing {

RecordTexts clearedRecordTexts() {
    RecordTexts texts;
    texts[kMarketValue] = QStringLiteral("0");
    texts[kQuantity] = QStringLiteral("1");
    texts[kPurchPrice] = QStringLiteral("0");
    return texts;
}

RecordTexts textsFromDefaults(const collection::RecordDefaults& defaults) {
    RecordTexts texts;
    texts.texts = defaults.values;
    texts.wanted = defaults.wanted;
    return texts;
}

void storeAsDefaults(const RecordTexts& texts, collection::RecordDefaults& defaults) {
    for (int field = 1; field <= kInputFieldCount; ++field)
        defaults.values[field - 1] =
            texts[field].left(collection::schemaField(field).defaultKeyLength);
    defaults.wanted = texts.wanted;
}

}  // namespace editing
