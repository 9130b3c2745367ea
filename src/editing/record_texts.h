// The record editor's input texts as one value, independent of the widgets.
//
// A RecordTexts holds the text of each of the 24 input controls, indexed by the schema field
// number the control writes (1..24), and the state of the Wanted check box (field 25). The
// editor reads its controls into one, compares it with the values it saved last, validates it
// before writing, prints it and turns it into and out of the record defaults. Plain value type;
// nothing here can fail.
#pragma once

#include <QString>
#include <array>

#include "collection/global_settings.h"
#include "collection/stamp_schema.h"

namespace editing {

// Field numbers of the stamp schema, named after the editor control that writes each.
enum StampField : int {
    kAlphaCatalog = 1,
    kDescription = 2,
    kCountry = 3,
    kFaceValue = 4,
    kMarketValue = 5,
    kQuantity = 6,
    kYear = 7,
    kComments = 8,
    kCondition = 9,
    kGroup = 10,
    kStampType = 11,
    kCancellation = 12,
    kTopic = 13,
    kPurchDate = 14,
    kPurchPrice = 15,
    kGum = 16,
    kColorBox = 17,
    kFaults = 18,
    kHinged = 19,
    kMisc = 20,
    kNumericCatalog = 21,
    kUserDef1 = 22,
    kUserDef2 = 23,
    kUserDef3 = 24,
    kWanted = 25,
};

inline constexpr int kInputFieldCount = collection::kFieldCount - 1;  // all but Wanted

struct RecordTexts {
    std::array<QString, kInputFieldCount> texts;  // index = field number - 1
    bool wanted = false;

    QString& operator[](int field) { return texts.at(field - 1); }
    const QString& operator[](int field) const { return texts.at(field - 1); }

    bool operator==(const RecordTexts&) const = default;
};

// What Clear shows without defaults: every text empty but Market Value "0", Quantity "1" and
// Purchase Price "0"; Wanted unchecked.
RecordTexts clearedRecordTexts();

// The record defaults as control texts.
RecordTexts textsFromDefaults(const collection::RecordDefaults& defaults);

// Stores the texts and the Wanted state as record defaults, each text cut to the length its
// settings key keeps (Color 15 where the box takes 16). The two flags are left alone.
void storeAsDefaults(const RecordTexts& texts, collection::RecordDefaults& defaults);

}  // namespace editing
