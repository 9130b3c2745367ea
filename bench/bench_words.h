// Word lists the synthetic stamp collection draws its values from (UTF-8).
//
// Every entry fits the field it feeds: countries at most 20 characters, each
// description part short enough that a description stays under 110. The
// country list mixes letter cases the way typed-in collections do, holds a few
// Windows-1252 letters, and has names with "fra" in any case as well as near
// misses ("French ...") for the count step.
#pragma once

#include <array>

namespace bench::words {

inline constexpr auto kCountries = std::to_array<const char*>({
    "Afghanistan",
    "Albania",
    "Algeria",
    "Andorra",
    "Angola",
    "Antigua",
    "Argentina",
    "Armenia",
    "Australia",
    "Österreich",
    "Austria",
    "Azerbaijan",
    "Bahamas",
    "Bahrain",
    "Bangladesh",
    "Barbados",
    "Belgium",
    "Belgique",
    "Belize",
    "Benin",
    "Bermuda",
    "Bhutan",
    "Bolivia",
    "Bosnia",
    "Botswana",
    "Brazil",
    "Brunei",
    "Bulgaria",
    "Burkina Faso",
    "Burundi",
    "Cambodia",
    "Cameroon",
    "Canada",
    "Cape Verde",
    "Chad",
    "Chile",
    "China",
    "Colombia",
    "Comoros",
    "Congo",
    "Costa Rica",
    "Croatia",
    "Cuba",
    "Cyprus",
    "Czechoslovakia",
    "Danmark",
    "Denmark",
    "Djibouti",
    "Dominica",
    "Ecuador",
    "Egypt",
    "El Salvador",
    "Eritrea",
    "Estonia",
    "España",
    "Spain",
    "Ethiopia",
    "Fiji",
    "Finland",
    "Suomi",
    "France",
    "FRANCE",
    "france",
    "French Guiana",
    "French Polynesia",
    "French Sudan",
    "Fraserland",
    "Franz Josef Land",
    "Frankfurt",
    "Ile de France",
    "Afars et Issas",
    "Gabon",
    "Gambia",
    "Georgia",
    "Germany",
    "Deutsches Reich",
    "Ghana",
    "Gibraltar",
    "Greece",
    "Grenada",
    "Guatemala",
    "Guinea",
    "Guyana",
    "Haiti",
    "Honduras",
    "Hong Kong",
    "Hungary",
    "Magyarország",
    "Iceland",
    "India",
    "Indonesia",
    "Iran",
    "Iraq",
    "Ireland",
    "Israel",
    "Italy",
    "Jamaica",
    "Japan",
    "Jordan",
    "Kenya",
    "Korea",
    "Kuwait",
    "Laos",
    "Latvia",
    "Lebanon",
    "Liberia",
    "Libya",
    "Liechtenstein",
    "Lithuania",
    "Luxembourg",
    "Madagascar",
    "Malawi",
    "Malaysia",
    "Mali",
    "Malta",
    "Mauritius",
    "Mexico",
    "México",
    "Monaco",
    "Mongolia",
    "Morocco",
    "Mozambique",
    "Namibia",
    "Nepal",
    "Netherlands",
    "New Zealand",
    "Nicaragua",
    "Niger",
    "Nigeria",
    "Norway",
    "Norge",
    "Oman",
    "Pakistan",
    "Panama",
    "Paraguay",
    "Peru",
    "Philippines",
    "Poland",
    "Portugal",
    "Qatar",
    "Romania",
    "Russia",
    "Rwanda",
    "San Marino",
    "Senegal",
    "Serbia",
    "Singapore",
    "Slovakia",
    "Somalia",
    "South Africa",
    "Sweden",
    "Sverige",
    "Switzerland",
    "Helvetia",
    "Sénégal",
    "Tanzania",
    "Thailand",
    "Tunisia",
    "Türkiye",
    "Uganda",
    "USA",
    "United States",
    "Vatican",
    "Zimbabwe",
});

inline constexpr auto kCatalogPrefixes = std::to_array<const char*>(
    {"SG", "Sc", "Mi", "Yv", "Fa", "Un", "SG", "Sc", "Mi", "Yv", "Ed", "Sas"});

inline constexpr auto kFaceValues =
    std::to_array<const char*>({"½d", "1d", "2d", "6d", "1/-", "5c", "10c", "25c", "1 Kr", "20 öre",
                                "50 Pf", "1 F", "2 Fr", "10 Lire", "100 Yen", "3¢"});

inline constexpr auto kColors = std::to_array<const char*>(
    {"red", "carmine", "blue", "ultramarine", "green", "olive", "black", "brown", "violet",
     "orange", "yellow", "grey", "lake", "rose", "multicolour", "bistre"});

inline constexpr auto kSubjects = std::to_array<const char*>(
    {"Queen Victoria", "King George V", "Washington", "Ceres", "Sower", "Helvetia seated",
     "Posthorn", "Numeral", "Coat of arms", "Map of the island", "Sailing ship", "Locomotive",
     "Airplane over mountains", "Cathedral", "Olympic rings", "Christmas angel"});

inline constexpr auto kPerforations = std::to_array<const char*>(
    {"perf 12", "perf 14", "perf 13½", "imperf", "rouletted", "perf 11 x 10½", "wmk crown, perf 14",
     "perf 12½, wmk multiple stars"});

inline constexpr auto kComments = std::to_array<const char*>(
    {"Nice centering", "Well centered, bright colour", "From the Müller estate",
     "Certificate by expert", "Duplicate, for trading", "Upgrade needed",
     "Bought at the club auction", "Plate number visible"});

inline constexpr auto kConditions = std::to_array<const char*>(
    {"Mint", "Used", "MNH", "Fine", "Very Fine", "Poor", "Good", "Superb"});

inline constexpr auto kGroups =
    std::to_array<const char*>({"Definitives", "Commemoratives", "Airmail", "Postage Due",
                                "Officials", "Semi-Postal", "Revenues", "Newspaper"});

inline constexpr auto kStampTypes =
    std::to_array<const char*>({"Single", "Pair", "Block of 4", "Strip of 3", "Sheet",
                                "Souvenir Sheet", "Booklet Pane", "Cover"});

inline constexpr auto kCancellations =
    std::to_array<const char*>({"CTO", "Postmarked", "Pen", "Uncancelled", "Manuscript", "Parcel"});

inline constexpr auto kTopics =
    std::to_array<const char*>({"Birds", "Ships", "Royalty", "Flowers", "Space", "Sports", "Art",
                                "Trains", "Maps", "Architecture", "Fauna", "Famous People"});

inline constexpr auto kGums =
    std::to_array<const char*>({"Original", "No Gum", "Regummed", "Partial"});

inline constexpr auto kFaults =
    std::to_array<const char*>({"Thin at top", "Short perf at left", "Crease", "Toned gum",
                                "Small tear at right", "Repaired corner, otherwise fine"});

inline constexpr auto kHinged = std::to_array<const char*>({"Yes", "No", "LH", "HH", "NH"});

inline constexpr auto kMiscellaneous = std::to_array<const char*>(
    {"Bought at auction, lot 1142, with original envelope and dealer's note",
     "Gift from a fellow collector", "Part of a mixed lot; needs identification",
     "Exhibited at the regional show, silver medal"});

inline constexpr auto kStorage =
    std::to_array<const char*>({"Box 7", "Stockbook A", "Safe", "Album Europe 2"});

}  // namespace bench::words
