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
#include <vector>


namespace interchange::tellico {

inline constexpr int kStampCollection = 9;

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

// One entry: each field's values (most fields one; "year" may have several), in file order.
struct Entry {
    std::vector<std::pair<QString, QStringList>> values;

    const QStringList* find(const QString& field) const;
    QString first(const QString& field) const;  // empty when absent
    void add(const QString& field, const QString& value);
};

// An entry as the 25 stamp field values of ours (UTF-8, schema order, empty for none; the
// purchase date as YYYY-MM-DD, the price as a plain decimal). `collectionFields` give the titles
// of the Miscellaneous parts and tell whether the title is derived.
struct StampValues {
    std::vector<std::string> fields = std::vector<std::string>(25);
    QStringList images;  // image ids, in entry order
};
StampValues stampValues(const Entry& entry, const std::vector<FieldDef>& collectionFields);

// The Tellico entry of our 25 field values (edit texts, the purchase date as YYYY-MM-DD).
Entry tellicoEntry(const std::vector<std::string>& fields);

// What becomes of each field of a collection with `fields`, one line each, for the import window
// and the companion: "Description -> Description", "Location -> Miscellaneous", ...
QStringList importPlan(const std::vector<FieldDef>& fields);

// The number of an amount as plain decimal text ("$1,234.50" -> "1234.50", "12,50 EUR" ->
// "12.50"); empty when it holds no number.
std::string amountText(const QString& amount);

}  // namespace interchange::tellico
