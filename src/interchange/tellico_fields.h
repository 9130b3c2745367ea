// Tellico stamp collections and our stamp fields: the fields Tellico itself defines for a stamp
// collection (collection type 9), the fields we add for what Tellico has no field of its own,
// and how the values of one side become the values of the other.
//
// Tellico's stamp fields and ours:
//   description  <-> Description        denomination (+ currency) <-> Face Value
//   country      <-> Country            year ("Issue Year", several allowed) <-> Year
//   color        <-> Color              scott ("Scott#") <-> Alpha Catalog, and Numeric Catalog
//                                                            when it is a whole number
//   grade        <-> Condition          (Tellico's "Extremely Fine" / "Very Fine" as XF / VF; a
//                                        condition that is none of Tellico's grades goes out in
//                                        a field of its own, as Tellico drops other choices)
//   cancelled    <-> Cancellation       (a check box: "Cancelled" when true)
//   hinged       <-> Hinged             gummed <-> Gum
//   pur_date     <-> Purchase Date      (YYYY-MM-DD)
//   pur_price    <-> Purchase Price     (an amount, with or without a currency symbol or code)
//   comments     <-> Comments           image (and further image fields) <-> the stamp's pictures
// Every other stamp field of ours goes out as a field of its own, declared in the collection's
// fields (category "Tessellon"), so that a collection coming back keeps all 25 values; when such
// a field is present it wins over the Tellico field it shares a stamp field with (our exact
// Cancellation over the check box, our Numeric Catalog over the Scott number). Tellico fields
// without a stamp field (location, centering, gift, fields the collector added) go to
// Miscellaneous as "Title: value" parts joined by "; ". Tellico's own bookkeeping (title, which it
// derives from other fields; id; the dates an entry was created and changed) is not kept.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/tellico_entry.h"

namespace interchange::tellico {

inline constexpr int kStampCollection = 9;

// Our stamp field numbers (schema order).
enum StampField {
    kCatalog = 1, kDescription, kCountry, kFaceValue, kMarketValue, kQuantity, kYear, kComments,
    kCondition, kGroup, kStampType, kCancellation, kTopic, kDate, kCost, kGum, kColor, kFaults,
    kHinged, kMiscellaneous, kNumericCatalog, kUserDefined1, kUserDefined2, kUserDefined3, kWanted
};

// Tellico's grade words that our Condition (9 characters) writes shorter: (Tellico's, ours).
const std::vector<std::pair<QString, QString>>& gradeWords();

// One field definition of a collection's <fields>.
struct FieldDef {
    QString name;
    QString title;
    QString category;
    int type = 1;  // 1 text, 2 paragraph, 3 choice, 4 check box, 6 number, 10 image, 12 date
    int format = 4;
    int flags = 0;
    QString allowed;
    std::vector<std::pair<QString, QString>> props;
};

// The fields Tellico writes for a new stamp collection, in its order.
const std::vector<FieldDef>& stampCollectionFields();
// Our fields that have no Tellico stamp field, declared in every collection we write.
const std::vector<FieldDef>& ourOwnFields();

inline constexpr int kImageType = 10;
// Image fields for a stamp's pictures after its main one (which goes in "image"): "picture-2"
// ("Picture 2") up to "picture-<pictures>", declared when a stamp has more than one picture, so
// Tellico shows each of them.
std::vector<FieldDef> morePictureFields(int pictures);
// True for "image" and every field `collectionFields` define as an image field: their values
// are picture ids, in entry order the stamp's pictures.
bool isImageField(const QString& name, const std::vector<FieldDef>& collectionFields);

// The name of collection type `type` ("Book Collection", ...), "type N" for an unknown one.
QString collectionTypeName(int type);

// What a Tellico field becomes in a stamp: one of our fields value for value (kOwn: one of the
// fields we write ourselves; kDirect: Tellico's field for it), or one of the rules below.
enum class Role {
    kOwn, kDirect, kFaceValue, kYear, kGrade, kCancelled, kPurchaseDate, kPurchasePrice, kImage,
    kNotKept, kGift, kMiscellaneous
};
struct FieldRole {
    Role role = Role::kMiscellaneous;
    int stampField = 0;  // our field (1..25) for kOwn and kDirect
};
// The role of field `name`; `imageField` when the collection declares it as an image field,
// `titleDerived` when its title is derived from other fields (Tellico's default).
FieldRole fieldRole(const QString& name, bool imageField, bool titleDerived);
// True when the collection's "title" field is derived (as Tellico's own is), or it has none.
bool titleIsDerived(const std::vector<FieldDef>& fields);

// The Tellico entry of our 25 field values (edit texts, the purchase date as YYYY-MM-DD).
Entry tellicoEntry(const std::vector<std::string>& fields);

// What becomes of each field of a collection with `fields`, one line each, for the import window
// and the companion: "Description -> Description", "Location -> Miscellaneous", ...
QStringList importPlan(const std::vector<FieldDef>& fields);

// The number of an amount (UTF-8) as plain decimal text ("$1,234.50" -> "1234.50", "12,50 EUR"
// -> "12.50"); empty when it holds no number. Digits of other scripts count as digits.
std::string amountText(std::string_view amount);

}  // namespace interchange::tellico
