// The short date format: thirteen types, with or without leading zeros.
//
// A type fixes the separator ("/", "-" or "."), the order of day and month and
// the year width (types 1..6 two digits, 7..13 four):
//   1 mm/dd/yy   2 mm-dd-yy   3 mm.dd.yy   4 dd/mm/yy    5 dd-mm-yy    6 dd.mm.yy
//   7 mm/dd/yyyy 8 mm-dd-yyyy 9 mm.dd.yyyy 10 dd/mm/yyyy 11 dd-mm-yyyy 12 dd.mm.yyyy
//   13 yyyy-mm-dd (ISO 8601: the year first, always with leading zeros)
// Without leading zeros day and month take one digit when they can ("m/d/yy").
//
// One process-wide format serves every date shown or read as text; the program
// sets it from the settings. Reading typed text is the inverse of showing: the
// text holds day, month and year in the format's order (year, month, day for 13), split by its
// separator; blanks around each part are ignored (masked entry boxes leave
// them), day and month may have one or two digits in either form, and the year
// may be written with one, two or four digits whatever the type. A short year is
// placed in the 100-year window that runs from 80 years before the current
// year to 19 years after it (in 2025: 45..99 are 1945..1999, 00..44 are
// 2000..2044), so recent purchases and the coming years both read as meant.
// Anything else, or a day that the month does not have, is not a date.
#pragma once

#include <QChar>
#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

namespace collection {

inline constexpr int kDateFormatTypeCount = 13;
inline constexpr int kIsoDateType = 13;

struct DateFormat {
    int type = 1;  // 1..13
    bool leadingZeros = false;

    static bool isValidType(int type) { return type >= 1 && type <= kDateFormatTypeCount; }

    QChar separator() const;
    bool dayFirst() const;
    bool fourDigitYear() const;
    bool yearFirst() const { return type == kIsoDateType; }
    // "mm/dd/yy", "d.m.yyyy", ... as listed above.
    QString pattern() const;
    // The same as a QDate::toString() format ("MM/dd/yy", "d.M.yyyy").
    QString qtPattern() const;

    // The date in this format; an invalid (blank) date gives empty text.
    QString format(const QDate& date) const;
    // The date typed as `text`, two-digit years placed around `currentYear`.
    std::optional<QDate> parse(const QString& text, int currentYear) const;
    std::optional<QDate> parse(const QString& text) const;  // around today's year

    bool operator==(const DateFormat&) const = default;
};

// The type a new installation starts with: four-digit years, the day first where `locale`'s
// short date puts it first ("dd/mm/yyyy", type 10), otherwise (and for the C locale)
// "mm/dd/yyyy" (type 7).
int defaultDateFormatType(const QLocale& locale);

// Menu caption of a type: its pattern with leading zeros ("mm/dd/yy").
QString dateFormatCaption(int type);

// The four-digit year of two-digit year `yy` (0..99) in the window around
// `currentYear` described above.
int expandTwoDigitYear(int yy, int currentYear);

// The process-wide format; type 1 without leading zeros until set.
const DateFormat& currentDateFormat();
// Makes (type, leadingZeros) the current format. A type outside 1..13 leaves
// the current format unchanged and returns false.
bool applyDateFormat(int type, bool leadingZeros);

}  // namespace collection
