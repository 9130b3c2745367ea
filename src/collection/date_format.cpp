#include "collection/date_format.h"

#include <QStringList>

namespace collection {

namespace {

// Type 1..12 -> index 0..11: separator cycles fastest, then order, then width.
int typeIndex(int type) {
    return DateFormat::isValidType(type) ? type - 1 : 0;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Digits of one part of typed date text, or -1 when the part is not 1..maxDigits digits.
int partValue(const QString& part, int maxDigits, int* digitCount) {
    const QString t = part.trimmed();
    if (t.isEmpty() || t.size() > maxDigits) return -1;
    int value = 0;
    for (QChar c : t) {
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (digitCount) *digitCount = static_cast<int>(t.size());
    return value;
}

DateFormat g_current;

}  // namespace

QChar DateFormat::separator() const {
    static constexpr char16_t kSeparators[] = {u'/', u'-', u'.'};
    if (yearFirst()) return QChar(u'-');
    return QChar(kSeparators[typeIndex(type) % 3]);
}

bool DateFormat::dayFirst() const {
    return typeIndex(type) % 6 >= 3;
}

bool DateFormat::fourDigitYear() const {
    return typeIndex(type) >= 6;
}

QString DateFormat::pattern() const {
    if (yearFirst()) return QStringLiteral("yyyy-mm-dd");
    const QString day = leadingZeros ? QStringLiteral("dd") : QStringLiteral("d");
    const QString month = leadingZeros ? QStringLiteral("mm") : QStringLiteral("m");
    const QString year = fourDigitYear() ? QStringLiteral("yyyy") : QStringLiteral("yy");
    const QString sep = separator();
    return dayFirst() ? day + sep + month + sep + year : month + sep + day + sep + year;
}

QString DateFormat::qtPattern() const {
    QString p = pattern();
    return p.replace(u'm', u'M');
}

QString DateFormat::format(const QDate& date) const {
    if (!date.isValid()) return {};
    if (yearFirst())
        return QStringLiteral("%1-%2-%3")
            .arg(date.year(), 4, 10, QLatin1Char('0'))
            .arg(twoDigits(date.month()), twoDigits(date.day()));
    const QString day = leadingZeros ? twoDigits(date.day()) : QString::number(date.day());
    const QString month = leadingZeros ? twoDigits(date.month()) : QString::number(date.month());
    const int y = date.year();
    const QString year = fourDigitYear() ? QStringLiteral("%1").arg(y, 4, 10, QLatin1Char('0'))
                                         : twoDigits(((y % 100) + 100) % 100);
    const QString sep = separator();
    return dayFirst() ? day + sep + month + sep + year : month + sep + day + sep + year;
}

std::optional<QDate> DateFormat::parse(const QString& text, int currentYear) const {
    const QStringList parts = text.split(separator());
    if (parts.size() != 3) return std::nullopt;
    // Positions of day, month and year among the three parts.
    const int dayAt = yearFirst() ? 2 : dayFirst() ? 0 : 1;
    const int monthAt = yearFirst() ? 1 : dayFirst() ? 1 : 0;
    const int yearAt = yearFirst() ? 0 : 2;
    const int day = partValue(parts[dayAt], 2, nullptr);
    const int month = partValue(parts[monthAt], 2, nullptr);
    int yearDigits = 0;
    int year = partValue(parts[yearAt], 4, &yearDigits);
    if (day < 0 || month < 0 || year < 0 || yearDigits == 3) return std::nullopt;
    if (yearDigits <= 2) year = expandTwoDigitYear(year, currentYear);
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1) return std::nullopt;
    return date;
}

std::optional<QDate> DateFormat::parse(const QString& text) const {
    return parse(text, QDate::currentDate().year());
}

int defaultDateFormatType(const QLocale& locale) {
    // The C locale (no language set up) keeps the program's own month-first order.
    if (locale.language() == QLocale::C) return 7;
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = pattern.indexOf(u'd');
    const qsizetype month = pattern.indexOf(u'M');
    return day >= 0 && month >= 0 && day < month ? 10 : 7;
}

QString dateFormatCaption(int type) {
    return DateFormat{type, true}.pattern();
}

int expandTwoDigitYear(int yy, int currentYear) {
    int year = currentYear - currentYear % 100 + yy;
    if (year > currentYear + 19) year -= 100;
    if (year < currentYear - 80) year += 100;
    return year;
}

const DateFormat& currentDateFormat() {
    return g_current;
}

bool applyDateFormat(int type, bool leadingZeros) {
    if (!DateFormat::isValidType(type)) return false;
    g_current = DateFormat{type, leadingZeros};
    return true;
}

}  // namespace collection
